#include "PassengerQueue.h"

#include <utility>

namespace sim {

void PassengerQueue::push(const Passenger& passenger) {
    if (static_cast<std::size_t>(count) == ring.size()) {
        std::vector<Passenger> larger(ring.empty() ? firstRing : ring.size() * 2);
        for (int i = 0; i < count; ++i)
            larger[i] = at(i);
        ring = std::move(larger);
        head = 0;
    }
    ring[(head + count) & (ring.size() - 1)] = passenger;
    ++count;
}

Passenger PassengerQueue::pop() {
    const Passenger first = front();
    head = static_cast<int>((head + 1) & (ring.size() - 1));
    --count;
    return first;
}

}  // namespace sim
