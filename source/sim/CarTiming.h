#ifndef ZENTROVA_CARTIMING_H
#define ZENTROVA_CARTIMING_H

#include <cstdint>

// Time in the elevator simulation: whole ticks of game time, never frames.
namespace sim {

using Tick = std::int64_t;

// The game advances its shafts this many ticks a game minute.
constexpr int ticksPerGameMinute = 10;
// The car figures below are a real car's timing at this length of tick.
constexpr double secondsPerTick = 0.3;

// How long a car takes for what it does, in ticks, and how many it carries.
// The defaults are the game's cars; the study runs others.
struct CarTiming {
    int ticksPerStorey = 5;  // about 1.5 s from one storey to the next
    int stopTicks = 10;      // about 3 s to open and close the doors at a stop
    int transferTicks = 3;   // about 0.9 s for one person to get in or out
    int capacity = 8;

    static constexpr int maxCapacity = 64;
    static constexpr int maxTicks = 1000000;  // keeps a position over 32 storeys well inside an int

    // Every figure at least 1 and within the maxima above.
    bool valid() const;
    // A stop is the doors opening, the people getting out and in, the doors closing.
    int openTicks() const { return stopTicks / 2; }
    int closeTicks() const { return stopTicks - openTicks(); }
};

}  // namespace sim

#endif
