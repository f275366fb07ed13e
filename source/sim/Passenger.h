#ifndef ZENTROVA_PASSENGER_H
#define ZENTROVA_PASSENGER_H

#include "CarTiming.h"

namespace sim {

// Which way a car travels or a person wants to go; None for a car at rest.
// Saved as -1, 0 and 1.
enum class Direction : signed char { Down = -1, None = 0, Up = 1 };

inline Direction opposite(Direction direction) { return static_cast<Direction>(-static_cast<int>(direction)); }
inline Direction towards(int from, int to) {
    return to > from ? Direction::Up : to < from ? Direction::Down : Direction::None;
}

constexpr int noCar = -1;

// Someone who called a car: an id of the caller's choosing, where they wait,
// where they go, and when they called.
struct Passenger {
    int id = 0;
    int origin = 0;
    int destination = 0;
    Tick calledAt = 0;

    Direction direction() const { return towards(origin, destination); }
    bool operator==(const Passenger& other) const {
        return id == other.id && origin == other.origin && destination == other.destination &&
               calledAt == other.calledAt;
    }
};

}  // namespace sim

#endif
