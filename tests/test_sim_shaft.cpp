// The elevator simulation's behaviour on small hand-made shafts: what it
// refuses, how long a trip takes, full cars, parking, shrinking and closing,
// and loading a save.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Shaft.h"
#include "TrafficSource.h"
#include "allocationCount.h"

namespace {

using namespace sim;
using Kind = ShaftEvent::Kind;

// A shaft and everything it reported, tick by tick.
struct Tower {
    explicit Tower(StoreySet served, int cars = 1, DispatchKind dispatch = DispatchKind::Eta,
                   CarTiming timing = CarTiming())
        : shaft(Shaft::create(served, cars, timing, dispatch)) {}

    void step() {
        const size_t before = events.size();
        shaft->step(events);
        for (size_t i = before; i < events.size(); ++i)
            onEvent(events[i]);
    }
    // Steps until done says so; false when that takes more than limit ticks.
    bool runUntil(const std::function<bool()>& done, int limit = 2000) {
        for (int i = 0; i < limit; ++i) {
            if (done()) return true;
            step();
        }
        return done();
    }
    const ShaftEvent* find(Kind kind, int passenger) const {
        for (const ShaftEvent& event : events)
            if (event.kind == kind && event.passenger == passenger) return &event;
        return nullptr;
    }
    bool idle() const {
        for (int i = 0; i < shaft->carCount(); ++i)
            if (shaft->car(i).activity() != Car::Activity::Idle) return false;
        return true;
    }

    std::unique_ptr<Shaft> shaft;
    std::vector<ShaftEvent> events;
    std::function<void(const ShaftEvent&)> onEvent = [](const ShaftEvent&) {};
};

// The game's cars, holding only so many.
CarTiming carrying(int capacity) {
    CarTiming timing;
    timing.capacity = capacity;
    return timing;
}

TEST(Shaft, refusesWhatItCannotServe) {
    EXPECT_EQ(nullptr, Shaft::create(StoreySet(), 1));
    EXPECT_EQ(nullptr, Shaft::create(StoreySet::range(0, 3), 0));
    CarTiming stuck;
    stuck.ticksPerStorey = 0;
    EXPECT_EQ(nullptr, Shaft::create(StoreySet::range(0, 3), 1, stuck));

    Tower tower(StoreySet(0b10101));  // storeys 0, 2 and 4
    Shaft& shaft = *tower.shaft;
    EXPECT_FALSE(shaft.call(1, 0, 3)) << "destination not served";
    EXPECT_FALSE(shaft.call(1, 1, 4)) << "origin not served";
    EXPECT_FALSE(shaft.call(1, 2, 2));
    EXPECT_FALSE(shaft.call(-1, 0, 2));
    EXPECT_FALSE(shaft.call(1, 0, 5)) << "beyond the shaft";
    EXPECT_TRUE(shaft.call(1, 0, 4));
    EXPECT_FALSE(shaft.call(1, 2, 0)) << "already waiting";
    ASSERT_TRUE(tower.runUntil([&] { return tower.find(Kind::Boarded, 1); }));
    EXPECT_FALSE(shaft.call(1, 2, 0)) << "already riding";
    ASSERT_TRUE(tower.runUntil([&] { return tower.find(Kind::Alighted, 1); }));
    EXPECT_TRUE(shaft.call(1, 4, 0)) << "arrived, so free to call again";
    EXPECT_FALSE(shaft.setParkingStorey(3));
    EXPECT_EQ(noStorey, shaft.parkingStorey());
}

TEST(Shaft, aTripTakesItsStopsTransfersAndStoreys) {
    const CarTiming t;
    Tower tower(StoreySet::range(0, 5));
    Shaft& shaft = *tower.shaft;
    ASSERT_TRUE(shaft.call(7, 0, 3));
    std::vector<DoorState> doors;
    std::vector<int> positions;
    tower.runUntil([&] {
        doors.push_back(shaft.car(0).doors());
        positions.push_back(shaft.car(0).position());
        return tower.find(Kind::Alighted, 7) != nullptr;
    });
    // Doors open, one gets in, doors close, three storeys, doors open, one gets out.
    const int boarding = t.openTicks();
    const int travel = boarding + t.transferTicks + t.closeTicks();
    const int arrival = travel + 3 * t.ticksPerStorey;
    const int out = arrival + t.openTicks() + t.transferTicks;
    ASSERT_TRUE(tower.find(Kind::Boarded, 7));
    EXPECT_EQ(boarding - 1, tower.find(Kind::Boarded, 7)->tick);
    EXPECT_EQ(out - 1, tower.find(Kind::Alighted, 7)->tick);
    ASSERT_EQ(size_t(out + 1), doors.size());  // states seen after each tick, and before the first
    EXPECT_EQ(DoorState::Opening, doors[1]);
    EXPECT_EQ(DoorState::Open, doors[boarding]);
    EXPECT_EQ(DoorState::Closing, doors[travel - 1]);
    EXPECT_EQ(DoorState::Closed, doors[travel]);
    // Drawn between storeys on the way, at the storey once there.
    EXPECT_EQ(t.ticksPerStorey + 1, positions[travel + t.ticksPerStorey + 1]);
    EXPECT_EQ(3 * t.ticksPerStorey, positions[arrival]);
    EXPECT_EQ(3, shaft.car(0).goal());
    EXPECT_EQ(1, shaft.stats().delivered);
    EXPECT_EQ(boarding - 1, shaft.stats().longestWait);
}

TEST(Shaft, aFullCarPassesHallCallsBy) {
    for (DispatchKind dispatch : {DispatchKind::Collective, DispatchKind::Eta}) {
        Tower tower(StoreySet::range(0, 6), 1, dispatch, carrying(1));
        Shaft& shaft = *tower.shaft;
        ASSERT_TRUE(shaft.call(1, 0, 6));
        ASSERT_TRUE(tower.runUntil([&] { return tower.find(Kind::Boarded, 1); }));
        ASSERT_TRUE(shaft.call(2, 3, 5));
        bool openedFull = false;
        ASSERT_TRUE(tower.runUntil([&] {
            const Car& car = shaft.car(0);
            const bool full = !tower.find(Kind::Alighted, 1);
            openedFull |= full && car.storey() == 3 && car.doors() != DoorState::Closed;
            return tower.find(Kind::Alighted, 2) != nullptr;
        }));
        EXPECT_FALSE(openedFull);
        EXPECT_LT(tower.find(Kind::Alighted, 1)->tick, tower.find(Kind::Boarded, 2)->tick);
    }
}

TEST(Shaft, aCallGoesToTheCarThatGetsThereFirst) {
    Tower tower(StoreySet::range(0, 9), 2, DispatchKind::Eta, carrying(1));
    Shaft& shaft = *tower.shaft;
    ASSERT_TRUE(shaft.call(1, 0, 9));
    ASSERT_TRUE(tower.runUntil([&] { return tower.find(Kind::Boarded, 1); }));
    tower.step();
    // Car 0 is full and on its way up: it would come back for this call only after the top floor.
    ASSERT_TRUE(shaft.call(2, 4, 8));
    ASSERT_TRUE(tower.runUntil([&] { return tower.find(Kind::Boarded, 2); }));
    EXPECT_EQ(1, tower.find(Kind::Boarded, 2)->car);
}

TEST(Shaft, closingDoorsOpenAgainForSomeoneWhoComes) {
    Tower tower(StoreySet::range(0, 5));
    Shaft& shaft = *tower.shaft;
    ASSERT_TRUE(shaft.call(1, 0, 3));
    ASSERT_TRUE(tower.runUntil([&] { return shaft.car(0).doors() == DoorState::Closing; }));
    tower.step();
    ASSERT_TRUE(shaft.call(2, 0, 3));
    ASSERT_TRUE(tower.runUntil([&] { return tower.find(Kind::Alighted, 2); }));
    EXPECT_EQ(0, tower.find(Kind::Boarded, 2)->car);
    EXPECT_EQ(0, tower.find(Kind::Boarded, 2)->storey);
    // One trip for both: doors that had shut a little opened a little.
    const CarTiming t;
    EXPECT_GE(t.openTicks() + t.transferTicks, tower.find(Kind::Boarded, 2)->tick - tower.find(Kind::Boarded, 1)->tick);
    EXPECT_EQ(2, shaft.stats().delivered);
}

TEST(Shaft, anotherCarComesForThoseTheFirstCannotTake) {
    for (DispatchKind dispatch : {DispatchKind::Collective, DispatchKind::Eta}) {
        Tower tower(StoreySet::range(0, 9), 2, dispatch, carrying(1));
        Shaft& shaft = *tower.shaft;
        ASSERT_TRUE(shaft.call(1, 0, 5));
        ASSERT_TRUE(tower.runUntil([&] { return tower.find(Kind::Alighted, 1) && tower.idle(); }));
        const int away = tower.find(Kind::Alighted, 1)->car;
        ASSERT_TRUE(shaft.call(2, 0, 9));
        ASSERT_TRUE(shaft.call(3, 0, 9));
        ASSERT_TRUE(tower.runUntil([&] { return tower.find(Kind::Boarded, 3); }));
        EXPECT_EQ(away, tower.find(Kind::Boarded, 3)->car) << "the car waiting at 5 came down";
        EXPECT_EQ(nullptr, tower.find(Kind::Alighted, 2)) << "before the other car was back";
    }
}

TEST(Shaft, onlyTheNearestIdleCarSetsOffForACall) {
    Tower tower(StoreySet::range(0, 9), 3, DispatchKind::Collective);
    Shaft& shaft = *tower.shaft;
    ASSERT_TRUE(shaft.call(1, 0, 6));
    ASSERT_TRUE(tower.runUntil([&] { return tower.find(Kind::Alighted, 1); }));
    ASSERT_TRUE(tower.runUntil([&] { return tower.idle(); }));
    const int farCar = tower.find(Kind::Alighted, 1)->car;
    ASSERT_TRUE(shaft.call(2, 7, 0));
    ASSERT_TRUE(tower.runUntil([&] { return tower.find(Kind::Boarded, 2); }));
    EXPECT_EQ(farCar, tower.find(Kind::Boarded, 2)->car) << "the car resting at 6 is the nearest";
    for (int i = 0; i < shaft.carCount(); ++i)
        if (i != farCar) {
            EXPECT_EQ(0, shaft.car(i).position()) << "car " << i << " stayed at the lobby";
        }
}

TEST(Shaft, anIdleCarParksAtTheStoreyAskedFor) {
    Tower tower(StoreySet::range(2, 8));
    Shaft& shaft = *tower.shaft;
    ASSERT_TRUE(shaft.call(1, 2, 8));
    ASSERT_TRUE(tower.runUntil([&] { return tower.find(Kind::Alighted, 1) && tower.idle(); }));
    EXPECT_EQ(8 * shaft.timing().ticksPerStorey, shaft.car(0).position()) << "without parking it stays";
    ASSERT_TRUE(shaft.setParkingStorey(shaft.served().lowest()));
    tower.step();
    EXPECT_EQ(Direction::Down, shaft.car(0).direction());
    EXPECT_EQ(2, shaft.car(0).goal());
    ASSERT_TRUE(tower.runUntil([&] { return tower.idle(); }));
    EXPECT_EQ(2 * shaft.timing().ticksPerStorey, shaft.car(0).position());
    EXPECT_EQ(DoorState::Closed, shaft.car(0).doors());
    EXPECT_EQ(Direction::None, shaft.car(0).direction());
    EXPECT_EQ(noStorey, shaft.car(0).goal());
}

TEST(Shaft, shrinkingOrClosingPutsEveryoneOutAndHandsTheWaitingBack) {
    const int perStorey = CarTiming().ticksPerStorey;
    Tower tower(StoreySet::range(0, 9));
    Shaft& shaft = *tower.shaft;
    ASSERT_TRUE(shaft.call(1, 0, 9));
    ASSERT_TRUE(shaft.call(2, 0, 8));
    ASSERT_TRUE(tower.runUntil([&] { return shaft.car(0).position() == 6 * perStorey + 2; }));
    ASSERT_TRUE(shaft.call(3, 5, 0));
    ASSERT_TRUE(shaft.call(4, 2, 3));
    // The car passes storey 6, which goes with 7 and 8; 5 is nearer than 9.
    std::vector<ShaftEvent> events;
    shaft.changeServed(StoreySet(0b1000111111), events);
    const std::vector<ShaftEvent> expected{{Kind::PutOut, 1, 0, 5, shaft.now()},
                                           {Kind::PutOut, 2, 0, 5, shaft.now()},
                                           {Kind::HandedBack, 4, noCar, 2, shaft.now()},
                                           {Kind::HandedBack, 3, noCar, 5, shaft.now()}};
    EXPECT_EQ(expected, events);
    EXPECT_EQ(5 * perStorey, shaft.car(0).position());
    EXPECT_EQ(Car::Activity::Idle, shaft.car(0).activity());
    EXPECT_FALSE(shaft.call(5, 0, 8));
    events.clear();
    shaft.changeServed(StoreySet::range(0, 9), events);
    EXPECT_TRUE(events.empty()) << "growing puts nobody out";

    ASSERT_TRUE(shaft.call(5, 0, 8));
    ASSERT_TRUE(
        tower.runUntil([&] { return tower.find(Kind::Boarded, 5) && shaft.car(0).position() == 4 * perStorey - 2; }));
    shaft.close(events);
    ASSERT_EQ(1u, events.size());
    EXPECT_EQ(Kind::PutOut, events[0].kind);
    EXPECT_EQ(4, events[0].storey) << "the storey the car is passing";
    EXPECT_TRUE(shaft.served().empty());
    EXPECT_FALSE(shaft.call(6, 0, 1));
}

// The i-th number of a record replaced by text.
std::vector<std::string> changed(std::vector<std::string> records, size_t record, size_t field,
                                 const std::string& text) {
    std::string& line = records[record];
    size_t start = 0;
    for (size_t i = 0; i < field; ++i)
        start = line.find(' ', start) + 1;
    line.replace(start, line.find(' ', start) - start, text);
    return records;
}

TEST(Shaft, loadRefusesImpossibleRecordsAndKeepsWhatItHad) {
    Tower tower(StoreySet::range(0, 6), 2, DispatchKind::Eta, carrying(2));
    Shaft& shaft = *tower.shaft;
    ASSERT_TRUE(shaft.call(1, 0, 6));
    ASSERT_TRUE(tower.runUntil([&] { return tower.find(Kind::Boarded, 1); }));
    ASSERT_TRUE(shaft.call(2, 4, 1));
    tower.step();
    const std::vector<std::string> saved = shaft.save();
    // The shaft; car 0 with passenger 1; car 1; passenger 2 waiting at 4 to go down.
    ASSERT_EQ(4u, saved.size());
    ASSERT_EQ(0, tower.find(Kind::Boarded, 1)->car);
    ASSERT_EQ("2 4 -1 2 1 2 4 1", saved[3].substr(0, 16)) << "given to car 1";

    auto refused = [&](const std::vector<std::string>& records, const char* why) {
        EXPECT_FALSE(shaft.load(records)) << why;
        EXPECT_EQ(saved, shaft.save()) << why;
    };
    refused({}, "nothing");
    refused({saved[0], saved[1], saved[3]}, "a car missing");
    std::vector<std::string> twice = saved;
    twice.push_back(saved[3]);
    refused(twice, "a hall twice");
    refused(changed(saved, 0, 3, "3"), "three cars for two");
    refused(changed(saved, 0, 2, "7"), "parked at a storey not served");
    refused(changed(saved, 0, 1, "x"), "not a number");
    refused(changed(saved, 0, 7, "0 0"), "one number too many");
    refused(changed(saved, 2, 2, "155"), "a car above its shaft");
    refused(changed(changed(saved, 2, 3, "0"), 2, 4, "1"), "moving without a direction");
    refused(changed(changed(saved, 2, 4, "2"), 2, 5, "9"), "doors opening for longer than they take");
    refused(changed(saved, 1, 7, "3 8 0 3 0 9 0 2 0"), "three riders in a car for two");
    refused(changed(saved, 3, 5, "1"), "someone both riding and waiting");
    refused(changed(saved, 3, 8, std::to_string(shaft.now() + 1)), "called in the future");
    refused(changed(saved, 3, 7, "7"), "bound for a storey not served");
    refused(changed(saved, 3, 2, "1"), "going down in the line going up");
    refused(changed(saved, 3, 3, "4"), "given to a third car of two");

    EXPECT_TRUE(shaft.load(changed(saved, 1, 7, "2 8 0 3 0"))) << "a second rider fits";
    EXPECT_EQ(2, shaft.car(0).load());
    EXPECT_TRUE(shaft.load(saved));
    EXPECT_EQ(saved, shaft.save());
}

TEST(Shaft, aSteadyRunAllocatesNothing) {
    if (!allocation_count::counting()) GTEST_SKIP() << "the sanitizer's allocator stands in the way";
    Tower tower(StoreySet::range(0, 12), 3);
    study::TrafficSource source(study::TrafficKind::Lunch, 12, 60000, 5);
    std::vector<study::Trip> trips;
    trips.reserve(16);
    tower.events.reserve(4096);
    int id = 0;
    auto run = [&](int ticks) {
        for (int i = 0; i < ticks; ++i) {
            trips.clear();
            source.nextTick(trips);
            for (const study::Trip& trip : trips)
                tower.shaft->call(id++, trip.origin, trip.destination);
            tower.events.clear();
            tower.shaft->step(tower.events);
        }
    };
    run(20000);
    const unsigned long before = allocation_count::now();
    run(2000);
    EXPECT_EQ(before, allocation_count::now());
    EXPECT_GT(tower.shaft->stats().delivered, 1000);
}

}  // namespace
