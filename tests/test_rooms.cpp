#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "BasicRoom.h"
#include "Elevator.h"
#include "RoomDefs.h"
#include "Tile.h"
#include "testSupport.h"

namespace {

enum Def { ELEVATOR_DEF = 1, SINGLE = 2, SUITE = 3, OFFICE = 4 };

class RoomTest : public ::testing::Test {
protected:
    void SetUp() override {
        Tile::attachSettings();
        ASSERT_TRUE(testing_support::loadShippedRoomDefs()) << "the four room definition files in assets/ should load";
        Elevator::resetShuttle();
    }
    void TearDown() override {
        clearRoomDefs();
        Elevator::resetShuttle();
    }
};

// Calls the elevator at its anchor until its car arrives; returns the number of calls.
int callsUntilArrival(Elevator& elevator) {
    const point anchor = elevator.getLocation();
    int calls = 0;
    do {
        elevator.OnLoop(anchor.x, anchor.y);
        ++calls;
    } while (!elevator.car().hasArrived() && calls < 1000);
    return calls;
}

}  // namespace

TEST_F(RoomTest, PictureSpansItsFootprintAndRisesOneStoreyAboveIt) {
    for (int def : {SINGLE, SUITE, OFFICE, ELEVATOR_DEF}) {
        for (int z : {0, 2}) {
            const point anchor(6, 5, z);
            std::unique_ptr<BasicRoom> room(def == ELEVATOR_DEF ? new Elevator(anchor, def)
                                                                : new BasicRoom(anchor, def));
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
        singles.emplace_back(new BasicRoom(point(i, 0, 0), SINGLE));
        singleRows.push_back(singles.back()->getClip().y / singles.back()->getClip().h);
    }
    for (int i = 0; i < 3; ++i) {
        offices.emplace_back(new BasicRoom(point(i, 3, 0), OFFICE));
        officeRows.push_back(offices.back()->getClip().y / offices.back()->getClip().h);
    }
    EXPECT_EQ((std::vector<int>{0, 1, 2, 0}), singleRows) << "three variants, one below the other";
    EXPECT_EQ((std::vector<int>{0, 1, 0}), officeRows);
    EXPECT_STREQ("Single Room 2", singles[1]->getRoomInfo());
    singles.clear();
    BasicRoom next(point(9, 9, 0), SINGLE);
    EXPECT_STREQ("Single Room 5", next.getRoomInfo()) << "serial numbers go on after rooms are removed";
    EXPECT_STREQ("Office 3", offices[2]->getRoomInfo());
}

TEST_F(RoomTest, CarShuttlesFullUpAndEmptyDownTwoPixelsPerCall) {
    Elevator elevator(point(4, 4, 0), ELEVATOR_DEF);
    ElevatorCar& car = elevator.car();
    const point shaft = elevator.getScreenPosition();
    EXPECT_EQ(point(shaft.x + 130, shaft.y + 80, 0), car.getScreen());
    EXPECT_EQ(shaft.y + 80, car.getBaseY());
    EXPECT_TRUE(car.hasArrived());
    EXPECT_EQ(0, car.getGraphic());

    elevator.OnLoop(3, 4);
    EXPECT_TRUE(car.hasArrived()) << "calls for other cells of the shaft do nothing";
    elevator.OnLoop(4, 4);
    EXPECT_EQ(6, car.getPassengers());
    EXPECT_EQ(1, car.getGraphic()) << "a full car shows the full picture";
    EXPECT_EQ(car.getBaseY() - 64, car.getGoal().y);
    EXPECT_EQ(car.getBaseY() - 2, car.getScreen().y);
    EXPECT_EQ(31, callsUntilArrival(elevator)) << "32 anchor calls rise one floor";
    EXPECT_EQ(32, callsUntilArrival(elevator)) << "and 32 bring it back";
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
    Elevator first(point(2, 2, 0), ELEVATOR_DEF), second(point(8, 2, 0), ELEVATOR_DEF);
    first.OnLoop(2, 2);
    EXPECT_TRUE(first.car().isGoingUp());
    second.OnLoop(8, 2);
    EXPECT_TRUE(second.car().hasArrived()) << "the shared goal had flipped to floor 0, where the second car stands";
    EXPECT_EQ(second.car().getBaseY(), second.car().getScreen().y);
    second.OnLoop(8, 2);
    EXPECT_TRUE(second.car().isGoingUp()) << "so it departs upward on the next call";
    EXPECT_EQ(6, second.car().getPassengers());
}
