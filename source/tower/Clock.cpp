#include "Clock.h"

#include "keyModifiers.h"
#include "ticks.h"

Clock::Clock() : lastTick(ticks::now()) {}

bool Clock::loop(bool& ticked) {
    counted = ticks::now() >= lastTick + 10u * static_cast<Uint32>(speed);
    if (!counted) return false;
    bool newDay = false;
    ++minute;
    ticked = true;
    if (keyModifiers::now() & KMOD_CTRL) minute = 60;
    if (minute == 60) {
        minute = 0;
        if (++hour == 24) {
            newDay = true;
            hour = 0;
            if (++day == 15) {
                day = 1;
                if (++month == 13) {
                    month = 1;
                    // The last year goes on rather than wrap to one a save could not hold.
                    if (year < maxYear) ++year;
                }
            }
        }
    }
    lastTick = ticks::now();
    return newDay;
}

int Clock::minuteRun(int parts) const {
    const Uint32 length = 10u * static_cast<Uint32>(speed > 0 ? speed : 1);
    const Uint32 run = ticks::now() - lastTick;
    return run >= length ? parts : static_cast<int>(run * static_cast<Uint32>(parts) / length);
}

void Clock::appendClockTime(char* text, size_t room) const {
    snprintf(text, room, "%02d:%02d Day:%d \nMonth:%d Year:%d", hour, minute, day, month, year);
}

short Clock::getTimeOfDay() {
    short code = NIGHT;
    if (hour >= 7 && hour <= 9) code = MORNING;
    else if (hour >= 10 && hour <= 16) code = DAY;
    else if (hour >= 17 && hour <= 20) code = EVENING;
    if (code == lastTimeOfDay) return 0;
    lastTimeOfDay = code;
    return code;
}

bool Clock::save(FILE* file) const { return fprintf(file, "%hd %hd %hd %hd %hd", minute, hour, day, month, year) > 0; }

bool Clock::load(FILE* file) {
    short values[5] = {minute, hour, day, month, year};
    if (fscanf(file, "%hd %hd %hd %hd %hd", &values[0], &values[1], &values[2], &values[3], &values[4]) != 5) {
        return false;
    }
    // A field outside its range would stop the carry chain; such a field
    // keeps the clock's own value.
    const short low[5] = {0, 0, 1, 1, 1};
    const short high[5] = {59, 23, 14, 12, maxYear};
    short* fields[5] = {&minute, &hour, &day, &month, &year};
    for (int i = 0; i < 5; ++i)
        if (values[i] >= low[i] && values[i] <= high[i]) *fields[i] = values[i];
    return true;
}

void Clock::set(short newMinute, short newHour, short newDay, short newMonth, short newYear) {
    minute = newMinute;
    hour = newHour;
    day = newDay;
    month = newMonth;
    year = newYear;
    // A calendar put in place starts its minute now, whatever ran before.
    lastTick = ticks::now();
}
