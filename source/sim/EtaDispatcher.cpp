#include "EtaDispatcher.h"

#include <algorithm>

#include "GroupState.h"
#include "Sweep.h"

namespace sim {

namespace {

// The car as the estimate runs it forward: its riders by where they go
// and the calls it has.
struct Forecast {
    int storey;
    Direction direction;
    bool atRest;
    int load;
    int alighting[StoreySet::maxStoreys];
    std::uint32_t carCalls;
    std::uint32_t up, down;
    std::uint32_t waitingUp, waitingDown;

    // Lets out and takes in whom a stop here for people going that way
    // would; how many that is.
    int transfersHere(const GroupState& group, Direction serving) {
        const std::uint32_t bit = storeyBits::bit(storey);
        const int out = alighting[storey];
        load -= out;
        alighting[storey] = 0;
        carCalls &= ~bit;
        const int in = std::max(0, std::min(group.hall(storey, serving).size(), group.timing.capacity - load));
        load += in;
        (serving == Direction::Up ? up : down) &= ~bit;
        (serving == Direction::Up ? waitingUp : waitingDown) &= ~bit;
        direction = serving;
        atRest = true;
        return out + in;
    }
};

}  // namespace

Tick EtaDispatcher::estimate(const GroupState& group, int carIndex, int storey, Direction direction) {
    const Car& car = group.cars[carIndex];
    const CarTiming& timing = group.timing;
    const std::uint32_t target = storeyBits::bit(storey);
    Forecast f{car.storey(),
               car.direction(),
               true,
               car.load(),
               {},
               car.callMask(),
               group.assignedTo(carIndex, Direction::Up),
               group.assignedTo(carIndex, Direction::Down),
               group.waiting(Direction::Up),
               group.waiting(Direction::Down)};
    for (const Passenger& rider : car.riders())
        ++f.alighting[rider.destination];
    (direction == Direction::Up ? f.up : f.down) |= target;
    (direction == Direction::Up ? f.waitingUp : f.waitingDown) |= target;

    // Doors open, or closing and so to open again, for people going its way: no stop more.
    if (car.doors() != DoorState::Closed && storey == f.storey && direction == car.direction() &&
        car.load() < timing.capacity)
        return 0;
    Tick time = 0;
    switch (car.activity()) {
    case Car::Activity::Idle:
        break;
    case Car::Activity::Moving:
        f.atRest = false;
        if (car.direction() == Direction::Up) {
            time = timing.ticksPerStorey - car.position() % timing.ticksPerStorey;
            f.storey = car.storey() + 1;
        } else {
            time = car.atStorey() ? timing.ticksPerStorey : car.position() % timing.ticksPerStorey;
            f.storey = car.atStorey() ? car.storey() - 1 : car.storey();
        }
        break;
    case Car::Activity::Closing:
        time = car.ticksLeft();
        break;
    default: {
        // The one getting out now is counted in its ticks left.
        const int current = car.activity() == Car::Activity::Alighting ? 1 : 0;
        const int transfers = f.transfersHere(group, car.direction()) - current;
        time = car.ticksLeft() + Tick{timing.transferTicks} * transfers + timing.closeTicks();
        break;
    }
    }

    // At most a sweep each way and back again, storey by storey.
    for (int steps = 0; steps < 4 * StoreySet::maxStoreys; ++steps) {
        const sweep::View view{f.storey, f.direction, f.carCalls,    f.up,
                               f.down,   f.waitingUp, f.waitingDown, f.load >= timing.capacity,
                               f.atRest};
        const sweep::Decision next = sweep::decide(view);
        if (next.move == sweep::Move::Rest) return never;
        if (next.move == sweep::Move::Stop) {
            if (f.storey == storey && next.direction == direction) return time + timing.openTicks();
            time += timing.stopTicks + Tick{timing.transferTicks} * f.transfersHere(group, next.direction);
            continue;
        }
        time += timing.ticksPerStorey;
        f.storey += static_cast<int>(next.direction);
        f.direction = next.direction;
        f.atRest = false;
    }
    return never;
}

namespace {

// Room in the cars given a call, as they are now.
int room(const GroupState& group, std::uint32_t cars) {
    int free = 0;
    for (; cars; cars &= cars - 1)
        free += group.timing.capacity - group.cars[__builtin_ctz(cars)].load();
    return free;
}

}  // namespace

// A call no car has goes to the soonest; a call with more people waiting
// than its cars have room for gets the soonest of the others as well.
void EtaDispatcher::assign(GroupState& group) const {
    const int cars = static_cast<int>(group.cars.size());
    for (Direction direction : {Direction::Up, Direction::Down}) {
        for (std::uint32_t left = group.waiting(direction); left; left &= left - 1) {
            const int storey = storeyBits::lowest(left);
            const std::uint32_t given = group.assignedCars(storey, direction);
            if (given && group.hall(storey, direction).size() <= room(group, given)) continue;
            int best = noCar;
            Tick soonest = given ? never : never + 1;
            for (int car = 0; car < cars; ++car) {
                if (given >> car & 1) continue;
                const Tick time = cars == 1 ? 0 : estimate(group, car, storey, direction);
                if (time < soonest) {
                    soonest = time;
                    best = car;
                }
            }
            if (best != noCar) group.assign(storey, direction, best);
        }
    }
}

CallMasks EtaDispatcher::answered(const GroupState& group, int car) const {
    return {group.assignedTo(car, Direction::Up), group.assignedTo(car, Direction::Down)};
}

}  // namespace sim
