#include "trafficRun.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <memory>
#include <vector>

#include "Shaft.h"

namespace study {

namespace {

constexpr double secondsPerMinute = 60;
constexpr double longWaitS = 60;
constexpr std::int64_t million = 1000000;
constexpr int lobby = 0;

// A rate in percent of the population every five minutes, as arrivals in a million ticks.
std::int64_t perMillionTicks(double ratePercent, int population) {
    const double ticksInFiveMinutes = 5 * secondsPerMinute / sim::secondsPerTick;
    return std::llround(ratePercent / 100 * population / ticksInFiveMinutes * million);
}

}  // namespace

TrafficFigures runTraffic(const Options& options) {
    TrafficFigures figures;
    const std::unique_ptr<sim::Shaft> shaft = sim::Shaft::create(sim::StoreySet::range(lobby, options.floors),
                                                                 options.cars, sim::CarTiming(), options.dispatch);
    if (!shaft) return figures;
    // Cars with nothing to do wait at the lobby when everyone comes from there, as the game has them do in the morning.
    if (options.traffic == TrafficKind::UpPeak) shaft->setParkingStorey(lobby);
    TrafficSource source(options.traffic, options.floors, perMillionTicks(options.ratePercent, options.population),
                         options.seed);
    const sim::Tick ticks = std::llround(options.minutes * secondsPerMinute / sim::secondsPerTick);
    std::vector<sim::Tick> calledAt, boardedAt;
    std::vector<Trip> trips;
    std::vector<sim::ShaftEvent> events;
    double journeyTicks = 0;
    for (sim::Tick tick = 0; tick < ticks; ++tick) {
        trips.clear();
        source.nextTick(trips);
        for (const Trip& trip : trips) {
            shaft->call(static_cast<int>(calledAt.size()), trip.origin, trip.destination);
            calledAt.push_back(shaft->now());
            boardedAt.push_back(-1);
        }
        events.clear();
        shaft->step(events);
        for (const sim::ShaftEvent& event : events) {
            if (event.kind == sim::ShaftEvent::Kind::Boarded) boardedAt[event.passenger] = event.tick;
            if (event.kind == sim::ShaftEvent::Kind::Alighted) {
                ++figures.delivered;
                journeyTicks += static_cast<double>(event.tick - calledAt[event.passenger]);
            }
        }
    }
    figures.generated = static_cast<std::int64_t>(calledAt.size());
    double waitTicks = 0;
    sim::Tick longest = 0;
    std::int64_t longWaits = 0;
    for (size_t i = 0; i < calledAt.size(); ++i) {
        const sim::Tick waited = (boardedAt[i] >= 0 ? boardedAt[i] : shaft->now()) - calledAt[i];
        waitTicks += static_cast<double>(waited);
        longest = std::max(longest, waited);
        longWaits += waited * sim::secondsPerTick > longWaitS;
    }
    if (figures.generated > 0) {
        figures.averageWaitS = waitTicks * sim::secondsPerTick / figures.generated;
        figures.shareWaitingOver60s = static_cast<double>(longWaits) / figures.generated;
    }
    figures.longestWaitS = longest * sim::secondsPerTick;
    if (figures.delivered > 0) figures.averageJourneyS = journeyTicks * sim::secondsPerTick / figures.delivered;
    return figures;
}

namespace {

// A working day, by game hours: who travels how, and how many trips each
// person makes in that stretch. Hours not listed see a little interfloor traffic.
struct Stretch {
    int fromHour;
    int toHour;
    TrafficKind kind;
    double tripsEach;
};
const Stretch workingDay[] = {
    {0, 7, TrafficKind::Interfloor, 0.1},   {7, 9, TrafficKind::UpPeak, 1},
    {9, 12, TrafficKind::Interfloor, 0.5},  {12, 14, TrafficKind::Lunch, 2},
    {14, 17, TrafficKind::Interfloor, 0.5}, {17, 19, TrafficKind::DownPeak, 1},
    {19, 24, TrafficKind::Interfloor, 0.1},
};
constexpr int hoursInDay = 24;
constexpr int ticksPerHour = 60 * sim::ticksPerGameMinute;
constexpr int lowestTower = 10;   // floors above the lobby of the lowest shaft
constexpr int towerHeights = 12;  // the shafts' heights run through this many

}  // namespace

DayFigures runDay(const Options& options) {
    DayFigures figures;
    figures.ticks = std::int64_t{hoursInDay} * ticksPerHour;
    std::vector<std::unique_ptr<sim::Shaft>> shafts;
    std::vector<TrafficSource> sources;
    std::vector<int> people;
    for (int i = 0; i < options.shafts; ++i) {
        const int floors = lowestTower + i % towerHeights;
        shafts.push_back(sim::Shaft::create(sim::StoreySet::range(lobby, floors), 1));
        people.push_back(options.population / options.shafts + (i < options.population % options.shafts));
        sources.emplace_back(TrafficKind::Interfloor, floors, 0, options.seed + static_cast<std::uint64_t>(i));
    }
    std::vector<Trip> trips;
    std::vector<sim::ShaftEvent> events;
    trips.reserve(64);
    events.reserve(1024);
    int nextId = 0;
    const std::clock_t start = std::clock();
    for (sim::Tick tick = 0; tick < figures.ticks; ++tick) {
        const bool hourBegins = tick % ticksPerHour == 0;
        const int hour = static_cast<int>(tick / ticksPerHour);
        for (int i = 0; i < options.shafts && hourBegins; ++i) {
            for (const Stretch& stretch : workingDay) {
                if (hour != stretch.fromHour) continue;
                const double ticksLong = double(stretch.toHour - stretch.fromHour) * ticksPerHour;
                sources[i].change(stretch.kind, std::llround(people[i] * stretch.tripsEach / ticksLong * million));
                // The game asks its cars to wait at the lobby in the morning.
                shafts[i]->setParkingStorey(stretch.kind == TrafficKind::UpPeak ? lobby : sim::noStorey);
            }
        }
        events.clear();
        for (int i = 0; i < options.shafts; ++i) {
            trips.clear();
            sources[i].nextTick(trips);
            for (const Trip& trip : trips)
                figures.generated += shafts[i]->call(nextId++, trip.origin, trip.destination);
            shafts[i]->step(events);
        }
        for (const sim::ShaftEvent& event : events)
            figures.delivered += event.kind == sim::ShaftEvent::Kind::Alighted;
    }
    figures.processorS = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    return figures;
}

}  // namespace study
