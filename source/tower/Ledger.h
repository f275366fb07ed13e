#ifndef ZENTROVA_LEDGER_H
#define ZENTROVA_LEDGER_H

#include <cstdio>
#include <string>
#include <vector>

#include "saveSections.h"

// Every change of the funds by game day and by what it was for: what the
// finances window shows and what the rent message reports, so that they and
// the balance always agree. Days are counted from the first day of year 1
// (Clock::dayNumber). Only the last two months are kept.
class Ledger {
public:
    enum Kind { RENT, CONSTRUCTION, BULLDOZING, KIND_COUNT };
    static constexpr long daysKept = 28;
    // A day's amount of a kind stays within this either way, so that what is
    // saved always loads again.
    static constexpr double limit = 1e12;

    void record(long day, Kind kind, double amount);
    // The sum recorded for a kind on one day, or over the days [first, last].
    double on(long day, Kind kind) const { return between(day, day, kind); }
    double between(long first, long last, Kind kind) const;
    void clear() { days.clear(); }

    // The "ledger" section of a saved game: one line per day with anything on it.
    bool save(FILE* file) const;
    void read(saveSections::Reader& reader);

private:
    struct Day {
        long day;
        double amounts[KIND_COUNT];
    };
    std::vector<Day> days;  // oldest first
};

// An amount as the game shows it: whole dollars when it is whole ("160"),
// else with cents ("12.50"); from Ledger::limit on, short ("1.8e308").
std::string moneyText(double amount);
// The funds as the read-out shows them: with cents ("5000.00"), or short.
std::string fundsText(double amount);

#endif
