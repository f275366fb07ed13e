#include "CollectiveDispatcher.h"

#include <cstdlib>

#include "GroupState.h"

namespace sim {

namespace {

bool idle(const Car& car) { return car.activity() == Car::Activity::Idle && car.direction() == Direction::None; }

// Some other car is under way towards the storey and has room.
bool headedFor(const GroupState& group, int storey, int except) {
    const int at = storey * group.timing.ticksPerStorey;
    for (size_t i = 0; i < group.cars.size(); ++i) {
        const Car& car = group.cars[i];
        if (static_cast<int>(i) == except || idle(car) || car.load() >= group.timing.capacity) continue;
        if ((car.direction() == Direction::Up && car.position() <= at) ||
            (car.direction() == Direction::Down && car.position() >= at))
            return true;
    }
    return false;
}

bool nearestIdle(const GroupState& group, int storey, int candidate) {
    const int at = storey * group.timing.ticksPerStorey;
    const int distance = std::abs(group.cars[candidate].position() - at);
    for (size_t i = 0; i < group.cars.size(); ++i) {
        const Car& car = group.cars[i];
        if (static_cast<int>(i) == candidate || !idle(car)) continue;
        const int other = std::abs(car.position() - at);
        if (other < distance || (other == distance && static_cast<int>(i) < candidate)) return false;
    }
    return true;
}

}  // namespace

CallMasks CollectiveDispatcher::answered(const GroupState& group, int car) const {
    CallMasks calls{group.waiting(Direction::Up), group.waiting(Direction::Down)};
    // A hall call goes out when a car opens for it: the others pass by.
    for (size_t i = 0; i < group.cars.size(); ++i) {
        const Car& other = group.cars[i];
        if (static_cast<int>(i) == car || other.doors() == DoorState::Closed) continue;
        (other.direction() == Direction::Up ? calls.up : calls.down) &= ~storeyBits::bit(other.storey());
    }
    if (group.cars.size() == 1 || !idle(group.cars[car])) return calls;
    for (std::uint32_t left = calls.up | calls.down; left; left &= left - 1) {
        const int storey = storeyBits::lowest(left);
        const std::uint32_t bit = storeyBits::bit(storey);
        if (headedFor(group, storey, car) || !nearestIdle(group, storey, car)) {
            calls.up &= ~bit;
            calls.down &= ~bit;
        }
    }
    return calls;
}

}  // namespace sim
