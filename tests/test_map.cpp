#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "CSurface.h"
#include "Map.h"
#include "Room.h"
#include "RoomDefs.h"
#include "Tile.h"
#include "gameSettings.h"
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
    std::string text;
    rewind(file);
    for (int c; (c = fgetc(file)) != EOF;) text += static_cast<char>(c);
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
    SDL_Surface* screen = CSurface::slot(0);
    SDL_LockSurface(screen);
    std::vector<Uint32> pixels;
    for (int y = 0; y < screen->h; ++y) {
        const Uint32* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(screen->pixels) + y * screen->pitch);
        pixels.insert(pixels.end(), row, row + screen->w);
    }
    SDL_UnlockSurface(screen);
    return pixels;
}

class MapTest : public ::testing::Test {
protected:
    void SetUp() override {
        Tile::initClip();
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

}  // namespace

TEST_F(MapTest, EveryCellCentreSelectsThatCellOnEveryStorey) {
    for (int z = 0; z < 10; ++z)
        for (int x = 0; x < 20; ++x)
            for (int y = 0; y < 20; ++y) {
                aim(map, x, y, z);
                ASSERT_EQ(point(x, y, z), map.getCursorPosition()) << "cell " << x << "," << y << "," << z;
            }
}

TEST_F(MapTest, MouseOutsideTheGridSelectsTheNearestEdgeCell) {
    const point ground(0, 0, 0);
    const int mouse[][4] = {{0, 32, 0, 0}, {64, 64, 1, 0}, {-64, 64, 0, 1}, {0, -10, 0, 0}, {-200, 10, 0, 1},
                            {5000, 5000, 19, 19}, {-5000, -5000, 0, 0}};
    for (const auto& m : mouse) {
        map.setCursor(ground, m[0], m[1]);
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
    EXPECT_EQ(inFrontOf82, wallsOff(0)) << "the walls of the previous cell come back when the new ones go";
}

TEST_F(MapTest, FootprintReachingPastTheGridEdgeIsRefused) {
    for (int x = 0; x <= 1; ++x)
        for (int y = 3; y <= 5; ++y) {
            aim(map, x, y, 0);
            ASSERT_TRUE(map.buildFloor());
        }
    aim(map, 1, 5, 0);
    map.changeCursorSize(2, 3);
    EXPECT_FALSE(map.checkCursor()) << "three cells along x from x 1 reach x -1";
    map.rotateCursor();
    EXPECT_TRUE(map.checkCursor()) << "turned, the footprint is two floored columns of three cells";
    map.changeCursorSize(4, 2);
    EXPECT_FALSE(map.checkCursor()) << "(1, 2) has no floor";
}

TEST_F(MapTest, NewMapSavesStripedGroundAndEmptyStoreys) {
    const std::string text = saved(map);
    EXPECT_EQ(0u, text.find("10 20 20\n0 0 4\n"));
    EXPECT_EQ(1 + 4000, std::count(text.begin(), text.end(), '\n'));
    const size_t xOne = text.find('\n') + 1 + 20 * 6;  // 20 records of "0 0 4\n" for x 0
    EXPECT_EQ("1 0 4\n", text.substr(xOne, 6)) << "odd columns of the ground are plain";
    EXPECT_EQ("0 0 0\n", text.substr(text.size() - 6)) << "upper storeys start as empty air";
}

TEST_F(MapTest, SaveLoadSaveGivesTheSameText) {
    for (int i = 0; i < 6; ++i) {
        aim(map, 3 + i % 3, 4 + i / 3, 0);
        map.buildFloor();
    }
    aim(map, 4, 4, 1);
    map.buildFloor();
    const std::string first = saved(map);
    Map other;
    other.loadMap("", 10);
    ASSERT_TRUE(loadText(other, first));
    EXPECT_EQ(first, saved(other));
}

TEST_F(MapTest, LoadRefusesAGridOfAnotherShapeAndKeepsTheTiles) {
    aim(map, 2, 2, 0);
    map.buildFloor();
    const std::string before = saved(map);
    for (const char* header : {"11 20 20\n", "10 21 20\n", "10 20 0\n", "0 20 20\n"}) {
        testing_support::CapturedOutput out(stdout);
        EXPECT_FALSE(loadText(map, std::string(header) + "2 0 7\n")) << header;
        EXPECT_NE(std::string::npos, out.text().find('\n')) << "a refused file should be reported on one line";
        EXPECT_EQ(before, saved(map)) << header;
    }
}

TEST_F(MapTest, ShortFileLoadsTheRecordsItHasAndReportsTheRest) {
    std::string text = "10 20 20\n";
    for (int i = 0; i < 100; ++i) text += "2 0 7\n";
    testing_support::CapturedOutput out(stdout);
    EXPECT_TRUE(loadText(map, text));
    const std::string report = out.text();
    EXPECT_EQ(Tile::FLOOR, map.tileAt(4, 19, 0)->getType()) << "the 100th record is storey 0, x 4, y 19";
    EXPECT_EQ(Tile::PLAIN, map.tileAt(5, 0, 0)->getType()) << "tiles without a record keep their state";
    EXPECT_EQ(0u, report.find("TILE LOAD ERROR: x: 5 y: 0 z: 0"));
    size_t errors = 0;
    for (size_t at = report.find("TILE LOAD ERROR"); at != std::string::npos; at = report.find("TILE LOAD ERROR", at + 1))
        ++errors;
    EXPECT_EQ(3900u, errors);
}

TEST_F(MapTest, StoreysBelowTheViewedOneShowOnlyTheirFrontWalls) {
    gameSettings* settings = gameSettings::Instance();
    if (settings->isCeilingVisible()) settings->toggleCeilings();  // the roof above would cover the probe
    Map plain;
    plain.loadMap("", 10);
    aim(map, 5, 5, 0);
    ASSERT_TRUE(map.buildFloor());
    const point s = map.tileAt(5, 5, 0)->getScreenPosition();
    const int cx = 400, cy = 100;
    auto render = [&](Map& m, int storey) {
        testing_support::fillScreen(0, 0, 0);
        m.OnRender(point(cx, cy, storey), false);
        return screenPixels();
    };
    // Rows above the front wall hold only the back wall; rows of the diamond hold the front wall.
    auto band = [&](const std::vector<Uint32>& pixels, int top, int bottom) {
        std::vector<Uint32> out;
        for (int y = cy + s.y + top; y < cy + s.y + bottom; ++y)
            for (int x = cx + s.x; x < cx + s.x + 128; ++x) out.push_back(pixels[y * 800 + x]);
        return out;
    };
    const auto builtBelow = render(map, 1), plainBelow = render(plain, 1);
    const auto builtViewed = render(map, 0), plainViewed = render(plain, 0);
    settings->toggleCeilings();
    EXPECT_NE(band(builtViewed, -64, -32), band(plainViewed, -64, -32)) << "on its own storey the back wall shows";
    EXPECT_EQ(band(builtBelow, -64, -32), band(plainBelow, -64, -32)) << "from above, no back wall";
    EXPECT_NE(band(builtBelow, 0, 64), band(plainBelow, 0, 64)) << "from above, the front wall shows";
}

TEST_F(MapTest, RoomIsDrawnOverItsOwnTile) {
    clearRoomDefs();
    loadRoomDefs();
    aim(map, 15, 0, 0);
    map.buildFloor();
    map.buildLobby();
    aim(map, 5, 5, 0);
    map.buildFloor();
    ASSERT_EQ(0, map.buildRoom(2));
    const point camera(400, 0, 0);
    Room* room = map.roomAt(5, 5, 0);
    auto roomAlone = [&](Uint8 shade) {
        testing_support::fillScreen(shade, shade, shade);
        room->OnRender(camera, 5, 5);
        return screenPixels();
    };
    auto tower = [&] {
        testing_support::fillScreen(0, 0, 0);
        map.OnRender(camera, false);
        return screenPixels();
    };
    const auto onBlack = roomAlone(0), onWhite = roomAlone(255), full = tower();
    gameSettings::Instance()->toggleRooms();
    const auto withoutRoom = tower();
    gameSettings::Instance()->toggleRooms();

    // Rows from the picture's top to the cell's middle: no later cell overlaps them.
    const point s = map.tileAt(5, 5, 0)->getScreenPosition();
    int contested = 0;
    for (int y = camera.y + s.y - 64; y < camera.y + s.y + 32; ++y)
        for (int x = camera.x + s.x; x < camera.x + s.x + 128; ++x) {
            const size_t i = static_cast<size_t>(y) * 800 + static_cast<size_t>(x);
            if (onBlack[i] != onWhite[i] || withoutRoom[i] == onBlack[i]) continue;  // see-through or no contrast
            ++contested;
            ASSERT_EQ(onBlack[i], full[i]) << "the cell's own tile or wall covers its room at " << x << "," << y;
        }
    EXPECT_GT(contested, 100) << "the probe needs pixels where the room and its cell differ";
}
