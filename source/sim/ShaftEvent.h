#ifndef ZENTROVA_SHAFTEVENT_H
#define ZENTROVA_SHAFTEVENT_H

#include "CarTiming.h"

namespace sim {

// What a shaft reports to its caller, so that the people it carries can go on.
struct ShaftEvent {
    enum class Kind {
        Boarded,     // got into car at storey (their origin)
        Alighted,    // got out of car at storey (their destination)
        PutOut,      // had to leave car at storey: the shaft shrank or went
        HandedBack,  // was waiting at storey for a shaft that shrank or went; car is noCar
    };
    Kind kind;
    int passenger;
    int car;
    int storey;
    Tick tick;

    bool operator==(const ShaftEvent& other) const {
        return kind == other.kind && passenger == other.passenger && car == other.car && storey == other.storey &&
               tick == other.tick;
    }
};

}  // namespace sim

#endif
