#ifndef ZENTROVA_LIFE_H
#define ZENTROVA_LIFE_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Layout.h"
#include "Person.h"
#include "Planner.h"
#include "Random.h"
#include "Shaft.h"
#include "Tenancy.h"

namespace life {

// Walking speed: a cell every this many ticks, some three cells a second by day.
constexpr int ticksPerCell = 3;
constexpr Tick ticksPerDay = Tick{24} * 60 * sim::ticksPerGameMinute;
constexpr Tick ticksAt(int hour, int minute) { return (Tick{hour} * 60 + minute) * sim::ticksPerGameMinute; }
// Someone who cannot go on tries again this much later.
constexpr Tick retryTicks = ticksAt(1, 0);
// Someone on their way in who has waited this long for a car gives up and goes home.
constexpr Tick patienceTicks = ticksAt(1, 30);

// A part of a saved life: a section's name and its records.
struct Section {
    std::string name;
    std::vector<std::string> records;
};

// Journeys finished, and the waiting and travelling they took.
struct TripTotals {
    long trips = 0;
    Tick waitTicks = 0;
    Tick journeyTicks = 0;
    Tick longestWait = 0;
};

// The tower's people and elevators, run in fixed ticks of game time: people
// come and go by their rooms' schedules, walk over the floors, wait at the
// halls, ride the shafts. Everything a save keeps is here; one generator
// draws the arrival times, and everything else runs in the order of ids.
class Life {
public:
    Life(std::uint64_t seed, Tick start);
    ~Life();
    Life(const Life&) = delete;
    Life& operator=(const Life&) = delete;

    // The tower was built on, bulldozed, undone or loaded. The change takes
    // hold at the next whole game minute that advance runs through, so that
    // it falls on the same tick however fast the frames come; or at once.
    void setLayout(Layout layout, bool atOnce = false);
    // Runs ticks while now() < target, at most maxTicks of them.
    void advance(Tick target, int maxTicks);
    Tick now() const { return clock; }

    const Layout& layout() const { return *current; }
    const Planner& planner() const { return *route; }
    const std::vector<Person>& people() const { return crowd; }  // by id
    const Person* person(int id) const;
    // A shaft by its room's uid, or null.
    const sim::Shaft* shaft(int uid) const;
    // The journeys finished since midnight, and those of one shaft's riders.
    const TripTotals& today() const { return todays; }
    const TripTotals& todayBy(int shaftUid) const;
    // Who rents the rooms, how they are served, and the tower's stars.
    const Tenancy& tenancy() const { return tenants; }
    std::vector<std::string> takeNews() { return tenants.takeNews(); }

    // The people, the shafts and the day's totals as sections of numbers,
    // and back, onto a life whose layout is in place: load is all or
    // nothing, and false (with the reason) leaves the life as it was.
    std::vector<Section> save() const;
    bool load(const std::vector<Section>& sections, std::string& why);
    static constexpr const char* sectionNames[] = {"life", "people", "shafts", "trips", "tenants"};
    // Everything that decides what happens next, folded into one number.
    std::uint64_t stateHash() const;
    // What every tick must leave true: nobody lost or twice, everyone waiting
    // or riding where the shafts say, no car over its load or outside its
    // storeys, every room with its people. Null when so, else what is wrong
    // (the tests and the fuzz targets ask).
    const char* consistencyProblem() const;

    // Someone's next timed step, in the order they fall due.
    struct Wake {
        Tick tick;
        int id;
        std::uint32_t serial;
    };

private:
    struct ShaftRun;

    void tick();
    void applyLayout();
    // Of applyLayout: shafts run, changed or closed as the layout has them;
    // people kept, let go or added as its rooms have them.
    void runShaftsOf(const Layout* before);
    void rehouse();
    void wakeAt(Person& person, Tick when);
    void wakeUp(Person& person);
    void onShaft(const sim::ShaftEvent& event, const Layout* before);
    void journey(Person& person);
    void arrive(Person& person);
    void finishJourney(Person& person);
    void leaveTower(Person& person);
    void giveUpWaiting(Person& person);
    int landingCell(int shaftUid, int storey, int landing, const Layout* before) const;
    void stand(Person& person, int cell);
    void dropDoomed();
    void rebuildQueue();
    void planDay(Person& person, Tick dayStart);
    void scheduleNext(Person& person);
    Person* find(int id);
    ShaftRun* runOf(int uid);
    int standingCell(const Person& person) const;
    void newDay();
    void updateParking();
    // The parts of load, into what load then takes: nullptr, or why the section is refused.
    const char* readPeople(const Section& section, Tick savedClock, int savedNextId, std::vector<Person>& people) const;
    const char* readShafts(const Section& section, Tick savedClock, const std::vector<Person>& people,
                           std::vector<ShaftRun>& runs) const;
    const char* readTrips(const Section& section, std::vector<ShaftRun>& runs, TripTotals& dayTotals) const;

    Tick clock;
    std::uint64_t seed;
    sim::Random arrivals;
    int nextId = 1;
    std::vector<Person> crowd;
    std::vector<ShaftRun> shafts;  // by uid
    std::unique_ptr<Layout> current, pending;
    std::unique_ptr<Planner> route;
    TripTotals todays;
    Tenancy tenants;
    std::vector<Wake> queue;  // a heap, earliest first, then by id
    std::vector<sim::ShaftEvent> events;
    Leg leg;
    std::vector<int> doomed;
};

}  // namespace life

#endif
