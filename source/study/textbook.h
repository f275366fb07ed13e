#ifndef ZENTROVA_TEXTBOOK_H
#define ZENTROVA_TEXTBOOK_H

#include "studyOptions.h"

// The classic up-peak round trip: every car leaves the lobby with the same
// load, whose destinations are spread evenly over the floors above, stops
// once at each floor someone wants, turns at the highest and comes back.
namespace textbook {

struct Figures {
    double roundTripS = 0;
    double stops = 0;             // above the lobby, a trip
    double highestReversal = 0;   // the floor a trip turns at
    double intervalS = 0;         // between two departures from the lobby
    double handlingCapacity = 0;  // people taken up in five minutes
};

// The closed-form figures for those options.
Figures formula(const study::Options& options);

struct Run {
    Figures figures;
    double tickS = 0;  // the tick the run used: the longest that all three times are whole multiples of
    int trips = 0;
};

// The same trips run by the shaft, options.trips of them over all cars,
// with the queue at the lobby never running dry. Fewer trips when the shaft
// takes far longer than the formula says.
Run simulate(const study::Options& options);

}  // namespace textbook

#endif
