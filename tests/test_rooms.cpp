#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "BasicRoom.h"
#include "Elevator.h"
#include "RoomCounters.h"
#include "RoomDefs.h"
#include "Shuttle.h"
#include "Tile.h"
#include "testSupport.h"

namespace {

enum Def { ELEVATOR_DEF = 1, SINGLE = 2, SUITE = 3, OFFICE = 4 };

class RoomTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testing_support::loadShippedRoomDefs()) << "the four room definition files in assets/ should load";
    }
    void TearDown() override { clearRoomDefs(); }

    // A room built as the tower builds one, with what its counters give it.
    std::unique_ptr<BasicRoom> build(int def, point anchor) {
        const RoomCounters::Next taken = counters.take(def);
        if (def == ELEVATOR_DEF) return std::make_unique<Elevator>(anchor, def, taken.variant, taken.serial);
        return std::make_unique<BasicRoom>(anchor, def, taken.variant, taken.serial);
    }
    std::unique_ptr<Elevator> shaft(point anchor) {
        return std::unique_ptr<Elevator>(static_cast<Elevator*>(build(ELEVATOR_DEF, anchor).release()));
    }

    RoomCounters counters;
    Shuttle shuttle;
};

// Calls the elevator at its anchor until its car arrives; returns the number of calls.
int callsUntilArrival(Elevator& elevator, Shuttle& shuttle) {
    const point anchor = elevator.getLocation();
    int calls = 0;
    do {
        elevator.OnLoop(anchor.x, anchor.y, shuttle);
        ++calls;
    } while (!elevator.car().hasArrived() && calls < 1000);
    return calls;
}

}  // namespace

TEST_F(RoomTest, PictureSpansItsFootprintAndRisesOneStoreyAboveIt) {
    for (int def : {SINGLE, SUITE, OFFICE, ELEVATOR_DEF}) {
        for (int z : {0, 2}) {
            const point anchor(6, 5, z);
            const std::unique_ptr<BasicRoom> room = build(def, anchor);
            // Cell boxes of the footprint, which reaches back sizeY cells along x and sizeX along y.
            int left = 10000, right = -10000, top = 10000, bottom = -10000;
            for (int i = 0; i < rooms[def].sizeY; ++i)
                for (int j = 0; j < rooms[def].sizeX; ++j) {
                    const point box = Tile::convertToScreen(anchor.x - i, anchor.y - j, 0, -64 * z);
                    left = std::min<int>(left, box.x);
                    right = std::max<int>(right, box.x + 128);
                    top = std::min<int>(top, box.y);
                    bottom = std::max<int>(bottom, box.y + 64);
                }
            const point s = room->getScreenPosition();
            const SDL_Rect& clip = room->getClip();
            SCOPED_TRACE(std::string(rooms[def].title) + " on storey " + std::to_string(z));
            EXPECT_EQ(left, s.x);
            EXPECT_EQ(right, s.x + clip.w);
            EXPECT_EQ(top - 64, s.y) << "the picture reaches one storey above its cells";
            EXPECT_EQ(bottom, s.y + clip.h);
        }
    }
}

TEST_F(RoomTest, KindsHandOutVariantsInTurnAndNeverReuseASerialNumber) {
    std::vector<std::unique_ptr<BasicRoom>> singles, offices;
    std::vector<int> singleRows, officeRows;
    for (int i = 0; i < 4; ++i) {
        singles.push_back(build(SINGLE, point(i, 0, 0)));
        singleRows.push_back(singles.back()->getClip().y / singles.back()->getClip().h);
    }
    for (int i = 0; i < 3; ++i) {
        offices.push_back(build(OFFICE, point(i, 3, 0)));
        officeRows.push_back(offices.back()->getClip().y / offices.back()->getClip().h);
    }
    EXPECT_EQ((std::vector<int>{0, 1, 2, 0}), singleRows) << "three variants, one below the other";
    EXPECT_EQ((std::vector<int>{0, 1, 0}), officeRows);
    EXPECT_STREQ("Single Room 2", singles[1]->getRoomInfo());
    singles.clear();
    EXPECT_STREQ("Single Room 5", build(SINGLE, point(9, 9, 0))->getRoomInfo())
        << "serial numbers go on after rooms are removed";
    RoomCounters otherTower;
    EXPECT_EQ(1, otherTower.take(SINGLE).serial) << "each tower counts its own rooms";
    EXPECT_STREQ("Office 3", offices[2]->getRoomInfo());
}

TEST_F(RoomTest, CarShuttlesFullUpAndEmptyDownTwoPixelsPerCall) {
    const std::unique_ptr<Elevator> built = shaft(point(4, 4, 0));
    Elevator& elevator = *built;
    ElevatorCar& car = elevator.car();
    const point shaft = elevator.getScreenPosition();
    EXPECT_EQ(point(shaft.x + 130, shaft.y + 80, 0), car.getScreen());
    EXPECT_EQ(shaft.y + 80, car.getBaseY());
    EXPECT_TRUE(car.hasArrived());
    EXPECT_EQ(0, car.getGraphic());

    elevator.OnLoop(3, 4, shuttle);
    EXPECT_TRUE(car.hasArrived()) << "calls for other cells of the shaft do nothing";
    elevator.OnLoop(4, 4, shuttle);
    EXPECT_EQ(6, car.getPassengers());
    EXPECT_EQ(1, car.getGraphic()) << "a full car shows the full picture";
    EXPECT_EQ(car.getBaseY() - 64, car.getGoal().y);
    EXPECT_EQ(car.getBaseY() - 2, car.getScreen().y);
    EXPECT_EQ(31, callsUntilArrival(elevator, shuttle)) << "32 anchor calls rise one floor";
    EXPECT_EQ(32, callsUntilArrival(elevator, shuttle)) << "and 32 bring it back";
    EXPECT_EQ(car.getBaseY(), car.getScreen().y);
    EXPECT_EQ(0, car.getPassengers());
    EXPECT_EQ(0, car.getGraphic());
}

TEST_F(RoomTest, CarPictureFollowsItsLoad) {
    ElevatorCar car(point(1, 1, 0), point(0, 0, 0), ELEVATOR_DEF);
    car.loadCar(3);
    EXPECT_EQ(0, car.getGraphic());
    car.loadCar(1);
    EXPECT_EQ(1, car.getGraphic());
    EXPECT_EQ(4, car.unloadCar());
    EXPECT_EQ(0, car.getGraphic());
    car.callCarToFloor(0);
    EXPECT_TRUE(car.hasArrived()) << "a car sent where it stands is there already";
}

TEST_F(RoomTest, ElevatorsShareTheFloorTheNextDepartingCarIsSentTo) {
    const std::unique_ptr<Elevator> firstShaft = shaft(point(2, 2, 0)), secondShaft = shaft(point(8, 2, 0));
    Elevator &first = *firstShaft, &second = *secondShaft;
    first.OnLoop(2, 2, shuttle);
    EXPECT_TRUE(first.car().isGoingUp());
    second.OnLoop(8, 2, shuttle);
    EXPECT_TRUE(second.car().hasArrived()) << "the shared goal had flipped to floor 0, where the second car stands";
    EXPECT_EQ(second.car().getBaseY(), second.car().getScreen().y);
    second.OnLoop(8, 2, shuttle);
    EXPECT_TRUE(second.car().isGoingUp()) << "so it departs upward on the next call";
    EXPECT_EQ(6, second.car().getPassengers());
}
