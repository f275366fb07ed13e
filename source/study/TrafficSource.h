#ifndef ZENTROVA_TRAFFICSOURCE_H
#define ZENTROVA_TRAFFICSOURCE_H

#include <cstdint>
#include <vector>

#include "Random.h"

namespace study {

// Who travels where in a building of a lobby (storey 0) and floors above.
enum class TrafficKind {
    UpPeak,      // from the lobby to any floor above
    DownPeak,    // from any floor above to the lobby
    Interfloor,  // between two different floors above the lobby
    Lunch,       // 40% down to the lobby, 40% up from it, 20% between floors
};

struct Trip {
    int origin;
    int destination;
};

// People arriving as a Poisson stream: the time between two arrivals is
// drawn exponentially, so the arrivals in any stretch of time have a Poisson
// count. When they come and where they go are drawn from two generators, so
// a change to the one leaves the other as it was.
class TrafficSource {
public:
    // perMillionTicks: arrivals expected in a million ticks.
    TrafficSource(TrafficKind kind, int floors, std::int64_t perMillionTicks, std::uint64_t seed);

    // Appends the trips that start within the next tick.
    void nextTick(std::vector<Trip>& trips);
    // For a schedule through a day: the stream goes on from now at the new rate.
    void change(TrafficKind kind, std::int64_t perMillionTicks);

private:
    static constexpr std::int64_t fractions = 4096;  // arrival times are kept in 1/4096 of a tick

    Trip draw();
    std::int64_t gap();

    TrafficKind kind;
    int floors;
    std::int64_t perMillionTicks;
    sim::Random arrivals;
    sim::Random destinations;
    std::int64_t now = 0;
    std::int64_t nextArrival = 0;
};

}  // namespace study

#endif
