#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "CSurface.h"
#include "Elevator.h"
#include "Map.h"
#include "Room.h"
#include "RoomDefs.h"
#include "Tile.h"
#include "gameSettings.h"
#include "keyModifiers.h"
#include "protocol.h"
#include "sheetGeometry.h"
#include "testSupport.h"

namespace {

// Puts the cursor on a cell the way a mouse over the cell's centre would.
void aim(Map& map, int x, int y, int z) {
    const point box = Tile::convertToScreen(x, y, 0, -64 * z);
    map.setCursor(point(0, 0, z), box.x + 64, box.y + 32);
}

std::string saved(Map& map) {
    FILE* file = tmpfile();
    EXPECT_TRUE(map.save(file));
    std::string text(static_cast<size_t>(ftell(file)), '\0');
    rewind(file);
    EXPECT_EQ(text.size(), fread(&text[0], 1, text.size(), file));
    fclose(file);
    return text;
}

bool loadText(Map& map, const std::string& text) {
    FILE* file = tmpfile();
    fputs(text.c_str(), file);
    rewind(file);
    const bool ok = map.load(file);
    fclose(file);
    return ok;
}

std::vector<Uint32> screenPixels() {
    SDL_Surface* screen = CSurface::slot(slots::WINDOW);
    SDL_LockSurface(screen);
    std::vector<Uint32> pixels;
    for (int y = 0; y < screen->h; ++y) {
        const auto* row =
            reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(screen->pixels) + y * screen->pitch);
        pixels.insert(pixels.end(), row, row + screen->w);
    }
    SDL_UnlockSurface(screen);
    return pixels;
}

class MapTest : public ::testing::Test {
protected:
    void SetUp() override {
        map.loadMap("", 10);
    }
    void TearDown() override {
        map.OnCleanup();
        clearRoomDefs();
    }
    std::set<std::pair<int, int>> wallsOff(int z) const {
        std::set<std::pair<int, int>> off;
        for (int x = 0; x < 20; ++x)
            for (int y = 0; y < 20; ++y)
                if (!map.tileAt(x, y, z)->isWallOn()) off.insert({x, y});
        return off;
    }

    Map map;
};

// Pixel tests compare renders with and without the element in question, never
// fixed colours, so that new artwork does not break them.
class TowerDrawing : public MapTest {
protected:
    void SetUp() override {
        MapTest::SetUp();
        ASSERT_TRUE(testing_support::loadShippedRoomDefs()) << "the four room definition files in assets/ should load";
        ceilings = settings->isCeilingVisible();
        grid = settings->isGridOn();
    }
    void TearDown() override {
        if (settings->isCeilingVisible() != ceilings) settings->toggleCeilings();
        if (settings->isGridOn() != grid) settings->toggleGrid();
        if (!settings->areRoomsOn()) settings->toggleRooms();
        MapTest::TearDown();
    }
    std::vector<Uint32> render(const point& camera) {
        testing_support::fillScreen(20, 240, 20);
        map.OnRender(camera, false, *settings);
        return screenPixels();
    }
    static std::vector<Uint32> band(const std::vector<Uint32>& pixels, int x, int top, int bottom) {
        std::vector<Uint32> out;
        for (int y = top; y < bottom; ++y)
            out.insert(out.end(), pixels.begin() + (y * 800 + x), pixels.begin() + (y * 800 + x + 128));
        return out;
    }

    gameSettings view;
    gameSettings* settings = &view;
    bool ceilings = true, grid = false;
};

}  // namespace

TEST_F(MapTest, EveryCellCentreSelectsThatCellOnEveryStorey) {
    EXPECT_EQ(point(-64, 0, 0), Tile::convertToScreen(0, 0, 0, 0));
    EXPECT_EQ(point(64, 0, 0), Tile::convertToScreen(3, 1, 0, -128));
    for (int z = 0; z < 10; ++z)
        for (int x = 0; x < 20; ++x)
            for (int y = 0; y < 20; ++y) {
                aim(map, x, y, z);
                ASSERT_EQ(point(x, y, z), map.getCursorPosition()) << "cell " << x << "," << y << "," << z;
            }
}

TEST_F(MapTest, MouseOutsideTheGridSelectsTheNearestEdgeCell) {
    const int mouse[][4] = {{0, 32, 0, 0},    {64, 64, 1, 0},       {-64, 64, 0, 1},     {0, -10, 0, 0},
                            {-200, 10, 0, 1}, {5000, 5000, 19, 19}, {-5000, -5000, 0, 0}};
    for (const auto& m : mouse) {
        map.setCursor(point(0, 0, 0), m[0], m[1]);
        EXPECT_EQ(point(m[2], m[3], 0), map.getCursorPosition()) << "mouse " << m[0] << "," << m[1];
    }
    map.setCursor(point(0, 0, 3), 64, 64 - 192);
    EXPECT_EQ(point(1, 0, 3), map.getCursorPosition()) << "each storey up is drawn 64 pixels higher";
}

TEST_F(MapTest, WallsInFrontOfTheCursorHideOneMouseEventLate) {
    const std::set<std::pair<int, int>> none, inFrontOf55{{6, 5}, {6, 6}, {5, 6}}, inFrontOf82{{9, 2}, {9, 3}, {8, 3}};
    aim(map, 5, 5, 0);
    EXPECT_EQ(none, wallsOff(0)) << "the first event on a new cell leaves the walls as they were";
    aim(map, 5, 5, 0);
    EXPECT_EQ(inFrontOf55, wallsOff(0));
    aim(map, 8, 2, 0);
    EXPECT_EQ(inFrontOf55, wallsOff(0));
    aim(map, 8, 2, 0);
    EXPECT_EQ(inFrontOf82, wallsOff(0)) << "the walls of the previous cell come back as the new ones go";
}

// Building floors upstairs, a click on each cell: the cursor crosses cells in
// every direction, and no wall may stay hidden once it has moved on.
TEST_F(MapTest, NoWallStaysHiddenBehindTheCursorOnAnyStorey) {
    keyModifiers::hold(KMOD_LALT);  // mid-air floors, as on a roof
    auto floorAt = [&](int x, int y, int z) {
        aim(map, x, y, z);
        aim(map, x, y, z);  // the click's own event
        map.buildFloor();
    };
    for (int x = 2; x <= 7; ++x)
        for (int y = 2; y <= 7; ++y) floorAt(x, y, 0);
    for (int x = 5; x <= 7; ++x)
        for (int y = 6; y <= 7; ++y) floorAt(x, y, 1);
    floorAt(5, 5, 1);
    floorAt(6, 5, 1);
    keyModifiers::release();
    aim(map, 15, 15, 1);
    aim(map, 15, 15, 1);
    const std::set<std::pair<int, int>> inFrontOf1515{{16, 15}, {16, 16}, {15, 16}};
    EXPECT_EQ(inFrontOf1515, wallsOff(1)) << "the back wall of (7, 6) vanished once";
    EXPECT_TRUE(wallsOff(0).empty()) << "walls downstairs come back when the cursor leaves the storey";
}

TEST_F(MapTest, SaveLoadSaveGivesTheSameText) {
    const std::string fresh = saved(map);
    EXPECT_EQ(0u, fresh.find("10 20 20\n0 0 4\n")) << "header, then the first ground tile: empty and buildable";
    EXPECT_EQ("0 0 0\n", fresh.substr(fresh.size() - 6)) << "upper storeys start as empty air";
    for (int i = 0; i < 6; ++i) {
        aim(map, 3 + i % 3, 4 + i / 3, 0);
        map.buildFloor();
    }
    aim(map, 4, 4, 1);
    map.buildFloor();
    const std::string built = saved(map);
    Map other;
    other.loadMap("", 10);
    ASSERT_TRUE(loadText(other, built));
    EXPECT_EQ(built, saved(other));
}

TEST_F(MapTest, LoadRefusesAGridOfAnotherShapeAndKeepsTheTiles) {
    aim(map, 2, 2, 0);
    map.buildFloor();
    const std::string before = saved(map);
    for (const char* header : {"11 20 20\n", "10 21 20\n", "10 20 0\n", "0 20 20\n"}) {
        bool loaded;
        std::string report;
        {
            testing_support::CapturedOutput out(stdout);
            loaded = loadText(map, std::string(header) + "2 0 7\n");
            report = out.text();
        }
        EXPECT_FALSE(loaded) << header;
        EXPECT_NE(std::string::npos, report.find('\n')) << "a refused file is reported on a line";
        EXPECT_EQ(before, saved(map)) << header;
    }
}

TEST_F(TowerDrawing, HiddenTileStillShowsItsGridOutline) {
    const point camera(300, 200, 0);
    Tile tile(2, 2, 0);
    tile.init(1);
    const point at(camera.x + tile.getScreenPosition().x, camera.y + tile.getScreenPosition().y, 0);
    auto draw = [&](bool grid, bool hidden) {
        if (settings->isGridOn() != grid) settings->toggleGrid();
        if (hidden)
            tile.turnTileOff();
        else
            tile.turnTileOn();
        testing_support::fillScreen(20, 240, 20);
        tile.OnRender(camera, *settings);
        return screenPixels();
    };
    testing_support::fillScreen(20, 240, 20);
    const auto blank = screenPixels();
    CSurface::OnDraw(slots::WINDOW, Tile::cursorSheet, at.x, at.y, &sheet::cursor::grid);
    const auto outlineOnly = screenPixels();
    EXPECT_EQ(blank, draw(false, true)) << "a hidden tile without grid draws nothing";
    EXPECT_EQ(outlineOnly, draw(true, true)) << "a hidden tile still draws its grid outline, and only that";
    EXPECT_NE(outlineOnly, draw(true, false)) << "a visible tile draws its image as well";
}

TEST_F(TowerDrawing, StoreysBelowTheViewedOneShowOnlyTheirFrontWalls) {
    if (settings->isCeilingVisible()) settings->toggleCeilings();  // the roof above would cover the probe
    const point camera(400, 100, 0), above(400, 100, 1);
    const point s = map.tileAt(5, 5, 0)->getScreenPosition();
    const int x = camera.x + s.x, y = camera.y + s.y;
    const auto plainViewed = render(camera), plainBelow = render(above);
    aim(map, 5, 5, 0);
    ASSERT_EQ(FloorResult::BUILT, map.buildFloor());
    const auto builtViewed = render(camera), builtBelow = render(above);
    // Rows above the floor's front wall hold only its back wall; the diamond's rows hold the front wall.
    EXPECT_NE(band(plainViewed, x, y - 64, y - 32), band(builtViewed, x, y - 64, y - 32))
        << "viewed, the back wall shows";
    EXPECT_EQ(band(plainBelow, x, y - 64, y - 32), band(builtBelow, x, y - 64, y - 32)) << "from above, no back wall";
    EXPECT_NE(band(plainBelow, x, y, y + 64), band(builtBelow, x, y, y + 64)) << "from above, the front wall shows";
}

TEST_F(TowerDrawing, RoomIsDrawnOverItsOwnTile) {
    aim(map, 15, 0, 0);
    map.buildFloor();
    map.buildLobby();
    aim(map, 5, 5, 0);
    map.buildFloor();
    ASSERT_EQ(BuildResult::BUILT, map.buildRoom(2));
    const point camera(400, 0, 0);
    Room* room = map.roomAt(5, 5, 0);
    auto roomAlone = [&](Uint8 shade) {
        testing_support::fillScreen(shade, shade, shade);
        room->OnRender(camera, 5, 5);
        return screenPixels();
    };
    const auto onBlack = roomAlone(0), onWhite = roomAlone(255), full = render(camera);
    settings->toggleRooms();
    const auto withoutRoom = render(camera);
    settings->toggleRooms();

    // From the picture's top to the cell's middle no later cell overlaps the room.
    const point s = map.tileAt(5, 5, 0)->getScreenPosition();
    int contested = 0;
    for (int y = camera.y + s.y - 64; y < camera.y + s.y + 32; ++y)
        for (int x = camera.x + s.x; x < camera.x + s.x + 128; ++x) {
            const size_t i = static_cast<size_t>(y * 800 + x);
            if (onBlack[i] != onWhite[i] || withoutRoom[i] == onBlack[i]) continue;  // see-through, or no contrast
            ++contested;
            ASSERT_EQ(onBlack[i], full[i]) << "the cell's own tile or wall covers its room at " << x << "," << y;
        }
    EXPECT_GT(contested, 100) << "the probe needs pixels where the room and its cell differ";
}

TEST_F(TowerDrawing, ShaftIsRaisedOnlyByTheStoreysAboveItsOwn) {
    auto draw = [](Elevator& elevator, const point& camera, int x, int y) {
        testing_support::fillScreen(20, 240, 20);
        elevator.OnRender(camera, x, y);
        return screenPixels();
    };
    Elevator ground(point(5, 5, 0), 1, 0, 1), high(point(5, 5, 2), 1, 0, 2);
    const auto groundSeen = draw(ground, point(300, 250, 0), 5, 5);
    EXPECT_EQ(groundSeen, draw(high, point(300, 250 + 128, 2), 5, 5))
        << "seen from its own storey, a shaft two storeys up looks like a ground shaft seen from the ground";
    EXPECT_NE(groundSeen, draw(ground, point(300, 250, 1), 5, 5)) << "seen from a storey up, the shaft rises";
    testing_support::fillScreen(20, 240, 20);
    const auto blank = screenPixels();
    EXPECT_EQ(blank, draw(ground, point(300, 250, 0), 4, 4)) << "other cells of the shaft draw neither shaft nor car";
}
