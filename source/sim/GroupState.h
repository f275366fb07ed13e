#ifndef ZENTROVA_GROUPSTATE_H
#define ZENTROVA_GROUPSTATE_H

#include <array>
#include <cstdint>
#include <vector>

#include "Car.h"
#include "CarTiming.h"
#include "PassengerQueue.h"
#include "StoreySet.h"

namespace sim {

// Running totals of a shaft, kept across saves.
struct ShaftStats {
    std::int64_t boarded = 0;
    std::int64_t delivered = 0;
    std::int64_t waitTicks = 0;  // summed over those who boarded, from their call
    std::int64_t longestWait = 0;
};

// Everything of a shaft that changes as it runs and that a save keeps: the
// cars, the people waiting at each storey for each direction, which car is
// to answer which hall call, the clock and the totals. The dispatch
// strategies read it and hand out the hall calls.
class GroupState {
public:
    GroupState(StoreySet served, int cars, const CarTiming& timing);

    StoreySet served;
    CarTiming timing;
    std::vector<Car> cars;
    Tick clock = 0;
    int parking = noStorey;
    ShaftStats stats;

    PassengerQueue& hall(int storey, Direction direction) { return halls[slot(storey, direction)]; }
    const PassengerQueue& hall(int storey, Direction direction) const { return halls[slot(storey, direction)]; }
    void enqueue(const Passenger& passenger);
    Passenger dequeue(int storey, Direction direction);
    // Someone leaves the line they wait in; false when they wait in none.
    bool withdraw(int passenger);
    // The storeys where someone waits to go that way.
    std::uint32_t waiting(Direction direction) const { return direction == Direction::Up ? waitingUp : waitingDown; }

    // The cars given a hall call, as bits by car number: more than one when
    // more wait than one car takes.
    std::uint32_t assignedCars(int storey, Direction direction) const { return assigned[slot(storey, direction)]; }
    void assign(int storey, Direction direction, int car);
    void release(int storey, Direction direction, int car);
    void release(int storey, Direction direction);  // from every car
    // The hall calls that way given to car, or to no car yet.
    std::uint32_t assignedTo(int car, Direction direction) const;
    std::uint32_t unassigned(Direction direction) const;

    // Empties every hall and forgets every assignment, the people in line
    // going to out in the order a save lists them.
    void clearHalls(std::vector<Passenger>& out);

private:
    static int slot(int storey, Direction direction) { return storey * 2 + (direction == Direction::Up ? 0 : 1); }

    std::array<PassengerQueue, 2 * StoreySet::maxStoreys> halls;
    std::array<std::uint32_t, 2 * StoreySet::maxStoreys> assigned{};
    std::vector<std::uint32_t> assignedUp, assignedDown;  // by car
    std::uint32_t waitingUp = 0, waitingDown = 0;
};

}  // namespace sim

#endif
