#ifndef ZENTROVA_TOWER_H
#define ZENTROVA_TOWER_H

#include <cstdio>

#include "Clock.h"
#include "Ledger.h"
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

    // An empty lot of STOREYS storeys at 23:00 of day 1 with the starting funds.
    Tower();
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

    Map grid;
    Clock calendar;
    Ledger accounts;
    UndoHistory steps;
    gameSettings viewSwitches;
    double money = STARTING_FUNDS;
};

#endif
