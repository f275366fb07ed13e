#ifndef ZENTROVA_TRAFFICRUN_H
#define ZENTROVA_TRAFFICRUN_H

#include <cstdint>

#include "studyOptions.h"

namespace study {

// What a group of the game's cars did with seeded traffic, in seconds of a
// real car (a tick is sim::secondsPerTick). A wait runs from the call to
// getting in; those still waiting when the run ends count with their wait
// so far. A journey runs from the call to getting out, over those who got out.
struct TrafficFigures {
    std::int64_t generated = 0;
    std::int64_t delivered = 0;
    double averageWaitS = 0;
    double longestWaitS = 0;
    double shareWaitingOver60s = 0;
    double averageJourneyS = 0;
};

TrafficFigures runTraffic(const Options& options);

// A game day of a tower with options.shafts one-car shafts of several
// heights and options.population people, each making a few trips:
// up in the morning, down and up at lunch, down in the evening, between
// floors in between.
struct DayFigures {
    std::int64_t ticks = 0;
    std::int64_t generated = 0;
    std::int64_t delivered = 0;
    double processorS = 0;  // the simulation of the shafts and their traffic alone
};

DayFigures runDay(const Options& options);

}  // namespace study

#endif
