#include "Car.h"

#include <algorithm>

#include "StoreySet.h"

namespace sim {

Car::Car(int ticksPerStorey, int capacity, int position) : ticksPerStorey(ticksPerStorey), position_(position) {
    riders_.reserve(capacity);
}

DoorState Car::doors() const {
    switch (activity_) {
    case Activity::Opening:
        return DoorState::Opening;
    case Activity::Alighting:
    case Activity::Boarding:
        return DoorState::Open;
    case Activity::Closing:
        return DoorState::Closing;
    default:
        return DoorState::Closed;
    }
}

int Car::alightingAt(int storey) const {
    int count = 0;
    for (const Passenger& rider : riders_)
        count += rider.destination == storey;
    return count;
}

void Car::place(int position) {
    position_ = position;
    direction_ = Direction::None;
    activity_ = Activity::Idle;
    ticksLeft_ = 0;
    goal_ = noStorey;
}

void Car::start(Activity activity, int ticks) {
    activity_ = activity;
    ticksLeft_ = ticks;
}

void Car::board(const Passenger& passenger) {
    riders_.push_back(passenger);
    calls |= storeyBits::bit(passenger.destination);
}

bool Car::alight(Passenger& leaving) {
    const int here = storey();
    const auto rider = std::find_if(riders_.begin(), riders_.end(),
                                    [here](const Passenger& passenger) { return passenger.destination == here; });
    if (rider == riders_.end()) return false;
    leaving = *rider;
    riders_.erase(rider);
    calls = 0;
    for (const Passenger& staying : riders_)
        calls |= storeyBits::bit(staying.destination);
    return true;
}

void Car::emptyInto(std::vector<Passenger>& out) {
    out.insert(out.end(), riders_.begin(), riders_.end());
    riders_.clear();
    calls = 0;
}

}  // namespace sim
