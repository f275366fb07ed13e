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

bool PassengerQueue::remove(int id) {
    int found = -1;
    for (int i = 0; i < count && found < 0; ++i)
        if (at(i).id == id) found = i;
    if (found < 0) return false;
    for (int i = found; i + 1 < count; ++i) ring[(head + i) & (ring.size() - 1)] = at(i + 1);
    --count;
    return true;
}

}  // namespace sim
