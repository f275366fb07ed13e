#ifndef ZENTROVA_BENCH_LIVING_TOWER_H
#define ZENTROVA_BENCH_LIVING_TOWER_H

#include <string>
#include <vector>

// How the living tower's balance plays out for a scripted player: the frame
// scenes' served storeys, floored as the stars open them, their rooms bought
// from the rent as it comes in, run headless day after day.
namespace living_bench {

struct Day {
    int day = 0;          // game days since the start, at 23:00 of which the figures are taken
    int stars = 0;
    int people = 0;       // of the let rooms
    double waitMinutes = 0;  // the tower's average wait over the last days
    double funds = 0;
    int storeysBuilt = 0;
    int let[3] = {0, 0, 0};    // Single Rooms, Suites, offices let (hotel rooms: booked tonight)
    int rooms[3] = {0, 0, 0};
};

struct Progress {
    std::vector<Day> days;
    int dayOfStar[5] = {-1, -1, -1, -1, -1};  // the first day with each star, or -1
    double msPerDay = 0;  // the simulation's processor time for a game day, at the end
};

// A fresh living game grown for up to maxDays game days.
Progress growServedTower(int maxDays);

// A line for every fifth day and the last, the days to each star, for the benchmark's table.
std::vector<std::string> describe(const Progress& progress);

}  // namespace living_bench

#endif
