#include "studyOptions.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <set>

#include "CarTiming.h"
#include "Shaft.h"
#include "StoreySet.h"

namespace study {

namespace {

// In the order of the enumerations.
const char* const trafficNames[] = {"up-peak", "down-peak", "interfloor", "lunch"};
const char* const dispatchNames[] = {"collective", "eta"};

// Which modes an option belongs to.
enum : unsigned { textbook = 1, traffic = 2, day = 4, all = 7 };

struct Known {
    const char* name;
    unsigned modes;
};
const Known knownOptions[] = {
    {"--floors", textbook | traffic},
    {"--cars", textbook | traffic},
    {"--dispatch", all},
    {"--seed", all},
    {"--passengers", textbook},
    {"--floor-time", textbook},
    {"--stop-time", textbook},
    {"--transfer-time", textbook},
    {"--trips", textbook},
    {"--population", traffic | day},
    {"--traffic", traffic},
    {"--rate", traffic},
    {"--minutes", traffic},
    {"--shafts", day},
};

bool whole(const std::string& text, long long lowest, long long highest, long long& value) {
    if (text.empty() || text[0] == '+' || text[0] == ' ') return false;
    char* end = nullptr;
    errno = 0;
    value = strtoll(text.c_str(), &end, 10);
    return errno == 0 && *end == '\0' && value >= lowest && value <= highest;
}

bool integer(const std::string& text, int lowest, int highest, int& value) {
    long long read = 0;
    if (!whole(text, lowest, highest, read)) return false;
    value = static_cast<int>(read);
    return true;
}

bool decimal(const std::string& text, double lowest, double highest, double& value) {
    if (text.empty() || !(isdigit(static_cast<unsigned char>(text[0])) || text[0] == '.')) return false;
    char* end = nullptr;
    errno = 0;
    value = strtod(text.c_str(), &end);
    return errno == 0 && *end == '\0' && std::isfinite(value) && value >= lowest && value <= highest;
}

// Seconds, to the millisecond, at least one millisecond.
bool milliseconds(const std::string& text, int& value) {
    double seconds = 0;
    if (!decimal(text, 0.001, 1000, seconds)) return false;
    value = static_cast<int>(std::lround(seconds * 1000));
    return std::fabs(seconds * 1000 - value) < 1e-6 * seconds * 1000 + 1e-9;
}

template <typename Kind, size_t count>
bool oneOf(const std::string& text, const char* const (&names)[count], Kind& kind) {
    for (size_t index = 0; index < count; ++index) {
        if (text != names[index]) continue;
        kind = static_cast<Kind>(index);
        return true;
    }
    return false;
}

bool apply(const std::string& option, const std::string& value, Options& o) {
    long long seed = 0;
    const int mostFloors = sim::StoreySet::maxStoreys - 1;
    if (option == "--floors") return integer(value, 2, mostFloors, o.floors);
    if (option == "--cars") return integer(value, 1, sim::Shaft::maxCars, o.cars);
    if (option == "--passengers") return integer(value, 1, sim::CarTiming::maxCapacity, o.passengers);
    if (option == "--floor-time") return milliseconds(value, o.floorMs);
    if (option == "--stop-time") return milliseconds(value, o.stopMs);
    if (option == "--transfer-time") return milliseconds(value, o.transferMs);
    if (option == "--trips") return integer(value, 1, 10000000, o.trips);
    if (option == "--population") return integer(value, 1, 1000000, o.population);
    if (option == "--rate") return decimal(value, 0.001, 1000, o.ratePercent);
    if (option == "--minutes") return integer(value, 1, 1000000, o.minutes);
    if (option == "--shafts") return integer(value, 1, 1000, o.shafts);
    if (option == "--seed") {
        if (!whole(value, 0, 0x7fffffffffffffffLL, seed)) return false;
        o.seed = static_cast<std::uint64_t>(seed);
        return true;
    }
    if (option == "--traffic") return oneOf(value, trafficNames, o.traffic);
    if (option == "--dispatch") return oneOf(value, dispatchNames, o.dispatch);
    return false;
}

}  // namespace

const char* usage() {
    return "usage: zentrova-elevators [--floors N --cars L --population U "
           "--traffic up-peak|down-peak|interfloor|lunch --rate R --minutes M] | [--textbook --floors N "
           "--passengers P --cars L --floor-time TV --stop-time TS --transfer-time TP --trips T] | "
           "[--day --shafts S --population U] [--dispatch collective|eta] [--seed S]";
}

const char* name(TrafficKind kind) { return trafficNames[static_cast<int>(kind)]; }
const char* name(sim::DispatchKind kind) { return dispatchNames[static_cast<int>(kind)]; }

namespace {

const Known* find(const std::string& option) {
    for (const Known& known : knownOptions)
        if (option == known.name) return &known;
    return nullptr;
}

bool refuse(std::string& error, const std::string& reason) {
    error = reason;
    return false;
}

}  // namespace

bool parse(const std::vector<std::string>& arguments, Options& options, std::string& error) {
    options = Options();
    std::set<std::string> seen;
    std::vector<std::pair<std::string, std::string>> settings;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (!seen.insert(option).second) return refuse(error, option + " given twice");
        if (option == "--textbook" || option == "--day") {
            if (seen.count("--textbook") && seen.count("--day"))
                return refuse(error, "--textbook and --day exclude each other");
            options.mode = option == "--textbook" ? Mode::Textbook : Mode::Day;
            continue;
        }
        if (!find(option)) return refuse(error, "unknown option " + option);
        if (i + 1 >= arguments.size()) return refuse(error, option + " needs a value");
        settings.emplace_back(option, arguments[++i]);
    }
    const unsigned mode = options.mode == Mode::Textbook ? textbook : options.mode == Mode::Day ? day : traffic;
    for (const auto& setting : settings) {
        if (!(find(setting.first)->modes & mode)) return refuse(error, setting.first + " does not belong to this mode");
        if (!apply(setting.first, setting.second, options))
            return refuse(error, "bad value for " + setting.first + ": " + setting.second);
    }
    return true;
}

}  // namespace study
