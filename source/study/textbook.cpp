#include "textbook.h"

#include <cmath>
#include <numeric>
#include <vector>

#include "Random.h"
#include "Shaft.h"

namespace textbook {

namespace {

constexpr double fiveMinutesS = 300;
constexpr int lobby = 0;
constexpr std::uint64_t destinationStream = 2;

Figures complete(Figures figures, const study::Options& options) {
    figures.intervalS = figures.roundTripS / options.cars;
    figures.handlingCapacity = fiveMinutesS * options.passengers * options.cars / figures.roundTripS;
    return figures;
}

}  // namespace

Figures formula(const study::Options& options) {
    const double n = options.floors;
    const int p = options.passengers;
    Figures figures;
    figures.stops = n * (1 - std::pow(1 - 1 / n, p));
    figures.highestReversal = n;
    for (int i = 1; i < options.floors; ++i)
        figures.highestReversal -= std::pow(i / n, p);
    figures.roundTripS = (2 * figures.highestReversal * options.floorMs + (figures.stops + 1) * options.stopMs +
                          2.0 * p * options.transferMs) /
                         1000;
    return complete(figures, options);
}

Run simulate(const study::Options& options) {
    const int tickMs = std::gcd(std::gcd(options.floorMs, options.stopMs), options.transferMs);
    sim::CarTiming timing;
    timing.ticksPerStorey = options.floorMs / tickMs;
    timing.stopTicks = options.stopMs / tickMs;
    timing.transferTicks = options.transferMs / tickMs;
    timing.capacity = options.passengers;
    const std::unique_ptr<sim::Shaft> shaft =
        sim::Shaft::create(sim::StoreySet::range(lobby, options.floors), options.cars, timing, options.dispatch);
    Run run;
    run.tickS = tickMs / 1000.0;
    if (!shaft) return run;
    shaft->setParkingStorey(lobby);

    sim::Random destinations(options.seed, destinationStream);
    int nextId = 0;
    auto queueOne = [&] { shaft->call(nextId++, lobby, destinations.uniform(1, options.floors)); };
    // Enough in line that every car fills at once, whenever it comes.
    for (int i = 0; i < options.passengers * options.cars; ++i)
        queueOne();

    // A trip runs from one opening of the doors at the lobby to the next. A
    // car's first opening starts from rest, not from travel, so its first
    // trip is left out.
    struct Trip {
        int openings = 0;
        sim::Tick start = 0;
        int stops = 0;
        int highest = 0;
    };
    std::vector<Trip> trips(options.cars);
    std::vector<bool> doorsWereClosed(options.cars, true);
    double ticks = 0, stops = 0, highest = 0;
    std::vector<sim::ShaftEvent> events;
    // A shaft that stopped carrying people would keep the loop going for ever.
    const double formulaTicks = formula(options).roundTripS / run.tickS;
    const sim::Tick enough = static_cast<sim::Tick>(4 * formulaTicks * (options.trips / options.cars + 2));
    while (run.trips < options.trips && shaft->now() < enough) {
        const sim::Tick now = shaft->now();
        events.clear();
        shaft->step(events);
        for (const sim::ShaftEvent& event : events)
            if (event.kind == sim::ShaftEvent::Kind::Boarded) queueOne();
        for (int index = 0; index < options.cars; ++index) {
            const sim::Car& car = shaft->car(index);
            const bool closed = car.doors() == sim::DoorState::Closed;
            const bool opens = doorsWereClosed[index] && !closed;
            doorsWereClosed[index] = closed;
            if (!opens) continue;
            Trip& trip = trips[index];
            if (car.storey() != lobby) {
                ++trip.stops;
                trip.highest = std::max(trip.highest, car.storey());
                continue;
            }
            if (++trip.openings > 2 && run.trips < options.trips) {
                ticks += static_cast<double>(now - trip.start);
                stops += trip.stops;
                highest += trip.highest;
                ++run.trips;
            }
            trip.start = now;
            trip.stops = 0;
            trip.highest = 0;
        }
    }
    if (run.trips == 0) return run;
    run.figures.roundTripS = ticks * run.tickS / run.trips;
    run.figures.stops = stops / run.trips;
    run.figures.highestReversal = highest / run.trips;
    run.figures = complete(run.figures, options);
    return run;
}

}  // namespace textbook
