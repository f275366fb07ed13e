#include "Shaft.h"

#include <algorithm>
#include <utility>

#include "CollectiveDispatcher.h"
#include "EtaDispatcher.h"
#include "Sweep.h"
#include "shaftRecords.h"

namespace sim {

namespace {

std::unique_ptr<Dispatcher> makeDispatcher(DispatchKind kind) {
    if (kind == DispatchKind::Collective) return std::make_unique<CollectiveDispatcher>();
    return std::make_unique<EtaDispatcher>();
}

using Activity = Car::Activity;

}  // namespace

std::unique_ptr<Shaft> Shaft::create(StoreySet served, int cars, const CarTiming& timing, DispatchKind dispatch,
                                     Tick start) {
    if (served.empty() || cars < 1 || cars > maxCars || !timing.valid() || start < 0) return nullptr;
    return std::make_unique<Shaft>(Key(), served, cars, timing, dispatch, start);
}

Shaft::Shaft(Key, StoreySet served, int cars, const CarTiming& timing, DispatchKind dispatch, Tick start)
    : group(served, cars, timing), kind(dispatch), dispatcher(makeDispatcher(dispatch)) {
    group.clock = start;
    leaving.reserve(static_cast<size_t>(cars) * timing.capacity);
}

Shaft::~Shaft() = default;

bool Shaft::holds(int passenger) const {
    for (const Car& car : group.cars)
        for (const Passenger& rider : car.riders())
            if (rider.id == passenger) return true;
    for (Direction direction : {Direction::Up, Direction::Down}) {
        for (std::uint32_t left = group.waiting(direction); left; left &= left - 1) {
            const PassengerQueue& line = group.hall(storeyBits::lowest(left), direction);
            for (int i = 0; i < line.size(); ++i)
                if (line.at(i).id == passenger) return true;
        }
    }
    return false;
}

bool Shaft::call(int passenger, int origin, int destination) {
    if (passenger < 0 || origin == destination || !group.served.contains(origin) ||
        !group.served.contains(destination) || holds(passenger))
        return false;
    group.enqueue(Passenger{passenger, origin, destination, group.clock});
    return true;
}

void Shaft::step(std::vector<ShaftEvent>& events) {
    dispatcher->assign(group);
    for (int index = 0; index < carCount(); ++index)
        stepCar(index, events);
    ++group.clock;
}

// Each tick is spent on what the car was set to do; whenever that ends, what
// comes next is decided at once, so no tick goes to deciding.
void Shaft::stepCar(int index, std::vector<ShaftEvent>& events) {
    Car& car = group.cars[index];
    if (car.activity() == Activity::Idle) {
        settle(index, events);
        if (car.activity() == Activity::Idle) return;
    }
    switch (car.activity()) {
    case Activity::Moving:
        car.move();
        if (car.atStorey()) arrive(index, events);
        break;
    case Activity::Opening:
    case Activity::Boarding:
        if (car.countDown()) nextTransfer(index, events);
        break;
    case Activity::Alighting:
        if (car.countDown()) {
            Passenger rider;
            if (car.alight(rider)) {
                ++group.stats.delivered;
                events.push_back({ShaftEvent::Kind::Alighted, rider.id, index, rider.destination, group.clock});
            }
            nextTransfer(index, events);
        }
        break;
    case Activity::Closing:
        if (car.load() < group.timing.capacity && !group.hall(car.storey(), car.direction()).empty()) {
            // Someone came up while the doors shut: they open again from where they are.
            const int shut = group.timing.closeTicks() - car.ticksLeft();
            const int open = std::min(group.timing.openTicks(), std::max(shut, 1));
            if (group.timing.openTicks() == 0) {
                nextTransfer(index, events);
            } else {
                car.start(Activity::Opening, open);
                if (car.countDown()) nextTransfer(index, events);
            }
        } else if (car.countDown()) {
            car.start(Activity::Idle, 0);
            // Left behind, full or late: let the call be given out again.
            const int here = car.storey();
            if (!group.hall(here, car.direction()).empty()) group.release(here, car.direction(), index);
            settle(index, events);
        }
        break;
    case Activity::Idle:
        break;
    }
}

sweep::Decision Shaft::decide(int index, bool atRest) const {
    const Car& car = group.cars[index];
    const CallMasks answered = dispatcher->answered(group, index);
    // Those the cars with their doors open have room for are no one else's to open for.
    std::uint32_t waitingUp = group.waiting(Direction::Up), waitingDown = group.waiting(Direction::Down);
    for (int other = 0; other < carCount(); ++other) {
        const Car& stopped = group.cars[other];
        if (other == index || stopped.doors() == DoorState::Closed) continue;
        const int here = stopped.storey();
        const Direction way = stopped.direction();
        int room = 0;
        for (const Car& alongside : group.cars)
            if (alongside.doors() != DoorState::Closed && alongside.storey() == here && alongside.direction() == way)
                room += group.timing.capacity - alongside.load();
        if (group.hall(here, way).size() <= room)
            (way == Direction::Up ? waitingUp : waitingDown) &= ~storeyBits::bit(here);
    }
    return sweep::decide({car.storey(), car.direction(), car.callMask(), answered.up, answered.down, waitingUp,
                          waitingDown, car.load() >= group.timing.capacity, atRest});
}

void Shaft::head(int index, Direction direction, int goal) {
    Car& car = group.cars[index];
    car.setDirection(direction);
    car.start(Activity::Moving, 0);
    car.setGoal(goal);
}

// The car stands at a storey with its doors closed.
void Shaft::settle(int index, std::vector<ShaftEvent>& events) {
    Car& car = group.cars[index];
    const sweep::Decision next = decide(index, true);
    if (next.move == sweep::Move::Stop) return beginStop(index, next.direction, events);
    if (next.move == sweep::Move::Go) return head(index, next.direction, goalAhead(index, next.direction));
    car.setDirection(Direction::None);
    car.start(Activity::Idle, 0);
    car.setGoal(noStorey);
    const int here = car.storey();
    // Never left waiting at a storey it cannot open at.
    const int rest = group.parking != noStorey ? group.parking : group.served.nearest(here);
    if (rest != noStorey && rest != here) head(index, towards(here, rest), rest);
}

void Shaft::arrive(int index, std::vector<ShaftEvent>& events) {
    Car& car = group.cars[index];
    const int here = car.storey();
    if (car.load() >= group.timing.capacity) group.release(here, car.direction(), index);
    const sweep::Decision next = decide(index, false);
    if (next.move == sweep::Move::Stop) return beginStop(index, next.direction, events);
    if (next.move == sweep::Move::Go) return head(index, next.direction, goalAhead(index, next.direction));
    car.start(Activity::Idle, 0);
    settle(index, events);
}

int Shaft::goalAhead(int index, Direction direction) const {
    const Car& car = group.cars[index];
    const CallMasks answered = dispatcher->answered(group, index);
    const int goal = sweep::nextOnTheWay(car.callMask() | answered.up | answered.down,
                                         car.storey() + static_cast<int>(direction), direction);
    return goal != noStorey ? goal : group.parking;
}

void Shaft::beginStop(int index, Direction serving, std::vector<ShaftEvent>& events) {
    Car& car = group.cars[index];
    car.setDirection(serving);
    car.setGoal(car.storey());
    if (group.timing.openTicks() > 0) return car.start(Activity::Opening, group.timing.openTicks());
    nextTransfer(index, events);
}

// Out first, then in, one at a time, first come first served.
void Shaft::nextTransfer(int index, std::vector<ShaftEvent>& events) {
    Car& car = group.cars[index];
    const int here = car.storey();
    if (car.alightingAt(here) > 0) return car.start(Activity::Alighting, group.timing.transferTicks);
    if (car.load() < group.timing.capacity && !group.hall(here, car.direction()).empty()) {
        const Passenger passenger = group.dequeue(here, car.direction());
        car.board(passenger);
        const Tick waited = group.clock - passenger.calledAt;
        ++group.stats.boarded;
        group.stats.waitTicks += waited;
        if (waited > group.stats.longestWait) group.stats.longestWait = waited;
        events.push_back({ShaftEvent::Kind::Boarded, passenger.id, index, here, group.clock});
        return car.start(Activity::Boarding, group.timing.transferTicks);
    }
    car.start(Activity::Closing, group.timing.closeTicks());
}

bool Shaft::setParkingStorey(int storey) {
    if (storey != noStorey && !group.served.contains(storey)) return false;
    group.parking = storey;
    return true;
}

void Shaft::changeServed(StoreySet served, std::vector<ShaftEvent>& events) {
    if (served.includes(group.served)) {
        group.served = served;
        return;
    }
    emptyOut(served, events);
}

void Shaft::close(std::vector<ShaftEvent>& events) { emptyOut(StoreySet(), events); }

void Shaft::emptyOut(StoreySet keep, std::vector<ShaftEvent>& events) {
    const int ticksPerStorey = group.timing.ticksPerStorey;
    for (int index = 0; index < carCount(); ++index) {
        Car& car = group.cars[index];
        const int passing = (car.position() + ticksPerStorey / 2) / ticksPerStorey;
        const int out = keep.empty() ? passing : keep.nearest(passing);
        leaving.clear();
        car.emptyInto(leaving);
        for (const Passenger& rider : leaving)
            events.push_back({ShaftEvent::Kind::PutOut, rider.id, index, out, group.clock});
        car.place(out * ticksPerStorey);
    }
    leaving.clear();
    group.clearHalls(leaving);
    for (const Passenger& waiter : leaving)
        events.push_back({ShaftEvent::Kind::HandedBack, waiter.id, noCar, waiter.origin, group.clock});
    leaving.clear();
    group.served = keep;
    if (!keep.contains(group.parking)) group.parking = noStorey;
}

std::vector<std::string> Shaft::save() const { return shaftRecords::write(group); }

bool Shaft::load(const std::vector<std::string>& records) {
    GroupState loaded(group.served, carCount(), group.timing);
    if (!shaftRecords::read(records, loaded)) return false;
    group = std::move(loaded);
    return true;
}

}  // namespace sim
