#include "TrafficSource.h"

namespace study {

namespace {
enum Stream : std::uint64_t { arrivalStream = 1, destinationStream = 2 };
constexpr int lobby = 0;
}  // namespace

TrafficSource::TrafficSource(TrafficKind kind, int floors, std::int64_t perMillionTicks, std::uint64_t seed)
    : kind(kind),
      floors(floors),
      perMillionTicks(perMillionTicks),
      arrivals(seed, arrivalStream),
      destinations(seed, destinationStream) {
    nextArrival = gap();
}

std::int64_t TrafficSource::gap() {
    if (perMillionTicks <= 0) return sim::Random::maxMean * fractions;
    return arrivals.exponential(fractions * 1000000 / perMillionTicks);
}

void TrafficSource::change(TrafficKind newKind, std::int64_t newPerMillionTicks) {
    kind = newKind;
    perMillionTicks = newPerMillionTicks;
    // A Poisson stream has no memory: starting afresh from now is the same stream.
    nextArrival = now + gap();
}

Trip TrafficSource::draw() {
    TrafficKind trip = kind;
    if (kind == TrafficKind::Lunch) {
        const int roll = destinations.uniform(0, 999);
        trip = roll < 400 ? TrafficKind::DownPeak : roll < 800 ? TrafficKind::UpPeak : TrafficKind::Interfloor;
    }
    switch (trip) {
    case TrafficKind::UpPeak:
        return {lobby, destinations.uniform(1, floors)};
    case TrafficKind::DownPeak:
        return {destinations.uniform(1, floors), lobby};
    default: {
        const int origin = destinations.uniform(1, floors);
        const int other = destinations.uniform(1, floors - 1);
        return {origin, other >= origin ? other + 1 : other};
    }
    }
}

void TrafficSource::nextTick(std::vector<Trip>& trips) {
    now += fractions;
    while (nextArrival < now) {
        trips.push_back(draw());
        nextArrival += gap();
    }
}

}  // namespace study
