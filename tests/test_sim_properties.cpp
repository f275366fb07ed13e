// Seeded random runs of small shafts, every invariant checked after every
// tick: everyone accepted is in exactly one place, no car is over capacity or
// outside its shaft or open where it does not stop, everyone arrives within a
// bound, and a copy loaded from a save in the middle runs on identically.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Random.h"
#include "Shaft.h"

namespace {

using namespace sim;

enum class Fate { Unknown, Waiting, Riding, Delivered, Out };

struct Person {
    Fate fate = Fate::Unknown;
    Passenger trip;
    int car = noCar;
};

struct Setup {
    StoreySet served;
    int span = 0;  // storeys 0 .. span-1 are in the building
    int cars = 1;
    CarTiming timing;
    DispatchKind dispatch = DispatchKind::Eta;
};

Setup randomSetup(Random& chance) {
    Setup setup;
    setup.span = chance.uniform(2, 10);
    while (setup.served.count() < 2)
        setup.served = StoreySet(static_cast<std::uint32_t>(chance.next()) & storeyBits::below(setup.span));
    setup.cars = chance.uniform(1, 3);
    setup.timing.ticksPerStorey = chance.uniform(1, 3);
    setup.timing.stopTicks = chance.uniform(1, 4);
    setup.timing.transferTicks = chance.uniform(1, 2);
    setup.timing.capacity = chance.uniform(1, 4);
    setup.dispatch = chance.chancePerMille(500) ? DispatchKind::Eta : DispatchKind::Collective;
    return setup;
}

class Run {
public:
    explicit Run(std::uint64_t seed) : chance(seed, 11) {
        setup = randomSetup(chance);
        shaft = Shaft::create(setup.served, setup.cars, setup.timing, setup.dispatch);
        // However a car is held up, one sweep each way of every car serves
        // someone while anyone waits.
        const CarTiming& t = setup.timing;
        cycle = 2 * (setup.span * t.ticksPerStorey + (setup.span + 1) * (t.stopTicks + 2 * t.capacity * t.transferTicks));
    }

    void play() {
        const int callTicks = chance.uniform(5, 80);
        const int splitAt = chance.uniform(0, callTicks + 20);
        const int changeAt = chance.chancePerMille(300) ? chance.uniform(0, callTicks + 20) : -1;
        for (int tick = 0; !HasFailure(); ++tick) {
            if (tick == splitAt) split();
            if (tick < callTicks) calls();
            if (tick == changeAt) changeServed();
            if (chance.chancePerMille(20)) park();
            step();
            const char* problem = broken();
            ASSERT_EQ(nullptr, problem) << problem << " at tick " << tick;
            if (tick >= callTicks && inShaft() == 0) break;
            ASSERT_LT(tick, callTicks + (accepted + 1) * cycle) << "someone was never served";
        }
        if (twin) {
            EXPECT_EQ(shaft->save(), twin->save());
        }
    }

    static bool HasFailure() { return ::testing::Test::HasFailure(); }

private:
    void calls() {
        for (int n = chance.uniform(0, 3); n > 0; --n) {
            const int origin = anyStorey();
            const int destination = anyStorey();
            // Now and then someone already in the shaft calls again.
            const int id = chance.chancePerMille(100) && !people.empty() ? chance.uniform(0, int(people.size()) - 1)
                                                                          : int(people.size());
            if (id == int(people.size())) people.emplace_back();
            Person& person = people[id];
            const bool present = person.fate == Fate::Waiting || person.fate == Fate::Riding;
            const bool expected = !present && origin != destination && shaft->served().contains(origin) &&
                                  shaft->served().contains(destination);
            ASSERT_EQ(expected, shaft->call(id, origin, destination)) << origin << "->" << destination;
            if (twin) {
                ASSERT_EQ(expected, twin->call(id, origin, destination));
            }
            if (!expected) continue;
            person = Person{Fate::Waiting, Passenger{id, origin, destination, shaft->now()}, noCar};
            ++accepted;
        }
    }

    // Mostly one the shaft serves, so that the cars get busy.
    int anyStorey() {
        const StoreySet served = shaft->served();
        if (served.empty() || chance.chancePerMille(200)) return chance.uniform(0, setup.span - 1);
        int storey = chance.uniform(served.lowest(), served.highest());
        while (!served.contains(storey)) ++storey;
        return storey;
    }

    void changeServed() {
        StoreySet next(static_cast<std::uint32_t>(chance.next()) & storeyBits::below(setup.span));
        if (chance.chancePerMille(300)) next = StoreySet(next.bits() | shaft->served().bits());
        const bool shrinks = !next.includes(shaft->served());
        const int before = inShaft();
        events.clear();
        if (next.empty()) {
            shaft->close(events);
        } else {
            shaft->changeServed(next, events);
        }
        ASSERT_EQ(shrinks ? before : 0, int(events.size()));
        for (const ShaftEvent& event : events) {
            Person& person = people[event.passenger];
            if (event.kind == ShaftEvent::Kind::PutOut) {
                ASSERT_EQ(Fate::Riding, person.fate);
                ASSERT_EQ(person.car, event.car);
                if (!next.empty()) {
                    EXPECT_TRUE(next.contains(event.storey));
                }
            } else {
                ASSERT_EQ(ShaftEvent::Kind::HandedBack, event.kind);
                ASSERT_EQ(Fate::Waiting, person.fate);
                ASSERT_EQ(person.trip.origin, event.storey);
            }
            person.fate = Fate::Out;
        }
        if (twin) {
            std::vector<ShaftEvent> twinEvents;
            if (next.empty()) {
                twin->close(twinEvents);
            } else {
                twin->changeServed(next, twinEvents);
            }
            ASSERT_EQ(events, twinEvents);
        }
    }

    void park() {
        const int storey = chance.uniform(-1, setup.span - 1);
        const bool expected = storey == noStorey || shaft->served().contains(storey);
        ASSERT_EQ(expected, shaft->setParkingStorey(storey));
        if (twin) twin->setParkingStorey(storey);
    }

    // A copy of the shaft made from its save runs on beside it.
    void split() {
        const std::vector<std::string> saved = shaft->save();
        twin = Shaft::create(setup.served, setup.cars, setup.timing, setup.dispatch);
        if (twin->served() != shaft->served()) {
            std::vector<ShaftEvent> none;
            twin->changeServed(shaft->served(), none);
        }
        ASSERT_TRUE(twin->load(saved));
        ASSERT_EQ(saved, twin->save());
    }

    void step() {
        events.clear();
        shaft->step(events);
        if (twin) {
            twinEvents.clear();
            twin->step(twinEvents);
            ASSERT_EQ(events, twinEvents) << "at tick " << shaft->now();
        }
        const char* problem = followed(events);
        ASSERT_EQ(nullptr, problem) << problem << " at tick " << shaft->now();
    }

    // Moves everyone the events name on; the first event that cannot have happened, or null.
    const char* followed(const std::vector<ShaftEvent>& happened) {
        for (const ShaftEvent& event : happened) {
            if (event.passenger < 0 || event.passenger >= int(people.size())) return "an event for a stranger";
            Person& person = people[event.passenger];
            const Car& car = shaft->car(event.car);
            if (car.storey() != event.storey) return "an event away from the car";
            if (event.kind == ShaftEvent::Kind::Boarded) {
                if (person.fate != Fate::Waiting || person.trip.origin != event.storey)
                    return "someone got in who was not waiting there";
                if (person.trip.direction() != car.direction()) return "someone got in going the other way";
                person.fate = Fate::Riding;
                person.car = event.car;
            } else if (event.kind == ShaftEvent::Kind::Alighted) {
                if (person.fate != Fate::Riding || person.car != event.car || person.trip.destination != event.storey)
                    return "someone got out who was not riding there";
                person.fate = Fate::Delivered;
            } else {
                return "someone put out while the shaft just ran";
            }
        }
        return nullptr;
    }

    int inShaft() const {
        int count = 0;
        for (const Person& person : people) count += person.fate == Fate::Waiting || person.fate == Fate::Riding;
        return count;
    }

    // The first broken invariant, or null. Plain checks: this runs after
    // every tick of every run.
    const char* broken() {
        seen.assign(people.size(), 0);
        const StoreySet served = shaft->served();
        const CarTiming& timing = shaft->timing();
        auto known = [this](int id) { return id >= 0 && id < int(people.size()); };
        for (int storey = 0; storey < setup.span; ++storey) {
            for (Direction direction : {Direction::Up, Direction::Down}) {
                const PassengerQueue& line = shaft->waiting(storey, direction);
                for (int i = 0; i < line.size(); ++i) {
                    const Passenger& waiter = line.at(i);
                    if (!known(waiter.id) || people[waiter.id].fate != Fate::Waiting) return "a stranger waits";
                    if (!(people[waiter.id].trip == waiter) || waiter.direction() != direction)
                        return "someone waits in the wrong place";
                    ++seen[waiter.id];
                }
                const int owner = shaft->assignedCar(storey, direction);
                if (owner != noCar && (owner >= shaft->carCount() || line.empty())) return "a call given to no one";
            }
        }
        for (int index = 0; index < shaft->carCount(); ++index) {
            const Car& car = shaft->car(index);
            if (car.load() > timing.capacity) return "a car over capacity";
            if (!served.empty() && (car.position() < served.lowest() * timing.ticksPerStorey ||
                                    car.position() > served.highest() * timing.ticksPerStorey))
                return "a car outside its shaft";
            if (car.doors() != DoorState::Closed && !(car.atStorey() && served.contains(car.storey())))
                return "doors open where the car does not stop";
            std::uint32_t calls = 0;
            for (const Passenger& rider : car.riders()) {
                if (!known(rider.id) || people[rider.id].fate != Fate::Riding || people[rider.id].car != index)
                    return "a stranger rides";
                ++seen[rider.id];
                calls |= storeyBits::bit(rider.destination);
            }
            if (calls != car.callMask()) return "car calls are not the riders' destinations";
        }
        for (size_t id = 0; id < people.size(); ++id) {
            const bool inside = people[id].fate == Fate::Waiting || people[id].fate == Fate::Riding;
            if (seen[id] != (inside ? 1 : 0)) return seen[id] > 1 ? "someone is twice in the shaft" : "someone is lost";
        }
        return nullptr;
    }

    Random chance;
    Setup setup;
    std::unique_ptr<Shaft> shaft, twin;
    std::vector<Person> people;
    std::vector<int> seen;
    std::vector<ShaftEvent> events, twinEvents;
    int accepted = 0;
    int cycle = 0;
};

void runMany(std::uint64_t first, int count) {
    for (std::uint64_t seed = first; seed < first + count; ++seed) {
        Run(seed).play();
        ASSERT_FALSE(::testing::Test::HasFailure()) << "seed " << seed;
    }
}

// Four suites so that they spread over the test runner's jobs.
TEST(ShaftProperties, seedsFrom0) { runMany(0, 2500); }
TEST(ShaftProperties, seedsFrom2500) { runMany(2500, 2500); }
TEST(ShaftProperties, seedsFrom5000) { runMany(5000, 2500); }
TEST(ShaftProperties, seedsFrom7500) { runMany(7500, 2500); }

}  // namespace
