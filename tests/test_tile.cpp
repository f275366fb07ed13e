#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "CSurface.h"
#include "Tile.h"
#include "gameSettings.h"
#include "testSupport.h"

namespace {

class TileTest : public ::testing::Test {
protected:
    void SetUp() override { Tile::initClip(); }

    // A lone built floor on the ground with the given neighbour mask.
    static void floorWithMask(Tile& tile, int mask) {
        tile.init(0);
        tile.buildFloor(true, mask, true);
    }
};

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

}  // namespace

TEST_F(TileTest, ProjectionPlacesKnownCellsAndRaisesEachStorey) {
    EXPECT_EQ(point(-64, 0, 0), Tile::convertToScreen(0, 0, 0, 0));
    EXPECT_EQ(point(64, 0, 0), Tile::convertToScreen(3, 1, 0, -128));
    Tile upper(4, 2, 3);
    const point ground = Tile::convertToScreen(4, 2, 0, 0);
    EXPECT_EQ(ground.x, upper.getScreenPosition().x);
    EXPECT_EQ(ground.y - 192, upper.getScreenPosition().y) << "a storey is drawn 64 pixels above the one below";
}

TEST_F(TileTest, OnlyGroundTilesOfAKnownTypeStartBuildableAndEachTypeHasItsImage) {
    const int expectedClip[4][2] = {{0, 0}, {0, 64}, {128, 0}, {128, 64}};
    for (int type = 0; type <= 3; ++type) {
        Tile ground(1, 1, 0), upper(1, 1, 1);
        ground.init(type);
        upper.init(type);
        EXPECT_TRUE(ground.isBuildable()) << "type " << type;
        EXPECT_FALSE(upper.isBuildable()) << "type " << type << " above the ground";
        EXPECT_EQ(expectedClip[type][0], ground.getClip().x) << "type " << type;
        EXPECT_EQ(expectedClip[type][1], ground.getClip().y) << "type " << type;
    }
    Tile unknown(0, 0, 0);
    unknown.init(4);
    EXPECT_FALSE(unknown.isBuildable());
}

TEST_F(TileTest, WallsFollowWhichNeighboursHaveFloors) {
    Tile tile(5, 5, 0);
    const point s = tile.getScreenPosition();
    struct Case {
        int mask;
        bool front, back;
        short frontIndex, frontX, backIndex, backX;
    } cases[] = {
        {0, true, true, 5, 0, 2, 0},                                   // lone floor: full walls
        {Tile::xPlus | Tile::yPlus | Tile::xMinus | Tile::yMinus, false, false, 0, 0, 0, 0},
        {Tile::xPlus | Tile::yPlus, false, true, 0, 0, 2, 0},          // floored in front: no front wall
        {Tile::xPlus, true, true, 3, 0, 2, 0},                         // left half of the front wall
        {Tile::yPlus, true, true, 4, 64, 2, 0},                        // right half, one cell-half right
        {Tile::xMinus, true, true, 5, 0, 1, 64},                       // right half of the back wall
        {Tile::yMinus, true, true, 5, 0, 0, 0},                        // left half of the back wall
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mask);
        floorWithMask(tile, c.mask);
        EXPECT_EQ(c.front, (tile.getFlags() & Tile::frontWallBit) != 0);
        EXPECT_EQ(c.back, (tile.getFlags() & Tile::backWallBit) != 0);
        if (c.front) {
            EXPECT_EQ(c.frontIndex, tile.getFrontWallClipIndex());
            EXPECT_EQ(point(s.x + c.frontX, s.y - 32, 0), tile.getFrontWallPosition());
        }
        if (c.back) {
            EXPECT_EQ(c.backIndex, tile.getBackWallClipIndex());
            EXPECT_EQ(point(s.x + c.backX, s.y - 64, 0), tile.getBackWallPosition());
        }
    }
}

TEST_F(TileTest, NeighbourComingAndGoingRestoresTheWalls) {
    Tile tile(2, 2, 0);
    floorWithMask(tile, Tile::yPlus);
    const int flagsBefore = tile.getFlags();
    tile.addFloor(true, Tile::xPlus);
    EXPECT_EQ(Tile::yPlus | Tile::xPlus, tile.getNeighbourFloors());
    EXPECT_FALSE(tile.getFlags() & Tile::frontWallBit);
    tile.addFloor(false, Tile::xPlus);
    EXPECT_EQ(Tile::yPlus, tile.getNeighbourFloors());
    EXPECT_EQ(flagsBefore, tile.getFlags());
    EXPECT_EQ(4, tile.getFrontWallClipIndex());
}

TEST_F(TileTest, BulldozedFloorShowsPlainGroundAndStaysDestructable) {
    Tile tile(3, 3, 0);
    floorWithMask(tile, 0);
    tile.placeShadow();
    EXPECT_FALSE(tile.getFlags() & Tile::shadowBit) << "a built floor takes no shadow";
    tile.buildFloor(false, 0, true);
    EXPECT_EQ(Tile::PLAIN, tile.getType());
    EXPECT_FALSE(tile.hasFloor());
    EXPECT_TRUE(tile.floorIsDestructable());
    EXPECT_EQ(0, tile.getFlags() & (Tile::frontWallBit | Tile::backWallBit));
    tile.placeShadow();
    EXPECT_TRUE(tile.getFlags() & Tile::shadowBit);
}

TEST_F(TileTest, RecordRoundTripsAndDamagedRecordsAreTamed) {
    Tile original(2, 3, 1);
    original.init(0);
    original.buildFloor(true, Tile::xPlus | Tile::yMinus, true);
    original.turnTileOff();
    FILE* file = tmpfile();
    ASSERT_NE(nullptr, file);
    ASSERT_TRUE(original.save(file));
    fputs("7 255 65535\n", file);
    rewind(file);

    Tile copy(2, 3, 1);
    copy.init(0);
    ASSERT_TRUE(copy.load(file));
    EXPECT_EQ(original.getType(), copy.getType());
    EXPECT_EQ(original.getNeighbourFloors(), copy.getNeighbourFloors());
    EXPECT_EQ(original.getFlags(), copy.getFlags());
    EXPECT_EQ(original.getBackWallPosition(), copy.getBackWallPosition()) << "walls are recomputed on load";

    ASSERT_TRUE(copy.load(file));
    EXPECT_EQ(Tile::FLOOR, copy.getType()) << "an unknown type must keep the tile's own";
    EXPECT_EQ(15, copy.getNeighbourFloors());
    EXPECT_EQ(Tile::knownFlags & ~(Tile::frontWallBit | Tile::backWallBit), copy.getFlags())
        << "unknown flag bits must be dropped, and a floor closed in on all sides shows no walls";

    const int flagsBefore = copy.getFlags();
    testing_support::CapturedOutput out(stdout);
    EXPECT_TRUE(copy.load(file)) << "a missing record still counts as loaded";
    EXPECT_EQ("TILE LOAD ERROR: x: 2 y: 3 z: 1", out.text());
    EXPECT_EQ(flagsBefore, copy.getFlags());
    fclose(file);
}

TEST_F(TileTest, TileOffHidesTheImageButNotTheGridOutline) {
    gameSettings* settings = gameSettings::Instance();
    const bool gridWasOn = settings->isGridOn();
    const point camera(300, 200, 0);
    Tile tile(2, 2, 0);
    tile.init(1);
    auto render = [&](bool tileOff, bool grid) {
        if (settings->isGridOn() != grid) settings->toggleGrid();
        if (tileOff) tile.turnTileOff(); else tile.turnTileOn();
        testing_support::fillScreen(10, 200, 30);
        tile.OnRender(camera);
        return screenPixels();
    };
    testing_support::fillScreen(10, 200, 30);
    const std::vector<Uint32> blank = screenPixels();
    const point s = tile.getScreenPosition();
    CSurface::OnDraw(0, Tile::cursorSheet, camera.x + s.x, camera.y + s.y, &Tile::cursorClip[2]);
    const std::vector<Uint32> outlineOnly = screenPixels();

    EXPECT_NE(outlineOnly, blank) << "the grid outline image should show on the background";
    EXPECT_EQ(blank, render(true, false)) << "a hidden tile without grid draws nothing";
    EXPECT_EQ(outlineOnly, render(true, true)) << "a hidden tile still draws its grid outline, and only that";
    EXPECT_NE(outlineOnly, render(false, true)) << "a visible tile draws its image as well";
    if (settings->isGridOn() != gridWasOn) settings->toggleGrid();
}
