#ifndef ZENTROVA_TOWER_H
#define ZENTROVA_TOWER_H

#include <cstdint>
#include <cstdio>
#include <memory>

#include "CarTiming.h"
#include "Clock.h"
#include "Ledger.h"
#include "Life.h"
#include "Map.h"
#include "UndoHistory.h"
#include "gameSettings.h"

// Everything a running tower is, in one object: the map with its tiles,
// rooms, room counters and the elevators' shared goal, the calendar, the
// money and its ledger, the undo history and the view switches. A new game
// or a load makes a new one; nothing of a tower lives anywhere else, so two
// can exist side by side (a test, the benchmark, a study).
class Tower {
public:
    static constexpr double STARTING_FUNDS = 5000.0;
    static constexpr int STOREYS = 10;
    // Far above a full tower's save (some 60 kB): a larger file is not read.
    static constexpr long maxFileSize = 4L << 20;

    // The seed of a new tower's people; their chance is saved with them.
    static constexpr std::uint64_t LIFE_SEED = 0x5a1e2c3b4d6f7081ull;
    // Game time runs this fast outside: so many ticks a bounded batch.
    static constexpr int LIFE_BATCH = 600;

    // An empty lot of STOREYS storeys at 23:00 of day 1 with the starting
    // funds; with people and elevators that carry them when living.
    explicit Tower(bool living = false);
    ~Tower();
    Tower(const Tower&) = delete;
    Tower& operator=(const Tower&) = delete;

    Map& getMap() { return grid; }
    const Map& getMap() const { return grid; }
    Clock& getClock() { return calendar; }
    const Clock& getClock() const { return calendar; }
    const Ledger& getLedger() const { return accounts; }
    UndoHistory& getHistory() { return steps; }
    gameSettings& getView() { return viewSwitches; }
    const gameSettings& getView() const { return viewSwitches; }
    double getFunds() const { return money; }
    // The people and their elevators, or null for the classic tower.
    life::Life* getLife() { return people.get(); }
    const life::Life* getLife() const { return people.get(); }
    // The tick of the living tower's time at the start of the clock's minute.
    sim::Tick lifeTick() const;
    // The tower was built on, bulldozed or undone: the people see it so, at
    // the next whole game minute while time runs, at once while it stands still.
    void layoutChanged(bool atOnce);

    // The one place the funds change: the ledger records it under today.
    void changeFunds(double amount, Ledger::Kind kind);

    // The saved game: funds, clock, tile records, then the sections.
    bool write(FILE* file) const;
    // Reads a saved game into this new tower: false when the funds, the
    // clock, the grid line or any tile record could not be read, and the
    // tower is then to be thrown away. Sections are read record by record;
    // what cannot be used is reported and passed over.
    bool read(FILE* file);

private:
    // What follows the tile records: the rooms, and sections of later versions.
    void readSections(FILE* file);
    // The people of a loaded tower: as saved when the sections are whole, else afresh.
    void startLife(const std::vector<life::Section>& saved);

    Map grid;
    Clock calendar;
    Ledger accounts;
    UndoHistory steps;
    gameSettings viewSwitches;
    double money = STARTING_FUNDS;
    std::unique_ptr<life::Life> people;
};

#endif
