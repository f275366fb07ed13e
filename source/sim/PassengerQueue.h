#ifndef ZENTROVA_PASSENGERQUEUE_H
#define ZENTROVA_PASSENGERQUEUE_H

#include <cstddef>
#include <vector>

#include "Passenger.h"

namespace sim {

// First come, first served, in a ring that only grows: once it has held its
// busiest moment, pushing and popping allocate nothing. It takes no memory
// before the first push, as most storeys of a shaft never see a line.
class PassengerQueue {
public:
    int size() const { return count; }
    bool empty() const { return count == 0; }
    // The i-th in line, 0 being the first.
    const Passenger& at(int i) const { return ring[(head + i) & (ring.size() - 1)]; }
    const Passenger& front() const { return at(0); }

    void push(const Passenger& passenger);
    Passenger pop();
    // Takes someone out of the line, the others keeping their order; false when not in it.
    bool remove(int id);
    void clear() { head = count = 0; }

private:
    static constexpr std::size_t firstRing = 8;

    std::vector<Passenger> ring;  // empty, or its size a power of two
    int head = 0;
    int count = 0;
};

}  // namespace sim

#endif
