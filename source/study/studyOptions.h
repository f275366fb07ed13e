#ifndef ZENTROVA_STUDYOPTIONS_H
#define ZENTROVA_STUDYOPTIONS_H

#include <cstdint>
#include <string>
#include <vector>

#include "Dispatcher.h"
#include "TrafficSource.h"

namespace study {

enum class Mode { Textbook, Traffic, Day };

// The study's command line; every figure has its default here.
struct Options {
    Mode mode = Mode::Traffic;
    int floors = 16;  // above the lobby
    int cars = 4;
    sim::DispatchKind dispatch = sim::DispatchKind::Eta;
    std::uint64_t seed = 1;
    // --textbook: the cars' timing in milliseconds and the load.
    int passengers = 8;
    int floorMs = 1500;
    int stopMs = 10000;
    int transferMs = 1200;
    int trips = 10000;
    // traffic: with the game's cars.
    int population = 1200;
    TrafficKind traffic = TrafficKind::Lunch;
    double ratePercent = 10;  // of the population arriving every five minutes
    int minutes = 60;
    // --day: a tower of this many one-car shafts through a game day.
    int shafts = 16;
};

const char* usage();
const char* name(TrafficKind kind);
const char* name(sim::DispatchKind kind);

// False with the reason in error when an argument is unknown, repeated,
// missing its value, out of range or meant for another mode.
bool parse(const std::vector<std::string>& arguments, Options& options, std::string& error);

}  // namespace study

#endif
