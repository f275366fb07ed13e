#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "Tile.h"
#include "testSupport.h"

TEST(TileTest, WallsFollowWhichNeighboursHaveFloors) {
    Tile tile(5, 5, 0);
    const point s = tile.getScreenPosition();
    const int all = Tile::xPlus | Tile::yPlus | Tile::xMinus | Tile::yMinus;
    const struct {
        int mask;
        short frontIndex, frontX, backIndex, backX;  // index -1: no wall
    } cases[] = {
        {0, 5, 0, 2, 0},                           // a lone floor shows both full walls
        {all, -1, 0, -1, 0},                       // closed in: no walls
        {Tile::xPlus | Tile::yPlus, -1, 0, 2, 0},  // floored in front: no front wall
        {Tile::xPlus, 3, 0, 2, 0},                 // left half of the front wall
        {Tile::yPlus, 4, 64, 2, 0},                // right half, drawn half a cell right
        {Tile::xMinus, 5, 0, 1, 64},               // right half of the back wall
        {Tile::yMinus, 5, 0, 0, 0},                // left half of the back wall
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mask);
        tile.init(0);
        tile.buildFloor(true, c.mask, true);
        ASSERT_EQ(c.frontIndex >= 0, (tile.getFlags() & Tile::frontWallBit) != 0);
        ASSERT_EQ(c.backIndex >= 0, (tile.getFlags() & Tile::backWallBit) != 0);
        if (c.frontIndex >= 0) {
            EXPECT_EQ(c.frontIndex, tile.getFrontWallClipIndex());
            EXPECT_EQ(point(s.x + c.frontX, s.y - 32, 0), tile.getFrontWallPosition());
        }
        if (c.backIndex >= 0) {
            EXPECT_EQ(c.backIndex, tile.getBackWallClipIndex());
            EXPECT_EQ(point(s.x + c.backX, s.y - 64, 0), tile.getBackWallPosition());
        }
    }
}

TEST(TileTest, RecordRoundTripsAndDamagedRecordsAreTamed) {
    Tile original(2, 3, 1), copy(2, 3, 1);
    original.init(0);
    original.buildFloor(true, Tile::xPlus | Tile::yMinus, true);
    original.turnTileOff();
    copy.init(0);
    FILE* file = tmpfile();
    ASSERT_TRUE(original.save(file));
    fputs("7 255 65535\n", file);
    rewind(file);

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
    bool loaded;
    std::string report;
    {
        testing_support::CapturedOutput out(stdout);
        loaded = copy.load(file);
        report = out.text();
    }
    EXPECT_FALSE(loaded) << "a missing record is a failed load";
    EXPECT_EQ("TILE LOAD ERROR: x: 2 y: 3 z: 1", report);
    EXPECT_EQ(flagsBefore, copy.getFlags());
    fclose(file);
}
