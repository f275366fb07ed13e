#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "Clock.h"
#include "keyModifiers.h"
#include "ticks.h"

namespace {

class ClockTest : public ::testing::Test {
protected:
    static constexpr Uint32 start = 100000;

    void SetUp() override {
        keyModifiers::release();
        restart();
    }
    void TearDown() override {
        keyModifiers::release();
        restart();
        ticks::thaw();
    }
    // The clock remembers the tick of its last minute. Each test starts it as a
    // game just started with time frozen at `start`: a minute counted at the
    // top of the tick range makes the next threshold wrap round, so any earlier
    // tick counts again.
    void restart() {
        bool ticked = false;
        clock->setSpeed(1);
        ticks::freeze(0xFFFFFFFFu);
        clock->loop(ticked);
        ticks::freeze(start);
        clock->loop(ticked);
        clock->setSpeed(100);
        clock->set(0, 23, 1, 1, 1);
        clock->resetTimeOfDay();
    }
    void at(short minute, short hour, short day = 1, short month = 1, short year = 1) {
        clock->set(minute, hour, day, month, year);
    }
    // Lets a full minute of the current pace pass and steps once.
    bool step() {
        ticks::advance(10u * static_cast<Uint32>(clock->getSpeed()));
        bool ticked = false;
        const bool newDay = clock->loop(ticked);
        EXPECT_TRUE(ticked);
        return newDay;
    }
    std::string text() const {
        char buffer[64] = "Time:  ";
        clock->appendClockTime(buffer + strlen(buffer), sizeof buffer - strlen(buffer));
        return buffer;
    }
    std::string saved() const {
        FILE* file = tmpfile();
        clock->save(file);
        rewind(file);
        char line[64] = "";
        EXPECT_NE(nullptr, fgets(line, sizeof line, file)) << "the clock wrote no record";
        fclose(file);
        return line;
    }
    bool load(const char* record) {
        FILE* file = tmpfile();
        fputs(record, file);
        rewind(file);
        const bool ok = clock->load(file);
        fclose(file);
        return ok;
    }

    Clock own;
    Clock* clock = &own;
};

}  // namespace

TEST_F(ClockTest, LastMinuteOfTheYearRollsOverEverything) {
    at(59, 23, 14, 12, 1);
    EXPECT_TRUE(step());
    EXPECT_EQ("Time:  00:00 Day:1 \nMonth:1 Year:2", text());
    EXPECT_FALSE(step());
    EXPECT_EQ("Time:  00:01 Day:1 \nMonth:1 Year:2", text());
    char small[6];
    clock->appendClockTime(small, sizeof small);
    EXPECT_STREQ("00:01", small) << "the text is cut to the room it is given";
}

TEST_F(ClockTest, HoldingCtrlMakesEveryStepAFullHour) {
    at(37, 10);
    keyModifiers::hold(KMOD_LCTRL);
    EXPECT_FALSE(step());
    EXPECT_EQ("Time:  11:00 Day:1 \nMonth:1 Year:1", text());
    keyModifiers::hold(KMOD_RCTRL);
    int newDays = 0;
    for (int hour = 0; hour < 24 * 14 * 12; ++hour)
        newDays += step();
    EXPECT_EQ(14 * 12, newDays) << "a year of hours holds 12 months of 14 days";
    EXPECT_EQ("Time:  11:00 Day:1 \nMonth:1 Year:2", text());
}

TEST_F(ClockTest, MinuteLastsTenTimesTheSpeedInMilliseconds) {
    bool ticked = false;
    ticks::advance(999);
    EXPECT_FALSE(clock->loop(ticked));
    EXPECT_FALSE(ticked) << "999 ms is short of a minute at speed 100";
    EXPECT_EQ(0, clock->getMinute());
    ticks::advance(1);
    clock->loop(ticked);
    EXPECT_TRUE(ticked);
    EXPECT_EQ(1, clock->getMinute());

    clock->setSpeed(25);
    ticks::advance(300);
    ticked = false;
    clock->loop(ticked);
    clock->loop(ticked);
    EXPECT_EQ(2, clock->getMinute()) << "a late call counts one minute, never more";
    ticks::advance(249);
    clock->loop(ticked);
    EXPECT_EQ(2, clock->getMinute()) << "the next minute is measured from the late call";
}

TEST_F(ClockTest, TimeOfDayIsReportedOnlyWhenItChanges) {
    const struct {
        short minute, hour, code;
    } walk[] = {{59, 6, 1}, {0, 7, 2},  {59, 9, 0}, {0, 10, 3}, {59, 16, 0},
                {0, 17, 4}, {0, 20, 0}, {0, 21, 1}, {0, 3, 0}};
    for (const auto& w : walk) {
        clock->set(w.minute, w.hour, 1, 1, 1);
        EXPECT_EQ(w.code, clock->getTimeOfDay()) << w.hour << ":" << w.minute;
    }
    clock->resetTimeOfDay();
    EXPECT_EQ(1, clock->getTimeOfDay()) << "the first call always reports";
}

TEST_F(ClockTest, RecordRoundTripsAndOutOfRangeFieldsKeepTheClocksOwn) {
    EXPECT_EQ("0 23 1 1 1", saved());
    at(42, 13, 9, 11, 7);
    const std::string record = saved();
    at(0, 0);
    ASSERT_TRUE(load(record.c_str()));
    EXPECT_EQ(record, saved());

    EXPECT_TRUE(load("60 24 15 13 0"));
    EXPECT_EQ(record, saved()) << "every field is out of range";
    EXPECT_TRUE(load("-1 -1 0 0 -5"));
    EXPECT_EQ(record, saved());
    EXPECT_TRUE(load("59 0 14 1 30000"));
    EXPECT_EQ("59 0 14 1 30000", saved()) << "the extremes of each range are taken";
    EXPECT_FALSE(load("7 8")) << "a record cut short is no clock";
    EXPECT_FALSE(load("7 8 x 1 1")) << "nor one with a word among its numbers";
    EXPECT_FALSE(load("")) << "an empty record is the end of the file";
    EXPECT_EQ("59 0 14 1 30000", saved()) << "the refused records were not half taken";
}
