// The headless elevator study: the shaft against the textbook up-peak round
// trip, its traffic and random draws, and its command line.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "Random.h"
#include "TrafficSource.h"
#include "study.h"
#include "textbook.h"
#include "trafficRun.h"

namespace {

using study::Options;

void expectWithinPercent(double expected, double actual, double percent, const char* what) {
    EXPECT_LE(std::fabs(actual - expected), expected * percent / 100)
        << what << ": " << actual << " against " << expected;
}

TEST(Textbook, theShaftAgreesWithTheUpPeakRoundTrip) {
    struct Case {
        int floors, passengers, cars, floorMs, stopMs, transferMs, trips;
        sim::DispatchKind dispatch;
    };
    // Times chosen so that the tick is long and the runs short. Beside the
    // ten thousand trips of the first, a few thousand are already well within
    // the 1%: a trip's round trip spreads by a tenth around its mean.
    const Case cases[] = {
        {16, 8, 4, 1500, 9000, 1500, 10000, sim::DispatchKind::Eta},
        {10, 12, 2, 2000, 8000, 1000, 2500, sim::DispatchKind::Collective},
        {24, 16, 6, 2000, 6000, 2000, 2500, sim::DispatchKind::Eta},
        {6, 3, 1, 1500, 3000, 1500, 2500, sim::DispatchKind::Collective},
    };
    for (const Case& c : cases) {
        Options o;
        o.mode = study::Mode::Textbook;
        o.floors = c.floors;
        o.passengers = c.passengers;
        o.cars = c.cars;
        o.floorMs = c.floorMs;
        o.stopMs = c.stopMs;
        o.transferMs = c.transferMs;
        o.dispatch = c.dispatch;
        o.trips = c.trips;
        const textbook::Run run = textbook::simulate(o);
        const textbook::Figures model = textbook::formula(o);
        SCOPED_TRACE(std::to_string(c.floors) + " floors, " + std::to_string(c.cars) + " cars");
        EXPECT_EQ(o.trips, run.trips);
        expectWithinPercent(model.roundTripS, run.figures.roundTripS, 1, "round trip");
        expectWithinPercent(model.stops, run.figures.stops, 1, "stops");
        expectWithinPercent(model.highestReversal, run.figures.highestReversal, 1, "highest reversal");
        expectWithinPercent(model.intervalS, run.figures.intervalS, 1, "interval");
        expectWithinPercent(model.handlingCapacity, run.figures.handlingCapacity, 1, "handling capacity");
    }
}

TEST(Random, drawsFollowTheirDistributions) {
    sim::Random chance(42);
    int faces[6] = {};
    for (int i = 0; i < 60000; ++i)
        ++faces[chance.uniform(1, 6) - 1];
    for (int count : faces)
        EXPECT_NEAR(10000, count, 400);
    int hits = 0;
    for (int i = 0; i < 40000; ++i)
        hits += chance.chancePerMille(250);
    EXPECT_NEAR(10000, hits, 400);
    double sum = 0;
    int overMean = 0;
    const int draws = 50000, mean = 100000;
    for (int i = 0; i < draws; ++i) {
        const std::int64_t x = chance.exponential(mean);
        sum += static_cast<double>(x);
        overMean += x > mean;
    }
    EXPECT_NEAR(1.0, sum / draws / mean, 0.02);
    EXPECT_NEAR(std::exp(-1.0), double(overMean) / draws, 0.01);

    sim::Random again(42), otherStream(42, 1);
    sim::Random first(42);
    EXPECT_EQ(first.next(), again.next());
    EXPECT_NE(first.next(), otherStream.next());
}

TEST(Traffic, arrivalsComeAtTheirRateAndGoWhereTheKindSays) {
    const int floors = 12;
    study::TrafficSource lunch(study::TrafficKind::Lunch, floors, 250000, 3);
    std::vector<study::Trip> trips;
    for (int tick = 0; tick < 100000; ++tick)
        lunch.nextTick(trips);
    EXPECT_NEAR(25000, double(trips.size()), 600);
    int down = 0, up = 0;
    for (const study::Trip& trip : trips) {
        ASSERT_NE(trip.origin, trip.destination);
        ASSERT_TRUE(trip.origin >= 0 && trip.origin <= floors && trip.destination >= 0 && trip.destination <= floors);
        down += trip.destination == 0;
        up += trip.origin == 0;
    }
    EXPECT_NEAR(0.4, double(down) / trips.size(), 0.02);
    EXPECT_NEAR(0.4, double(up) / trips.size(), 0.02);

    // Paired runs: the same seed brings the same people whichever way the cars are dispatched.
    Options o;
    o.minutes = 20;
    o.dispatch = sim::DispatchKind::Collective;
    const study::TrafficFigures collective = study::runTraffic(o);
    o.dispatch = sim::DispatchKind::Eta;
    const study::TrafficFigures eta = study::runTraffic(o);
    EXPECT_EQ(collective.generated, eta.generated);
    EXPECT_GT(eta.generated, 0);
    EXPECT_LE(eta.delivered, eta.generated);
    EXPECT_GE(eta.longestWaitS, eta.averageWaitS);
}

// Runs the study with its output caught.
int study(const std::vector<std::string>& arguments, std::string& out, std::string& err) {
    FILE* outFile = tmpfile();
    FILE* errFile = tmpfile();
    const int status = study::run(arguments, outFile, errFile);
    auto read = [](FILE* file) {
        std::string text;
        rewind(file);
        for (int c = fgetc(file); c != EOF; c = fgetc(file))
            text += static_cast<char>(c);
        fclose(file);
        return text;
    };
    out = read(outFile);
    err = read(errFile);
    return status;
}

TEST(Study, refusesBadArgumentsWithAUsageLine) {
    const std::vector<std::vector<std::string>> bad = {
        {"--floors"},
        {"--floors", "1"},
        {"--floors", "32"},
        {"--floors", "ten"},
        {"--cars", "0"},
        {"--traffic", "rush-hour"},
        {"--dispatch", "random"},
        {"--rate", "-5"},
        {"--minutes", "0"},
        {"--colour", "blue"},
        {"--seed", "1", "--seed", "2"},
        {"--passengers", "8"},
        {"--textbook", "--traffic", "lunch"},
        {"--textbook", "--floor-time", "0"},
        {"--textbook", "--stop-time", "1.0005"},
        {"--textbook", "--day"},
    };
    for (const std::vector<std::string>& arguments : bad) {
        std::string out, err;
        EXPECT_EQ(2, study(arguments, out, err)) << arguments[0];
        EXPECT_TRUE(out.empty());
        EXPECT_NE(std::string::npos, err.find("usage: zentrova-elevators")) << err;
    }
    std::string out, err;
    ASSERT_EQ(0, study({"--floors", "8", "--cars", "2", "--traffic", "interfloor", "--rate", "6", "--minutes", "3",
                        "--dispatch", "collective", "--seed", "9"},
                       out, err));
    EXPECT_TRUE(err.empty());
    for (const char* key :
         {"\"traffic\": \"interfloor\"", "\"dispatch\": \"collective\"", "\"seed\": 9", "\"generated\"",
          "\"delivered\"", "\"awt_s\"", "\"max_wait_s\"", "\"p_wait_over_60s\"", "\"mean_journey_s\""})
        EXPECT_NE(std::string::npos, out.find(key)) << key;
    EXPECT_EQ(1, std::count(out.begin(), out.end(), '\n'));
}

}  // namespace
