#ifndef ZENTROVA_CLOCK_H
#define ZENTROVA_CLOCK_H

#include <SDL.h>
#include <cstddef>
#include <cstdio>

// The tower's calendar: 60 minutes, 24 hours, 14 days a month, 12 months a year.
class Clock {
public:
    // The parts of the day, as getTimeOfDay reports them.
    enum TimeOfDay : short { NIGHT = 1, MORNING = 2, DAY = 3, EVENING = 4 };

    // 23:00 of day 1 of year 1, at the daytime pace, no part of the day reported yet.
    Clock();

    // Counts at most one game minute (an hour with Ctrl held) per call; true
    // when a new day began. Sets ticked when a minute was counted.
    bool loop(bool& ticked);
    // Whether the last loop counted the minute that began this hour of the day.
    bool struck(short hourOfDay) const { return counted && minute == 0 && hour == hourOfDay; }
    // Appends "HH:MM Day:D \nMonth:M Year:Y" at text, writing at most room bytes.
    void appendClockTime(char* text, size_t room) const;
    // The part of the day (1 night, 2 morning, 3 day, 4 evening) when it
    // changed since the last call, else 0.
    short getTimeOfDay();
    // How far the minute under way has run, in parts of a minute out of
    // parts: parts once the next loop would count it.
    int minuteRun(int parts) const;
    short getDay() const { return day; }
    // Days since the first day of year 1: the ledger's calendar.
    long dayNumber() const { return (static_cast<long>(year - 1) * 12 + (month - 1)) * 14 + (day - 1); }
    static constexpr int daysPerMonth = 14;
    static constexpr short maxYear = 32767;
    void setSpeed(short newSpeed) { speed = newSpeed; }
    bool save(FILE* file) const;
    // False when the record's five numbers cannot be read; a number outside
    // its range keeps the clock's own value.
    bool load(FILE* file);

    short getMinute() const { return minute; }
    short getHour() const { return hour; }
    short getMonth() const { return month; }
    short getYear() const { return year; }
    short getSpeed() const { return speed; }

    // Tests and the benchmark: put the calendar somewhere known.
    void set(short minute, short hour, short day, short month, short year);
    // The next getTimeOfDay reports the part of the day whatever it is.
    void resetTimeOfDay() { lastTimeOfDay = 0; }

private:
    short lastTimeOfDay = 0;
    bool counted = false;  // the last loop counted a minute
    short minute = 0;
    short hour = 23;
    short day = 1;
    short month = 1;
    short year = 1;
    short speed = 100;  // one game minute lasts 10 x speed milliseconds
    Uint32 lastTick;
};

#endif
