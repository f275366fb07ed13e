#include "Ledger.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

void Ledger::record(long day, Kind kind, double amount) {
    // A loaded game may stand before the days it recorded; keep the order.
    auto at = days.begin();
    while (at != days.end() && at->day < day) ++at;
    if (at == days.end() || at->day != day) at = days.insert(at, Day{day, {0, 0, 0}});
    at->amounts[kind] = std::max(-limit, std::min(limit, at->amounts[kind] + amount));
    const long oldest = days.back().day - daysKept + 1;
    size_t gone = 0;
    while (gone < days.size() && days[gone].day < oldest) ++gone;
    days.erase(days.begin(), days.begin() + static_cast<long>(gone));
}

double Ledger::between(long first, long last, Kind kind) const {
    double total = 0;
    for (const Day& entry : days)
        if (entry.day >= first && entry.day <= last) total += entry.amounts[kind];
    return total;
}

bool Ledger::save(FILE* file) const {
    bool ok = saveSections::writeHeader(file, "ledger", static_cast<long>(days.size()));
    for (const Day& entry : days) {
        ok = fprintf(file, "%ld %.2f %.2f %.2f\n", entry.day, entry.amounts[RENT], entry.amounts[CONSTRUCTION],
                     entry.amounts[BULLDOZING]) > 0 &&
             ok;
    }
    return ok;
}

void Ledger::read(saveSections::Reader& reader) {
    days.clear();
    std::string line;
    while (reader.nextRecord(line)) {
        const char* at = line.c_str();
        char* end = nullptr;
        errno = 0;
        const long day = strtol(at, &end, 10);
        bool ok = end != at && errno == 0 && day >= 0;
        double amounts[KIND_COUNT] = {0, 0, 0};
        for (double& amount : amounts) {
            at = end;
            amount = strtod(at, &end);
            ok = ok && end != at && std::isfinite(amount) && std::fabs(amount) <= limit;
        }
        while (ok && (*end == ' ' || *end == '\r')) ++end;
        if (!ok || *end != '\0') {
            reader.report("a ledger record was passed over: %.40s", line.c_str());
            continue;
        }
        for (int kind = 0; kind < KIND_COUNT; ++kind) record(day, static_cast<Kind>(kind), amounts[kind]);
    }
}

namespace {

// "1.8e308": a mantissa of two figures and the power of ten, for amounts too
// long to show in full.
std::string shortAmount(double amount) {
    char text[32];
    snprintf(text, sizeof text, "%.1e", amount);
    std::string shown = text;
    const size_t e = shown.find('e');
    if (e == std::string::npos) return shown;
    size_t digits = e + 1;
    if (digits < shown.size() && shown[digits] == '+') shown.erase(digits, 1);
    if (digits < shown.size() && shown[digits] == '-') ++digits;
    while (digits + 1 < shown.size() && shown[digits] == '0') shown.erase(digits, 1);
    return shown;
}

}  // namespace

std::string fundsText(double amount) {
    if (!(std::fabs(amount) < Ledger::limit)) return shortAmount(amount);
    char text[32];
    snprintf(text, sizeof text, "%4.2f", amount);
    return text;
}

std::string moneyText(double amount) {
    if (!(std::fabs(amount) < Ledger::limit)) return shortAmount(amount);
    char text[64];
    if (std::fabs(amount - std::round(amount)) < 0.005) {
        double whole = std::round(amount);
        if (whole == 0) whole = 0;  // never "-0"
        snprintf(text, sizeof text, "%.0f", whole);
    } else {
        snprintf(text, sizeof text, "%.2f", amount);
    }
    return text;
}
