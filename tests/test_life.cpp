// The tower's people in seeded random towers, checked after every tick:
// nobody lost or duplicated, everyone waiting or riding where the shafts say,
// no car over its capacity or outside its storeys, everyone who can reach
// their room arrives, and a save and load in the middle changes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Life.h"
#include "Random.h"

using namespace life;

namespace {

constexpr int W = 10, H = 8;

// Floors on every storey a shaft or room needs; a lobby on the ground;
// shafts from the ground or from higher up; rooms of every use along y = 0
// and y = H - 1, their doors on the floors between.
Layout randomLayout(sim::Random& chance, int storeys, int shaftCount, bool gaps) {
    Layout layout(W, H, storeys);
    std::vector<Layout::Room> rooms;
    // A room built again is another room: uids are never reused.
    static int uid = 100;
    for (int z = 0; z < storeys; ++z) {
        for (int x = 0; x < W; ++x) {
            for (int side : {0, H - 1}) {
                if (chance.chancePerMille(400)) continue;
                Layout::Room room;
                room.uid = uid++;
                room.use = static_cast<RoomUse>(chance.uniform(1, 3));
                room.storey = z;
                room.cells.push_back(layout.index(x, side, z));
                room.anchor = room.cells.front();
                rooms.push_back(room);
            }
        }
        for (int x = 0; x < W; ++x)
            for (int y = 1; y < H - 1; ++y) {
                const bool shaftColumn = (y == 3 || y == 4) && x % 3 != 1 && (x - 2) / 3 < shaftCount && x >= 2;
                if (shaftColumn || (gaps && chance.chancePerMille(60))) continue;  // a shaft, or a hole
                if (z == 0 && y == 1 && x < 2) {
                    layout.addLobbyCell(x, y);
                } else {
                    layout.setWalkable(x, y, z);
                }
            }
    }
    for (int s = 0; s < shaftCount; ++s) {
        Layout::Shaft shaft;
        shaft.uid = 10 + s;
        const int x = 2 + 3 * s, y = 3;
        // A 2 x 2 column, its cells taken from the floors.
        for (int dx = 0; dx < 2; ++dx)
            for (int dy = 0; dy < 2; ++dy) shaft.footprint.push_back(layout.index(x + dx, y + dy, 0));
        shaft.anchor = layout.index(x + 1, y + 1, 0);
        const int low = chance.chancePerMille(700) ? 0 : chance.uniform(0, storeys - 1);
        const int high = chance.uniform(low, storeys - 1);
        shaft.served = sim::StoreySet::range(low, high);
        layout.addShaft(shaft);
    }
    for (Layout::Room& room : rooms) layout.addRoom(room);
    return layout;
}

std::string problemIn(const Life& life) {
    const char* problem = life.consistencyProblem();
    return problem ? problem : "";
}

}  // namespace

TEST(Life, ADayInASmallTowerBringsEveryoneInAndOutOnTime) {
    Layout layout(W, H, 4);
    for (int z = 0; z < 4; ++z)
        for (int x = 0; x < W; ++x)
            for (int y = 1; y < H - 1; ++y) {
                if (x >= 4 && x <= 5 && y >= 3 && y <= 4) continue;  // the shaft
                if (z == 0 && y == 1 && x < 2) {
                    layout.addLobbyCell(x, y);
                } else {
                    layout.setWalkable(x, y, z);
                }
            }
    Layout::Shaft shaft;
    shaft.uid = 1;
    for (int x = 4; x <= 5; ++x)
        for (int y = 3; y <= 4; ++y) shaft.footprint.push_back(layout.index(x, y, 0));
    shaft.served = sim::StoreySet::range(0, 3);
    layout.addShaft(shaft);
    int uid = 10;
    for (int z = 1; z < 4; ++z)
        for (RoomUse use : {RoomUse::Office, RoomUse::Single, RoomUse::Suite}) {
            Layout::Room room;
            room.uid = uid++;
            room.use = use;
            room.storey = z;
            room.cells.push_back(layout.index(uid % W, 0, z));
            layout.addRoom(room);
        }
    Layout island = layout;
    Life life(7, ticksAt(23, 0));
    life.setLayout(layout, true);
    ASSERT_EQ(3u * (6 + 1 + 2), life.people().size());

    auto countWhere = [&](Role role, Where where) {
        int n = 0;
        for (const Person& p : life.people()) n += p.role == role && p.where == where;
        return n;
    };
    // The offices find companies in the first days; from the next morning on their staff come.
    life.advance(ticksPerDay * 2 + ticksAt(12, 0), 1 << 30);
    int rented = 0;
    for (const Layout::Room& room : life.layout().rooms()) rented += room.use == RoomUse::Office && life.tenancy().admits(room.uid);
    EXPECT_EQ(3, rented) << "every office within reach has a company after two days";
    EXPECT_EQ(0, countWhere(Role::Guest, Where::InRoom)) << "no guest stays on past the morning";
    life.advance(ticksPerDay * 3 + ticksAt(10, 30), 1 << 30);  // day 4, 10:30
    EXPECT_EQ(18, countWhere(Role::Worker, Where::InRoom)) << "every worker reached the office by 10:30";
    ASSERT_NE(nullptr, life.shaft(1));
    EXPECT_GE(life.todayBy(1).trips, 18) << "they rode up";
    life.advance(ticksPerDay * 3 + ticksAt(12, 15), 1 << 30);
    EXPECT_GT(countWhere(Role::Worker, Where::Outside), 0) << "some are out for lunch";
    life.advance(ticksPerDay * 3 + ticksAt(23, 30), 1 << 30);
    EXPECT_EQ(18, countWhere(Role::Worker, Where::Outside)) << "home by night";
    int booked = 0;
    for (const Person& p : life.people()) booked += p.role == Role::Guest && life.tenancy().admits(p.roomUid);
    EXPECT_GT(booked, 0) << "some rooms took guests for the night";
    EXPECT_EQ(booked, countWhere(Role::Guest, Where::InRoom)) << "every booked guest in their room for the night";
    life.advance(ticksPerDay * 4 + ticksAt(0, 10), 1 << 30);
    EXPECT_EQ(1, life.tenancy().rating()) << "18 workers and their guests, well served, earn the first star";
    EXPECT_EQ("", problemIn(life));
}

TEST(Life, PeopleTakeTheShaftNearestTheirRoom) {
    // A shaft at each end of the storeys, the lobby between them, an office
    // beside each shaft upstairs: the staff come in at the same door, and
    // each office's ride up in the shaft beside it.
    Layout layout(W, H, 2);
    for (int z = 0; z < 2; ++z)
        for (int x = 0; x < W; ++x)
            for (int y = 1; y < H - 1; ++y) {
                if ((x <= 1 || x >= W - 2) && (y == 3 || y == 4)) continue;  // the shafts
                if (z == 0 && y == 1 && (x == 4 || x == 5)) {
                    layout.addLobbyCell(x, y);
                } else {
                    layout.setWalkable(x, y, z);
                }
            }
    for (int s = 0; s < 2; ++s) {
        Layout::Shaft shaft;
        shaft.uid = 1 + s;
        for (int x : {s ? W - 2 : 0, s ? W - 1 : 1})
            for (int y = 3; y <= 4; ++y) shaft.footprint.push_back(layout.index(x, y, 0));
        shaft.served = sim::StoreySet::range(0, 1);
        layout.addShaft(shaft);
    }
    for (int s = 0; s < 2; ++s) {
        Layout::Room office;
        office.uid = 10 + s;
        office.use = RoomUse::Office;
        office.storey = 1;
        office.cells.push_back(layout.index(s ? W - 1 : 0, H - 1, 1));
        layout.addRoom(office);
    }
    Life life(3, ticksAt(23, 0));
    life.setLayout(layout, true);
    life.advance(ticksPerDay * 3 + ticksAt(10, 30), 1 << 30);
    ASSERT_TRUE(life.tenancy().admits(10) && life.tenancy().admits(11)) << "both offices let";
    ASSERT_NE(nullptr, life.shaft(1));
    ASSERT_NE(nullptr, life.shaft(2));
    EXPECT_EQ(6, life.todayBy(1).trips) << "the left office's six rode the left shaft";
    EXPECT_EQ(6, life.todayBy(2).trips) << "the right office's six rode the right shaft";
    EXPECT_EQ("", problemIn(life));
}

TEST(Life, SeededRandomTowersKeepEveryoneAccountedForAfterEveryTick) {
    sim::Random towers(2026);
    for (int run = 0; run < 2000; ++run) {
        const int storeys = towers.uniform(2, 5);
        // Short runs over the busy hours of the day: the morning, lunch, the evening.
        const int hour = std::vector<int>{7, 8, 12, 17, 18}[static_cast<size_t>(run % 5)];
        Life life(static_cast<std::uint64_t>(run), ticksAt(hour, 0) - ticksAt(0, 30) + towers.uniform(0, 60));
        life.setLayout(randomLayout(towers, storeys, towers.uniform(1, 3), run % 2 == 0), true);
        const Tick end = life.now() + ticksAt(0, 40);
        const Tick change = life.now() + towers.uniform(0, static_cast<int>(ticksAt(0, 40)));
        bool changed = false;
        while (life.now() < end) {
            if (!changed && life.now() >= change) {
                // Rebuilt mid-run: rooms and shafts come and go under people's feet.
                life.setLayout(randomLayout(towers, storeys, towers.uniform(0, 3), true));
                changed = true;
            }
            life.advance(life.now() + 1, 1);
            const std::string problem = problemIn(life);
            ASSERT_EQ("", problem) << "run " << run << " at tick " << life.now();
        }
    }
}

TEST(Life, EveryoneWhoCanReachTheirRoomGetsThere) {
    sim::Random towers(77);
    for (int run = 0; run < 60; ++run) {
        Life life(static_cast<std::uint64_t>(run), ticksAt(6, 0));
        life.setLayout(randomLayout(towers, towers.uniform(2, 4), 3, run % 3 == 0), true);
        life.advance(ticksPerDay * 2 + ticksAt(11, 0), 1 << 30);
        for (const Person& person : life.people()) {
            // A company that moved in after this morning's arrivals comes tomorrow.
            if (person.role != Role::Worker || !life.tenancy().paysRent(person.roomUid)) continue;
            const int room = life.layout().roomIndex(person.roomUid);
            if (life.planner().fromLobby(room) != Unreachable::No) {
                EXPECT_EQ(Where::Outside, person.where) << "run " << run << ": nobody gets into a room out of reach";
                continue;
            }
            EXPECT_EQ(Where::InRoom, person.where) << "run " << run << ": worker " << person.id << " is late";
        }
    }
}

TEST(Life, ASaveAndLoadInTheMiddleChangesNothing) {
    sim::Random towers(11);
    for (int run = 0; run < 40; ++run) {
        const int storeys = towers.uniform(2, 5);
        const Layout layout = randomLayout(towers, storeys, towers.uniform(1, 3), run % 2 == 0);
        Life original(static_cast<std::uint64_t>(run), ticksAt(7, 0));
        original.setLayout(layout, true);
        original.advance(original.now() + towers.uniform(1, static_cast<int>(ticksAt(2, 0))), 1 << 30);
        const std::vector<Section> saved = original.save();

        Life copy(static_cast<std::uint64_t>(run), original.now() - original.now() % sim::ticksPerGameMinute);
        copy.setLayout(layout, true);
        std::string why;
        ASSERT_TRUE(copy.load(saved, why)) << "run " << run << ": " << why;
        ASSERT_EQ(original.stateHash(), copy.stateHash()) << "run " << run;
        EXPECT_EQ(saved.size(), copy.save().size());
        for (int step = 1; step <= 300; ++step) {
            original.advance(original.now() + 7, 7);
            copy.advance(copy.now() + 7, 7);
            if (step % 50 == 0) {
                ASSERT_EQ(original.stateHash(), copy.stateHash()) << "run " << run << " step " << step;
            }
        }
    }
}

TEST(Life, DamagedSectionsAreRefusedWholeAndChangeNothing) {
    sim::Random towers(5);
    const Layout layout = randomLayout(towers, 3, 2, false);
    Life life(3, ticksAt(8, 0));
    life.setLayout(layout, true);
    life.advance(ticksAt(8, 40), 1 << 30);
    const std::vector<Section> good = life.save();
    const std::uint64_t before = life.stateHash();
    for (size_t s = 0; s < good.size(); ++s)
        for (size_t r = 0; r < good[s].records.size(); ++r) {
            const std::string& record = good[s].records[r];
            for (size_t cut : {size_t(0), record.size() / 2, record.size() - 1}) {
                std::vector<Section> damaged = good;
                damaged[s].records[r] = record.substr(0, cut) + (cut % 2 ? " 999999" : "");
                std::string why;
                if (!life.load(damaged, why)) {
                    EXPECT_FALSE(why.empty());
                    ASSERT_EQ(before, life.stateHash()) << "a refused load changed the life: " << good[s].name;
                    continue;
                }
                // Some cuts leave a record the tower can be in: then it is loaded.
                ASSERT_TRUE(life.load(good, why)) << why;
            }
        }
    std::vector<Section> missing(good.begin() + 1, good.end());
    std::string why;
    EXPECT_FALSE(life.load(missing, why));
    EXPECT_EQ("there is no life section", why);
}

namespace {

// Offices and hotel rooms along the two long sides of storeys 1 up, floors
// between them, a lobby on the ground, and shafts through every storey.
Layout rentedTower(int storeys, int shaftCount, int officesPerStorey, int hotelsPerStorey, bool islandRoom) {
    Layout layout(W, H, storeys);
    for (int z = 0; z < storeys; ++z)
        for (int x = 0; x < W; ++x)
            for (int y = 1; y < H - 1; ++y) {
                const bool shaftColumn = (y == 3 || y == 4) && x >= 2 && x % 3 != 1 && (x - 2) / 3 < shaftCount;
                // The island: floor cut off from the rest by a gap around it.
                const bool gap = islandRoom && z == 1 && ((x == 7 && y >= 4) || (y == 4 && x >= 7));
                if (shaftColumn || gap) continue;
                if (z == 0 && y == 1 && x < 2) {
                    layout.addLobbyCell(x, y);
                } else {
                    layout.setWalkable(x, y, z);
                }
            }
    static int uid = 5000;
    for (int s = 0; s < shaftCount; ++s) {
        Layout::Shaft shaft;
        shaft.uid = uid++;
        for (int dx = 0; dx < 2; ++dx)
            for (int dy = 0; dy < 2; ++dy) shaft.footprint.push_back(layout.index(2 + 3 * s + dx, 3 + dy, 0));
        shaft.anchor = shaft.footprint.back();
        shaft.served = sim::StoreySet::range(0, storeys - 1);
        layout.addShaft(shaft);
    }
    auto addRoom = [&](RoomUse use, int x, int y, int z) {
        Layout::Room room;
        room.uid = uid++;
        room.use = use;
        room.storey = z;
        room.cells.push_back(layout.index(x, y, z));
        room.anchor = room.cells.front();
        layout.addRoom(room);
    };
    for (int z = 1; z < storeys; ++z) {
        for (int i = 0; i < officesPerStorey; ++i) addRoom(RoomUse::Office, i, 0, z);
        for (int i = 0; i < hotelsPerStorey; ++i) addRoom(i % 2 ? RoomUse::Suite : RoomUse::Single, i, H - 1, z);
    }
    if (islandRoom) addRoom(RoomUse::Single, 9, H - 1, 1);  // its door on the island
    return layout;
}

int countNews(const std::vector<std::string>& news, const char* part) {
    int n = 0;
    for (const std::string& line : news) n += line.find(part) != std::string::npos;
    return n;
}

}  // namespace

TEST(Tenants, AWellServedTowerEarnsTwoStarsInFiveDaysAndKeepsItsCompanies) {
    Life life(21, ticksAt(23, 0));
    life.setLayout(rentedTower(4, 2, 3, 6, false), true);  // nine offices and eighteen hotel rooms
    std::vector<std::string> news;
    int twoStarsOn = -1;
    for (int day = 1; day <= 5; ++day) {
        life.advance(ticksPerDay * day + ticksAt(0, 5), 1 << 30);
        for (const std::string& line : life.takeNews()) news.push_back(line);
        if (twoStarsOn < 0 && life.tenancy().rating() >= 2) twoStarsOn = day;
    }
    EXPECT_GE(life.tenancy().rating(), 2) << "after five days: " << life.tenancy().population() << " people, wait "
                                          << life.tenancy().towerWait();
    EXPECT_GT(twoStarsOn, 0);
    EXPECT_EQ(9, countNews(news, "A company moved into")) << "every office was let";
    EXPECT_EQ(0, countNews(news, "moved out")) << "and kept";
    EXPECT_EQ(1, countNews(news, "The tower has two stars")) << "said once, when first earned";
    EXPECT_EQ(6, life.tenancy().storeysOpen()) << "two stars open six storeys";
}

TEST(Tenants, TheSameRoomsOnTenStoreysOverOneShaftLoseTheirCompanies) {
    Life life(21, ticksAt(23, 0));
    life.setLayout(rentedTower(10, 1, 1, 2, false), true);  // nine offices and eighteen hotel rooms again
    std::vector<std::string> news;
    for (int day = 1; day <= 8; ++day) {
        life.advance(ticksPerDay * day + ticksAt(0, 5), 1 << 30);
        for (const std::string& line : life.takeNews()) news.push_back(line);
    }
    EXPECT_GT(countNews(news, "moved out: the elevators kept its staff waiting"), 0)
        << "one car for ten storeys: the wait drives companies away";
    EXPECT_LT(life.tenancy().rating(), 2);
    EXPECT_EQ("", problemIn(life));
}

TEST(Tenants, ARoomNobodyCanReachIsNeverLetAndNeverPays) {
    Life life(4, ticksAt(23, 0));
    life.setLayout(rentedTower(3, 1, 1, 2, true), true);
    const Layout& layout = life.layout();
    int island = -1;
    for (const Layout::Room& room : layout.rooms())
        if (life.planner().fromLobby(layout.roomIndex(room.uid)) != Unreachable::No) island = room.uid;
    ASSERT_GE(island, 0) << "the room behind the gap";
    for (int day = 1; day <= 6; ++day) {
        life.advance(ticksPerDay * day - 1, 1 << 30);  // the moment the midnight's rent is counted
        EXPECT_FALSE(life.tenancy().paysRent(island)) << "day " << day;
        EXPECT_EQ(Service::Vacant, life.tenancy().serviceOf(island));
    }
    for (const Person& person : life.people())
        if (person.roomUid == island) {
            EXPECT_EQ(Where::Outside, person.where) << "nobody ever came";
        }
}
