// Seeded random runs of small shafts, every invariant checked after every
// tick: everyone accepted is in exactly one place, no car is over capacity or
// outside its shaft or open where it does not stop, everyone arrives within a
// bound, and a copy loaded from a save in the middle runs on identically.
// The checks are plain code that names the first thing broken: they run ten
// thousand times a suite, also under the sanitizers.
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

bool inside(Fate fate) { return fate == Fate::Waiting || fate == Fate::Riding; }

class Run {
public:
    explicit Run(std::uint64_t seed) : chance(seed, 11) {
        span = chance.uniform(2, 8);
        while (served.count() < 2)
            served = StoreySet(static_cast<std::uint32_t>(chance.next()) & storeyBits::below(span));
        cars = chance.uniform(1, 3);
        timing.ticksPerStorey = chance.uniform(1, 3);
        timing.stopTicks = chance.uniform(1, 4);
        timing.transferTicks = chance.uniform(1, 2);
        timing.capacity = chance.uniform(1, 4);
        dispatch = chance.chancePerMille(500) ? DispatchKind::Eta : DispatchKind::Collective;
        shaft = Shaft::create(served, cars, timing, dispatch);
        // However the cars are held up, a sweep each way of a car serves
        // someone while anyone waits.
        cycle = 2 * (span * timing.ticksPerStorey +
                     (span + 1) * (timing.stopTicks + 2 * timing.capacity * timing.transferTicks));
    }

    // The first thing that went wrong, or null.
    const char* play() {
        const int callTicks = chance.uniform(3, 30);
        const int splitAt = chance.uniform(0, callTicks + 10);
        const int changeAt = chance.chancePerMille(300) ? chance.uniform(0, callTicks + 10) : -1;
        const char* problem = nullptr;
        for (tick = 0; !problem; ++tick) {
            if (tick == splitAt && (problem = split())) break;
            if (tick < callTicks && (problem = calls())) break;
            if (tick == changeAt && (problem = changeServed())) break;
            if (chance.chancePerMille(20) && (problem = park())) break;
            if ((problem = step()) || (problem = broken())) break;
            if (tick >= callTicks && present == 0) break;
            if (tick > callTicks + (accepted + 1) * cycle) return "someone was never served";
        }
        if (!problem && twin && shaft->save() != twin->save()) return "the loaded copy ended elsewhere";
        return problem;
    }
    int at() const { return tick; }

private:
    const char* calls() {
        for (int n = chance.uniform(0, 2); n > 0; --n) {
            const int origin = anyStorey();
            const int destination = anyStorey();
            // Now and then someone already in the shaft calls again.
            int id = static_cast<int>(people.size());
            if (id > 0 && chance.chancePerMille(100)) id = chance.uniform(0, id - 1);
            if (id == static_cast<int>(people.size())) people.emplace_back();
            Person& person = people[id];
            const bool expected = !inside(person.fate) && origin != destination && shaft->served().contains(origin) &&
                                  shaft->served().contains(destination);
            if (shaft->call(id, origin, destination) != expected) return "a call accepted or refused wrongly";
            if (twin && twin->call(id, origin, destination) != expected) return "the copy took a call otherwise";
            if (!expected) continue;
            person = Person{Fate::Waiting, Passenger{id, origin, destination, shaft->now()}, noCar};
            ++accepted;
            ++present;
        }
        return nullptr;
    }

    // Mostly one the shaft serves, so that the cars get busy.
    int anyStorey() {
        const StoreySet now = shaft->served();
        if (now.empty() || chance.chancePerMille(200)) return chance.uniform(0, span - 1);
        int storey = chance.uniform(now.lowest(), now.highest());
        while (!now.contains(storey))
            ++storey;
        return storey;
    }

    const char* changeServed() {
        StoreySet next(static_cast<std::uint32_t>(chance.next()) & storeyBits::below(span));
        if (chance.chancePerMille(300)) next = StoreySet(next.bits() | shaft->served().bits());
        const bool shrinks = !next.includes(shaft->served());
        const int before = present;
        events.clear();
        twinEvents.clear();
        for (Shaft* each : {shaft.get(), twin.get()}) {
            if (!each) continue;
            std::vector<ShaftEvent>& out = each == shaft.get() ? events : twinEvents;
            if (next.empty()) {
                each->close(out);
            } else {
                each->changeServed(next, out);
            }
        }
        if (twin && events != twinEvents) return "the copy put out others";
        if (int(events.size()) != (shrinks ? before : 0)) return "not everyone was put out or handed back";
        for (const ShaftEvent& event : events) {
            Person& person = people[event.passenger];
            if (event.kind == ShaftEvent::Kind::PutOut) {
                if (person.fate != Fate::Riding || person.car != event.car) return "put out someone not riding";
                if (!next.empty() && !next.contains(event.storey)) return "put out at a storey not served";
            } else if (event.kind == ShaftEvent::Kind::HandedBack) {
                if (person.fate != Fate::Waiting || person.trip.origin != event.storey)
                    return "handed back someone not waiting there";
            } else {
                return "someone travelled while the shaft changed";
            }
            person.fate = Fate::Out;
            --present;
        }
        return nullptr;
    }

    const char* park() {
        const int storey = chance.uniform(noStorey, span - 1);
        const bool expected = storey == noStorey || shaft->served().contains(storey);
        if (shaft->setParkingStorey(storey) != expected) return "parking accepted or refused wrongly";
        if (twin) twin->setParkingStorey(storey);
        return nullptr;
    }

    // A copy of the shaft made from its save runs on beside it.
    const char* split() {
        const std::vector<std::string> saved = shaft->save();
        twin = Shaft::create(served, cars, timing, dispatch);
        std::vector<ShaftEvent> none;
        if (twin->served() != shaft->served()) twin->changeServed(shaft->served(), none);
        if (!twin->load(saved)) return "a save did not load";
        if (twin->save() != saved) return "a loaded save saved otherwise";
        return nullptr;
    }

    const char* step() {
        events.clear();
        shaft->step(events);
        if (twin) {
            twinEvents.clear();
            twin->step(twinEvents);
            if (events != twinEvents) return "the loaded copy ran otherwise";
        }
        for (const ShaftEvent& event : events) {
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
                --present;
            } else {
                return "someone put out while the shaft just ran";
            }
        }
        return nullptr;
    }

    const char* broken() {
        seen.assign(people.size(), 0);
        const StoreySet now = shaft->served();
        auto known = [this](int id) { return id >= 0 && id < int(people.size()); };
        for (int storey = 0; storey < span; ++storey) {
            for (Direction direction : {Direction::Up, Direction::Down}) {
                const PassengerQueue& line = shaft->waiting(storey, direction);
                for (int i = 0; i < line.size(); ++i) {
                    const Passenger& waiter = line.at(i);
                    if (!known(waiter.id) || people[waiter.id].fate != Fate::Waiting) return "a stranger waits";
                    if (!(people[waiter.id].trip == waiter) || waiter.direction() != direction)
                        return "someone waits in the wrong place";
                    ++seen[waiter.id];
                }
                const std::uint32_t owners = shaft->assignedCars(storey, direction);
                if (owners && ((owners >> cars) || line.empty())) return "a call given to no one";
            }
        }
        for (int index = 0; index < cars; ++index) {
            const Car& car = shaft->car(index);
            if (car.load() > timing.capacity) return "a car over capacity";
            if (!now.empty() && (car.position() < now.lowest() * timing.ticksPerStorey ||
                                 car.position() > now.highest() * timing.ticksPerStorey))
                return "a car outside its shaft";
            if (car.doors() != DoorState::Closed && !(car.atStorey() && now.contains(car.storey())))
                return "doors open where the car does not stop";
            if (car.activity() == Car::Activity::Idle && !now.empty() && !now.contains(car.storey()))
                return "a car waits where it cannot open";
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
            if (seen[id] != (inside(people[id].fate) ? 1 : 0))
                return seen[id] > 1 ? "someone is twice in the shaft" : "someone is lost";
        }
        return nullptr;
    }

    Random chance;
    int span = 0;  // the building's storeys, 0 .. span-1
    StoreySet served;
    int cars = 1;
    CarTiming timing;
    DispatchKind dispatch = DispatchKind::Eta;
    std::unique_ptr<Shaft> shaft, twin;
    std::vector<Person> people;
    std::vector<int> seen;
    std::vector<ShaftEvent> events, twinEvents;
    int accepted = 0;
    int present = 0;  // waiting or riding
    int cycle = 0;
    int tick = 0;
};

void runMany(std::uint64_t first, int count) {
    for (std::uint64_t seed = first; seed < first + count; ++seed) {
        Run run(seed);
        if (const char* problem = run.play()) {
            ADD_FAILURE() << problem << " (seed " << seed << ", tick " << run.at() << ")";
            return;
        }
    }
}

// Four suites, so that they spread over the test runner's jobs.
TEST(ShaftProperties, seedsFrom0) { runMany(0, 2500); }
TEST(ShaftProperties, seedsFrom2500) { runMany(2500, 2500); }
TEST(ShaftProperties, seedsFrom5000) { runMany(5000, 2500); }
TEST(ShaftProperties, seedsFrom7500) { runMany(7500, 2500); }

}  // namespace
