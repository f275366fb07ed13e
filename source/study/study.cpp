#include "study.h"

#include "textbook.h"
#include "trafficRun.h"

namespace study {

namespace {

constexpr int badArguments = 2;

void textbookMode(const Options& o, FILE* out) {
    const textbook::Run run = textbook::simulate(o);
    const textbook::Figures model = textbook::formula(o);
    const textbook::Figures& sim = run.figures;
    fprintf(out,
            "{\"mode\": \"textbook\", \"floors\": %d, \"passengers\": %d, \"cars\": %d, \"floor_time_s\": %.3f, "
            "\"stop_time_s\": %.3f, \"transfer_time_s\": %.3f, \"trips\": %d, \"dispatch\": \"%s\", \"seed\": %llu, "
            "\"tick_s\": %.3f, ",
            o.floors, o.passengers, o.cars, o.floorMs / 1000.0, o.stopMs / 1000.0, o.transferMs / 1000.0, run.trips,
            name(o.dispatch), static_cast<unsigned long long>(o.seed), run.tickS);
    fprintf(out,
            "\"round_trip_s\": %.3f, \"stops\": %.4f, \"highest_reversal\": %.4f, \"interval_s\": %.3f, "
            "\"handling_capacity_5min\": %.3f, ",
            sim.roundTripS, sim.stops, sim.highestReversal, sim.intervalS, sim.handlingCapacity);
    fprintf(out,
            "\"formula_round_trip_s\": %.3f, \"formula_stops\": %.4f, \"formula_highest_reversal\": %.4f, "
            "\"formula_interval_s\": %.3f, \"formula_handling_capacity_5min\": %.3f, "
            "\"round_trip_difference_percent\": %.3f}\n",
            model.roundTripS, model.stops, model.highestReversal, model.intervalS, model.handlingCapacity,
            100 * (sim.roundTripS - model.roundTripS) / model.roundTripS);
}

void trafficMode(const Options& o, FILE* out) {
    const TrafficFigures f = runTraffic(o);
    fprintf(out,
            "{\"mode\": \"traffic\", \"floors\": %d, \"cars\": %d, \"population\": %d, \"traffic\": \"%s\", "
            "\"rate\": %g, \"minutes\": %d, \"dispatch\": \"%s\", \"seed\": %llu, ",
            o.floors, o.cars, o.population, name(o.traffic), o.ratePercent, o.minutes, name(o.dispatch),
            static_cast<unsigned long long>(o.seed));
    fprintf(out,
            "\"generated\": %lld, \"delivered\": %lld, \"awt_s\": %.3f, \"max_wait_s\": %.3f, "
            "\"p_wait_over_60s\": %.5f, \"mean_journey_s\": %.3f}\n",
            static_cast<long long>(f.generated), static_cast<long long>(f.delivered), f.averageWaitS, f.longestWaitS,
            f.shareWaitingOver60s, f.averageJourneyS);
}

void dayMode(const Options& o, FILE* out) {
    const DayFigures f = runDay(o);
    fprintf(out,
            "{\"mode\": \"day\", \"shafts\": %d, \"population\": %d, \"dispatch\": \"%s\", \"seed\": %llu, "
            "\"ticks\": %lld, \"generated\": %lld, \"delivered\": %lld, \"processor_s\": %.4f}\n",
            o.shafts, o.population, name(o.dispatch), static_cast<unsigned long long>(o.seed),
            static_cast<long long>(f.ticks), static_cast<long long>(f.generated), static_cast<long long>(f.delivered),
            f.processorS);
}

}  // namespace

int run(const std::vector<std::string>& arguments, FILE* out, FILE* err) {
    Options options;
    std::string error;
    if (!parse(arguments, options, error)) {
        fprintf(err, "zentrova-elevators: %s\n%s\n", error.c_str(), usage());
        return badArguments;
    }
    switch (options.mode) {
    case Mode::Textbook:
        textbookMode(options, out);
        break;
    case Mode::Traffic:
        trafficMode(options, out);
        break;
    case Mode::Day:
        dayMode(options, out);
        break;
    }
    return 0;
}

}  // namespace study
