#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "BasicRoom.h"
#include "Elevator.h"
#include "Lobby.h"
#include "Map.h"
#include "RoomDefs.h"
#include "Tile.h"
#include "keyModifiers.h"
#include "testSupport.h"
#include "ticks.h"

namespace {

// Indices of the game's own definitions once loadRoomDefs has run.
enum Def { ELEVATOR_DEF = 1, SINGLE = 2, SUITE = 3, OFFICE = 4 };

class TowerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testing_support::loadShippedRoomDefs()) << "the four room definition files in assets/ should load";
        map.loadMap("", 10);
        keyModifiers::release();
        ticks::freeze(50000);
    }
    void TearDown() override {
        map.OnCleanup();
        clearRoomDefs();
        keyModifiers::release();
        ticks::thaw();
    }

    void aim(int x, int y, int z) {
        const point box = Tile::convertToScreen(x, y, 0, -64 * z);
        map.setCursor(point(0, 0, z), box.x + 64, box.y + 32);
    }
    FloorResult pourAt(int x, int y, int z) {
        aim(x, y, z);
        return map.buildFloor();
    }
    bool floorAt(int x, int y, int z) { return pourAt(x, y, z) == FloorResult::BUILT; }
    void floors(int x0, int y0, int x1, int y1, int z) {
        for (int x = x0; x <= x1; ++x)
            for (int y = y0; y <= y1; ++y)
                floorAt(x, y, z);
    }
    bool lobbyAt(int x, int y, int z) {
        aim(x, y, z);
        return map.buildLobby();
    }
    bool bulldozeAt(int x, int y, int z) {
        aim(x, y, z);
        return map.bulldoze();
    }
    // Builds as the game does: the definition's sizeX spans the cursor along y.
    BuildResult place(int def, int x, int y, int z, short kind = 0) {
        const aRoom& room = rooms[def];
        map.changeCursorSize(static_cast<short>(room.sizeX), static_cast<short>(room.sizeY));
        aim(x, y, z);
        if (!kind) kind = room.type;
        const BuildResult result = kind == BASIC ? map.buildRoom(def) : map.buildTransportation(def, kind);
        map.changeCursorSize(1, 1);
        return result;
    }
    Tile* tile(int x, int y, int z) { return map.tileAt(x, y, z); }
    const std::vector<Room*>& links(int x, int y, int z) {
        return dynamic_cast<BasicRoom&>(*map.roomAt(x, y, z)).getConnectedRooms();
    }
    double month() {
        double total = 0;
        for (short day = 1; day <= 14; ++day)
            total += map.collectRent(day);
        return total;
    }

    Map map;
};

// Every cell's room is counted by exactly the cells that point at it, the
// lobby is one of them, and no room remembers a connection to a released room.
void expectOwnershipConsistent(const Map& map, int step) {
    ASSERT_EQ(nullptr, map.roomCountProblem()) << "step " << step;
    std::set<Room*> held;
    for (int z = 0; z < 10; ++z)
        for (int x = 0; x < 20; ++x)
            for (int y = 0; y < 20; ++y)
                if (Room* room = map.roomAt(x, y, z)) held.insert(room);
    for (Room* room : held) {
        auto* basic = dynamic_cast<BasicRoom*>(room);
        if (!basic) continue;
        for (Room* other : basic->getConnectedRooms()) {
            ASSERT_TRUE(held.count(other)) << "step " << step << ": connection to a released room";
        }
    }
}

// Recomputes each cell's neighbour mask from the floors present and checks the walls it implies.
void expectWallsMatchFloors(const Map& map, int step) {
    for (int z = 0; z < 10; ++z)
        for (int x = 0; x < 20; ++x)
            for (int y = 0; y < 20; ++y) {
                const Tile* t = map.tileAt(x, y, z);
                auto floored = [&](int nx, int ny) {
                    const Tile* n = map.tileAt(nx, ny, z);
                    return n && n->hasFloor();
                };
                const int mask = (floored(x + 1, y) ? Tile::xPlus : 0) | (floored(x, y - 1) ? Tile::yMinus : 0) |
                                 (floored(x - 1, y) ? Tile::xMinus : 0) | (floored(x, y + 1) ? Tile::yPlus : 0);
                const bool front = t->getFlags() & Tile::frontWallBit, back = t->getFlags() & Tile::backWallBit;
                if (!t->hasFloor()) {
                    ASSERT_TRUE(t->getNeighbourFloors() == 0 && !front && !back)
                        << "step " << step << ": cell without floor keeps a mask or walls at " << x << "," << y << ","
                        << z;
                    continue;
                }
                ASSERT_EQ(mask, t->getNeighbourFloors())
                    << "step " << step << ": mask at " << x << "," << y << "," << z;
                ASSERT_EQ((mask & (Tile::xPlus | Tile::yPlus)) != (Tile::xPlus | Tile::yPlus), front)
                    << "step " << step;
                ASSERT_EQ((mask & (Tile::xMinus | Tile::yMinus)) != (Tile::xMinus | Tile::yMinus), back)
                    << "step " << step;
            }
}

}  // namespace

TEST_F(TowerTest, ResultCodesTellAMissingLobbyFromABadFootprint) {
    floors(0, 0, 5, 5, 0);
    EXPECT_EQ(BuildResult::NEEDS_LOBBY, place(SINGLE, 4, 4, 0)) << "a valid footprint without a lobby";
    EXPECT_EQ(BuildResult::CANNOT_BUILD_THERE, place(SINGLE, 9, 9, 0)) << "no floor and no lobby: the footprint is reported first";
    EXPECT_FALSE(lobbyAt(9, 9, 0)) << "a lobby needs a floor too";
    ASSERT_TRUE(lobbyAt(5, 5, 0));
    EXPECT_EQ(BuildResult::BUILT, place(SINGLE, 4, 4, 0));
    EXPECT_EQ(BuildResult::CANNOT_BUILD_THERE, place(OFFICE, 5, 4, 0)) << "(4, 4) is covered by the single room";
    EXPECT_EQ(BuildResult::CANNOT_BUILD_THERE, place(SUITE, 5, 5, 0)) << "(5, 5) is covered by the lobby";
    EXPECT_EQ(BuildResult::CANNOT_BUILD_THERE, place(OFFICE, 0, 3, 0)) << "the footprint would reach x -1";
    EXPECT_EQ(BuildResult::CANNOT_BUILD_THERE, place(OFFICE, 3, 0, 0)) << "the footprint would reach y -1";
    EXPECT_EQ(BuildResult::CANNOT_BUILD_THERE, place(OFFICE, 6, 2, 0)) << "(6, 2) has no floor";
    EXPECT_EQ(BuildResult::BUILT, place(OFFICE, 1, 1, 0)) << "a footprint touching both edges fits";
    EXPECT_TRUE(map.getHasRooms());
}

TEST_F(TowerTest, FootprintRunsTheDefinitionsSizeXAlongTheGridYAxis) {
    floors(3, 3, 6, 6, 0);
    floors(8, 8, 9, 9, 0);
    floors(8, 8, 9, 9, 1);
    ASSERT_TRUE(lobbyAt(3, 3, 0));
    ASSERT_EQ(BuildResult::BUILT, place(SUITE, 5, 5, 0));
    Room* suite = map.roomAt(5, 5, 0);
    EXPECT_EQ(suite, map.roomAt(4, 5, 0)) << "a Suite (x 1, y 2) reaches back along the grid's x axis";
    EXPECT_EQ(nullptr, map.roomAt(5, 4, 0));
    EXPECT_EQ(2, suite->references());
    for (int x : {4, 5})
        EXPECT_TRUE(tile(x, 5, 0)->isTileOff() && !tile(x, 5, 0)->isBuildable());
    ASSERT_EQ(BuildResult::BUILT, place(SINGLE, 5, 4, 0));
    ASSERT_TRUE(bulldozeAt(4, 5, 0)) << "bulldozing any cell of a room removes the whole room";
    EXPECT_TRUE(map.roomAt(5, 5, 0) == nullptr && map.roomAt(4, 5, 0) == nullptr);
    EXPECT_NE(nullptr, map.roomAt(5, 4, 0)) << "the neighbour along y is not part of the Suite";

    ASSERT_EQ(BuildResult::BUILT, place(OFFICE, 9, 9, 1));
    Room* office = map.roomAt(9, 9, 1);
    EXPECT_EQ(point(9, 9, 1), office->getLocation()) << "the anchor is the cursor cell";
    for (auto [x, y] : {std::pair{9, 8}, {8, 9}, {8, 8}})
        EXPECT_EQ(office, map.roomAt(x, y, 1)) << x << "," << y;
    EXPECT_EQ(4, office->references());
}

TEST_F(TowerTest, FloorRoofsTheCellAboveAndShadowsTheColumnBelow) {
    EXPECT_EQ(FloorResult::NOTHING_BELOW, pourAt(3, 3, 1)) << "empty air is not buildable";
    for (int z = 0; z <= 2; ++z)
        ASSERT_TRUE(floorAt(3, 3, z)) << "storey " << z;
    EXPECT_EQ(FloorResult::FLOOR_THERE, pourAt(3, 3, 2)) << "a floor is built once";
    EXPECT_EQ(Tile::ROOF, tile(3, 3, 3)->getType());
    EXPECT_TRUE(tile(3, 3, 3)->isBuildable());
    for (int z = 0; z <= 2; ++z)
        EXPECT_FALSE(tile(3, 3, z)->getFlags() & Tile::shadowBit) << "built floors take no shadow";

    keyModifiers::hold(KMOD_LALT);
    ASSERT_TRUE(floorAt(6, 6, 2)) << "Alt builds over empty air";
    EXPECT_TRUE(floorAt(2, 2, 9)) << "the top storey can be floored; there is nothing above to roof";
    keyModifiers::release();
    EXPECT_TRUE(tile(6, 6, 1)->getFlags() & Tile::shadowBit);
    EXPECT_TRUE(tile(6, 6, 0)->getFlags() & Tile::shadowBit);
    EXPECT_EQ(Tile::ROOF, tile(6, 6, 3)->getType());
    EXPECT_EQ(Tile::FLOOR, tile(2, 2, 9)->getType());
}

TEST_F(TowerTest, BulldozerTakesTheRoomFirstAndTheFloorSecond) {
    EXPECT_FALSE(bulldozeAt(4, 4, 0)) << "ground that was never built on cannot be bulldozed";
    floors(3, 3, 4, 4, 0);
    ASSERT_TRUE(floorAt(4, 4, 1));
    ASSERT_TRUE(lobbyAt(3, 3, 0));
    ASSERT_EQ(BuildResult::BUILT, place(SINGLE, 4, 3, 0));

    ASSERT_TRUE(bulldozeAt(4, 3, 0));
    EXPECT_EQ(nullptr, map.roomAt(4, 3, 0));
    EXPECT_TRUE(tile(4, 3, 0)->hasFloor()) << "the floor under a room needs a second pass";
    EXPECT_TRUE(tile(4, 3, 0)->isBuildable() && !tile(4, 3, 0)->isTileOff());
    ASSERT_TRUE(bulldozeAt(4, 3, 0));
    EXPECT_EQ(Tile::PLAIN, tile(4, 3, 0)->getType());
    EXPECT_TRUE(tile(4, 3, 0)->floorIsDestructable());
    EXPECT_EQ(Tile::EMPTY, tile(4, 3, 1)->getType()) << "the roof above goes with the floor";
    EXPECT_FALSE(tile(4, 3, 1)->isBuildable());
    EXPECT_FALSE(bulldozeAt(4, 3, 1));

    ASSERT_TRUE(bulldozeAt(4, 4, 0));
    EXPECT_EQ(Tile::EMPTY, tile(4, 4, 1)->getType()) << "a floor above a bulldozed floor becomes empty air";
    EXPECT_TRUE(tile(4, 4, 1)->hasFloor()) << "...but keeps its floor bit";
}

TEST_F(TowerTest, BulldozingOneLobbyCellKeepsTheOther) {
    floors(2, 2, 3, 2, 0);
    ASSERT_TRUE(lobbyAt(2, 2, 0));
    ASSERT_TRUE(lobbyAt(3, 2, 0));
    Lobby* lobby = map.getLobby();
    ASSERT_EQ(lobby, map.roomAt(3, 2, 0)) << "all lobby cells share one object";
    ASSERT_TRUE(bulldozeAt(2, 2, 0));
    EXPECT_EQ(lobby, map.getLobby());
    EXPECT_EQ(1, lobby->references());
    EXPECT_EQ(point(2, 2, 0), lobby->getLocation()) << "the lobby keeps its first cell as location";
    expectOwnershipConsistent(map, 0);
    ASSERT_TRUE(bulldozeAt(3, 2, 0));
    EXPECT_EQ(nullptr, map.getLobby()) << "the lobby goes with its last cell";
    EXPECT_EQ(BuildResult::NEEDS_LOBBY, place(SINGLE, 3, 2, 0));
}

TEST_F(TowerTest, ElevatorShaftGrowsWithEachFloorBuiltAboveIt) {
    floors(0, 0, 7, 2, 0);
    ASSERT_TRUE(lobbyAt(0, 0, 0));
    ASSERT_EQ(BuildResult::BUILT, place(ELEVATOR_DEF, 7, 2, 0));
    Room* shaft = map.roomAt(7, 2, 0);
    ASSERT_TRUE(shaft->isTransportation());
    ASSERT_TRUE(floorAt(7, 2, 1));
    ASSERT_TRUE(floorAt(6, 1, 1));
    ASSERT_TRUE(floorAt(7, 2, 2));
    EXPECT_EQ(shaft, map.roomAt(7, 2, 1));
    EXPECT_EQ(shaft, map.roomAt(6, 1, 1));
    EXPECT_EQ(shaft, map.roomAt(7, 2, 2)) << "the shaft grows storey by storey";
    EXPECT_EQ(7, shaft->references());
    EXPECT_TRUE(tile(7, 2, 1)->isBuildable() && !tile(7, 2, 1)->isTileOff()) << "a grown cell stays open";

    ASSERT_EQ(BuildResult::BUILT, place(SINGLE, 7, 2, 2)) << "a room may take over a grown shaft cell";
    EXPECT_FALSE(map.roomAt(7, 2, 2)->isTransportation());
    EXPECT_EQ(6, shaft->references());

    ASSERT_TRUE(bulldozeAt(7, 2, 0));
    EXPECT_EQ(nullptr, map.roomAt(6, 1, 0));
    EXPECT_EQ(2, shaft->references()) << "the storey above still holds the shaft";
    expectOwnershipConsistent(map, 0);

    // No object stands for stairs: covering cells with nothing would leave
    // holes that no save could bring back, so such a kind builds nothing.
    ASSERT_EQ(BuildResult::CANNOT_BUILD_THERE, place(ELEVATOR_DEF, 5, 1, 0, STAIRS));
    EXPECT_EQ(nullptr, map.roomAt(5, 1, 0));
    EXPECT_TRUE(!tile(4, 0, 0)->isTileOff() && tile(4, 0, 0)->isBuildable());
}

TEST_F(TowerTest, TowerStepsTheCarOncePerShaftStoreyEveryHundredMilliseconds) {
    floors(2, 3, 4, 4, 0);
    ASSERT_TRUE(lobbyAt(2, 3, 0));
    ASSERT_EQ(BuildResult::BUILT, place(ELEVATOR_DEF, 4, 4, 0));
    ASSERT_TRUE(floorAt(4, 4, 1));
    ElevatorCar& car = dynamic_cast<Elevator&>(*map.roomAt(4, 4, 0)).car();
    ticks::advance(100);
    map.OnLoop();
    const int afterOne = car.getScreen().y;
    ticks::advance(99);
    map.OnLoop();
    EXPECT_EQ(afterOne, car.getScreen().y) << "rooms are stepped at most every 100 ms";
    int steps = 1;
    for (; !car.hasArrived() && steps < 100; ++steps) {
        ticks::advance(100);
        map.OnLoop();
    }
    EXPECT_EQ(16, steps) << "a shaft of two storeys moves its car twice per tower step";
}

// Lobby L, walkable floors F, single rooms A to D, plain ground elsewhere:
//        x=0 x=1 x=2
//   y=0:  A   D   .
//   y=1:  F   L   B
//   y=2:  F   C   .
TEST_F(TowerTest, PathSearchLinksRoomsDepthFirstInNeighbourOrder) {
    for (auto [x, y] : {std::pair{1, 1}, {0, 1}, {0, 2}, {0, 0}, {1, 0}, {2, 1}, {1, 2}, {8, 8}})
        floorAt(x, y, 0);
    ASSERT_TRUE(lobbyAt(1, 1, 0));
    for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {2, 1}, {1, 2}, {8, 8}})
        ASSERT_EQ(BuildResult::BUILT, place(SINGLE, x, y, 0));
    floorAt(1, 1, 1);
    ASSERT_EQ(BuildResult::BUILT, place(SINGLE, 1, 1, 1));
    Room *lobby = map.getLobby(), *a = map.roomAt(0, 0, 0), *b = map.roomAt(2, 1, 0), *c = map.roomAt(1, 2, 0),
         *d = map.roomAt(1, 0, 0);

    map.buildPathingTree();
    EXPECT_EQ((std::vector<Room*>{b, c, a, d}), links(1, 1, 0))
        << "depth first, x+1 before x-1 before y+1 before y-1, down to row 0; C is met twice but linked once";
    EXPECT_EQ(std::vector<Room*>{lobby}, links(0, 0, 0));
    EXPECT_TRUE(links(8, 8, 0).empty()) << "a room away from the lobby's floors is not reached";
    EXPECT_TRUE(links(1, 1, 1).empty()) << "the search never changes storey";
    auto marked = [&](int x, int y) { return tile(x, y, 0)->pathHasBeenChecked(); };
    EXPECT_TRUE(marked(0, 1) && marked(0, 2));
    EXPECT_TRUE(marked(0, 3)) << "plain ground next to the walkable area is looked at";
    EXPECT_FALSE(marked(0, 0) || marked(1, 0)) << "a linked room's cells are not searched";
    EXPECT_FALSE(marked(8, 7));

    map.buildPathingTree();
    EXPECT_EQ((std::vector<Room*>{b, c, a, d, b, c, a, d}), links(1, 1, 0)) << "each search links again";
}

TEST_F(TowerTest, EachKindPaysItsRentOnceAMonthAtItsAnchor) {
    EXPECT_EQ(0, month()) << "nothing built, nothing paid";
    floorAt(0, 0, 0);
    lobbyAt(0, 0, 0);
    EXPECT_EQ(0, month()) << "the lobby earns nothing";
    const struct {
        int def;
        double perMonth;
    } kinds[] = {{SINGLE, 14 * 40}, {SUITE, 7 * 120}, {OFFICE, 2 * 900}, {ELEVATOR_DEF, 0}};
    double expected = 0;
    for (int i = 0; i < 4; ++i) {
        const int x = 3 + 3 * i;
        floors(x - 1, 2, x, 3, 0);
        ASSERT_EQ(BuildResult::BUILT, place(kinds[i].def, x, 3, 0));
        expected += kinds[i].perMonth;
        EXPECT_EQ(expected, month()) << "after adding a " << rooms[kinds[i].def].title;
    }
}

TEST_F(TowerTest, RentedShaftIsPaidOncePerStoreyItCovers) {
    ASSERT_TRUE(loadARoom("tests/data/roomdefs/rented_elevator.xml"));
    floorAt(0, 0, 0);
    lobbyAt(0, 0, 0);
    floorAt(3, 3, 0);
    ASSERT_EQ(BuildResult::BUILT, place(static_cast<int>(rooms.size()) - 1, 3, 3, 0));
    EXPECT_EQ(10, map.collectRent(1));
    floorAt(3, 3, 1);
    floorAt(3, 3, 2);
    EXPECT_EQ(30, map.collectRent(1));
}

TEST_F(TowerTest, MasksAndWallsMatchTheFloorsPresentAfterRandomBuildsAndBulldozes) {
    std::mt19937 random(20240607);
    for (int step = 0; step < 1500; ++step) {
        const int x = static_cast<int>(random() % 8), y = static_cast<int>(random() % 8),
                  z = static_cast<int>(random() % 3);
        if (random() % 3) {
            keyModifiers::hold(random() % 4 ? KMOD_NONE : KMOD_RALT);
            floorAt(x, y, z);
        } else {
            bulldozeAt(x, y, z);
        }
        expectWallsMatchFloors(map, step);
        if (HasFatalFailure()) return;
    }
}

TEST_F(TowerTest, NoCellEverPointsAtAReleasedRoom) {
    std::mt19937 random(77);
    std::string snapshot;
    for (int step = 0; step < 3000; ++step) {
        const int x = static_cast<int>(random() % 6), y = static_cast<int>(random() % 6);
        const int z = std::max(0, static_cast<int>(random() % 4) - 1);  // the ground half the time
        const unsigned action = random() % 100;
        if (action < 30) {
            keyModifiers::hold(random() % 4 ? KMOD_NONE : KMOD_LALT);
            floorAt(x, y, z);
        } else if (action < 44) {
            // Now and then aim at a cell that holds a room, so rooms really come and go.
            std::vector<point> occupied;
            for (int cz = 0; cz < 3; ++cz)
                for (int cx = 0; cx < 6; ++cx)
                    for (int cy = 0; cy < 6; ++cy)
                        if (map.roomAt(cx, cy, cz)) occupied.push_back(point(cx, cy, cz));
            const point target =
                occupied.empty() || random() % 4 ? point(x, y, z) : occupied[random() % occupied.size()];
            bulldozeAt(target.x, target.y, target.z);
        } else if (action < 54) {
            lobbyAt(x, y, z);
        } else if (action < 80) {
            const int def = 1 + static_cast<int>(random() % 4);
            place(def, x, y, z, def == ELEVATOR_DEF && random() % 5 == 0 ? STAIRS : 0);
        } else if (action < 86) {
            map.buildPathingTree();
        } else if (action < 92) {
            ticks::advance(100);
            map.OnLoop();
            map.collectRent(static_cast<short>(1 + random() % 14));
        } else if (action < 96 || snapshot.empty()) {
            FILE* file = tmpfile();
            ASSERT_TRUE(map.save(file));
            snapshot.assign(static_cast<size_t>(ftell(file)), '\0');
            rewind(file);
            ASSERT_EQ(snapshot.size(), fread(&snapshot[0], 1, snapshot.size(), file));
            fclose(file);
        } else {
            FILE* file = tmpfile();
            fputs(snapshot.c_str(), file);
            rewind(file);
            ASSERT_TRUE(map.load(file)) << "step " << step;
            fclose(file);
        }
        expectOwnershipConsistent(map, step);
        if (HasFatalFailure()) return;
    }
}
