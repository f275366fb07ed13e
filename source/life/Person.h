#ifndef ZENTROVA_PERSON_H
#define ZENTROVA_PERSON_H

#include <cstdint>
#include <vector>

#include "CarTiming.h"
#include "Planner.h"

namespace life {

using sim::Tick;

// Where someone is and what they are doing; saved by number, so only ever append.
enum class Where : unsigned char { Outside, Walking, Waiting, Riding, InRoom };

// What brought them: a hotel guest stays the night, a worker the day.
enum class Role : unsigned char { Guest, Worker };

// One of the tower's people. Each belongs to a room (its guests, its staff)
// and comes and goes by the day's schedule; the tower's Life runs them.
struct Person {
    int id = 0;
    int roomUid = 0;  // their room, which may be gone: then they only leave
    Role role = Role::Guest;
    int look = 0;     // which figure draws them
    Where where = Where::Outside;
    bool leaving = false;  // headed out of the tower, or out of it until the next arrival
    bool orphan = false;   // their room is gone: once outside, they are too

    // Their day: when they arrive, go to lunch, come back and leave, in
    // ticks; drawn afresh for each day by the arrivals' chance.
    Tick arrive = 0, lunchOut = 0, lunchBack = 0, depart = 0;
    int phase = 0;  // how far through the day: see Life

    int cell = -1;  // where they stand, or where their walk started; -1 outside
    std::vector<int> path;  // the cells of the walk under way
    Tick walkStart = 0;
    int shaft = -1;     // the uid of the shaft they wait for or ride
    int rideTo = -1;    // the storey they ride to
    int landing = -1;   // the area to get out into there

    Tick tripStart = 0;  // when the journey under way began
    Tick waitStart = 0;  // when they called the car they wait for
    Tick waited = 0;     // at halls on the journey so far

    Tick wake = -1;  // their next timed step, or -1: they wait for a car
    std::uint32_t wakeSerial = 0;  // a re-planned step makes the one queued before stale

    // Where they are on the walk at tick now: the cell they left, the cell
    // they go to, and how far between the two, 0 to ticksPerCell.
    void walkAt(Tick now, int ticksPerCell, int& from, int& to, int& progress) const;
};

}  // namespace life

#endif
