#include "GroupState.h"

namespace sim {

GroupState::GroupState(StoreySet served, int carCount, const CarTiming& timing)
    : served(served), timing(timing), assignedUp(carCount, 0), assignedDown(carCount, 0) {
    cars.reserve(carCount);
    for (int i = 0; i < carCount; ++i)
        cars.emplace_back(timing.ticksPerStorey, timing.capacity, served.lowest() * timing.ticksPerStorey);
}

void GroupState::enqueue(const Passenger& passenger) {
    const Direction direction = passenger.direction();
    hall(passenger.origin, direction).push(passenger);
    (direction == Direction::Up ? waitingUp : waitingDown) |= storeyBits::bit(passenger.origin);
}

Passenger GroupState::dequeue(int storey, Direction direction) {
    PassengerQueue& line = hall(storey, direction);
    const Passenger first = line.pop();
    if (line.empty()) {
        (direction == Direction::Up ? waitingUp : waitingDown) &= ~storeyBits::bit(storey);
        release(storey, direction);
    }
    return first;
}

bool GroupState::withdraw(int passenger) {
    for (Direction direction : {Direction::Up, Direction::Down})
        for (std::uint32_t left = waiting(direction); left; left &= left - 1) {
            const int storey = storeyBits::lowest(left);
            PassengerQueue& line = hall(storey, direction);
            if (!line.remove(passenger)) continue;
            if (line.empty()) {
                (direction == Direction::Up ? waitingUp : waitingDown) &= ~storeyBits::bit(storey);
                release(storey, direction);
            }
            return true;
        }
    return false;
}

void GroupState::assign(int storey, Direction direction, int car) {
    assigned[slot(storey, direction)] |= std::uint32_t{1} << car;
    (direction == Direction::Up ? assignedUp : assignedDown)[car] |= storeyBits::bit(storey);
}

void GroupState::release(int storey, Direction direction, int car) {
    assigned[slot(storey, direction)] &= ~(std::uint32_t{1} << car);
    (direction == Direction::Up ? assignedUp : assignedDown)[car] &= ~storeyBits::bit(storey);
}

void GroupState::release(int storey, Direction direction) {
    for (std::uint32_t cars = assignedCars(storey, direction); cars; cars &= cars - 1)
        release(storey, direction, __builtin_ctz(cars));
}

std::uint32_t GroupState::assignedTo(int car, Direction direction) const {
    return direction == Direction::Up ? assignedUp[car] : assignedDown[car];
}

std::uint32_t GroupState::unassigned(Direction direction) const {
    std::uint32_t taken = 0;
    for (std::uint32_t mask : direction == Direction::Up ? assignedUp : assignedDown)
        taken |= mask;
    return waiting(direction) & ~taken;
}

void GroupState::clearHalls(std::vector<Passenger>& out) {
    for (int storey = 0; storey < StoreySet::maxStoreys; ++storey) {
        for (Direction direction : {Direction::Up, Direction::Down}) {
            PassengerQueue& line = hall(storey, direction);
            while (!line.empty())
                out.push_back(line.pop());
            release(storey, direction);
        }
    }
    waitingUp = waitingDown = 0;
}

}  // namespace sim
