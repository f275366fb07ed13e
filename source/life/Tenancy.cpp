#include "Tenancy.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace life {

const Tenancy::Star Tenancy::stars[5] = {
    {15, 200, 4},    // one star: four storeys
    {50, 150, 6},    // two: six
    {120, 120, 8},   // three: eight
    {250, 100, 10},  // four: all ten
    {500, 80, 10},   // five: the goal
};

namespace {

const char* const starNames[] = {"no star", "one star", "two stars", "three stars", "four stars", "five stars"};

bool isHotel(RoomUse use) { return use == RoomUse::Single || use == RoomUse::Suite; }

}  // namespace

Tenancy::Tenancy(std::uint64_t seed) : chance(seed, 2) {}

Tenancy::Record* Tenancy::find(int uid) {
    auto found = std::lower_bound(records.begin(), records.end(), uid, [](const Record& r, int key) { return r.uid < key; });
    return found != records.end() && found->uid == uid ? &*found : nullptr;
}

const Tenancy::Record* Tenancy::find(int uid) const { return const_cast<Tenancy*>(this)->find(uid); }

void Tenancy::setRooms(const Layout& layout) {
    std::vector<Record> next;
    for (const Layout::Room& room : layout.rooms()) {
        if (room.use == RoomUse::None) continue;
        const Record* old = find(room.uid);
        Record record = old && old->use == room.use ? *old : Record();
        record.uid = room.uid;
        record.use = room.use;
        record.storey = room.storey;
        next.push_back(record);
    }
    records.swap(next);
}

void Tenancy::recordTrip(int roomUid, sim::Tick waited) {
    if (Record* record = find(roomUid)) {
        record->waits[0] += waited;
        ++record->trips[0];
    }
}

sim::Tick Tenancy::recentWait(int roomUid) const {
    const Record* record = find(roomUid);
    if (!record) return -1;
    sim::Tick waited = 0;
    int trips = 0;
    for (int day = 0; day < daysRemembered; ++day) {
        waited += record->waits[day];
        trips += record->trips[day];
    }
    return trips < tripsToJudge ? -1 : waited / trips;
}

Service Tenancy::serviceOf(int roomUid) const {
    const Record* record = find(roomUid);
    if (!record || !record->rented) return Service::Vacant;
    const sim::Tick wait = recentWait(roomUid);
    if (wait < 0 || wait <= goodWait) return Service::Good;
    return wait <= fairWait ? Service::Fair : Service::Poor;
}

void Tenancy::bookEvening(const Planner& route) {
    const Layout& layout = route.layout();
    for (Record& record : records) {
        if (!isHotel(record.use)) continue;
        record.rented = false;
        if (route.fromLobby(layout.roomIndex(record.uid)) != Unreachable::No) continue;
        // Guests come to a tower of renown, and not to rooms whose last guests waited long.
        int perMille = 550 + 90 * current;
        const sim::Tick wait = recentWait(record.uid);
        if (wait > fairWait) perMille -= 400;
        else if (wait >= 0 && wait <= goodWait) perMille += 100;
        record.rented = chance.chancePerMille(std::max(50, std::min(950, perMille)));
    }
}

void Tenancy::midnight(const Planner& route, sim::Tick now) {
    const Layout& layout = route.layout();
    for (Record& record : records) {
        if (record.use == RoomUse::Office) {
            const bool reachable = route.fromLobby(layout.roomIndex(record.uid)) == Unreachable::No;
            const sim::Tick wait = recentWait(record.uid);
            if (record.rented && (!reachable || wait > leavingWait)) {
                char text[120];
                snprintf(text, sizeof text,
                         reachable ? "The office on storey %d moved out: the elevators kept its staff waiting."
                                   : "The office on storey %d moved out: nobody could reach it.",
                         record.storey + 1);
                news.push_back(text);
                record.rented = false;
                record.daysRented = 0;
                for (int day = 0; day < daysRemembered; ++day) record.waits[day] = record.trips[day] = 0;
            } else if (record.rented) {
                ++record.daysRented;
            } else if (reachable && record.moveIn < 0) {
                // A company looks the office over in the night and moves in by the morning.
                record.moveIn = now + chance.uniform(60, 480) * sim::ticksPerGameMinute;
            } else if (!reachable) {
                record.moveIn = -1;
            }
        }
        for (int day = daysRemembered - 1; day > 0; --day) {
            record.waits[day] = record.waits[day - 1];
            record.trips[day] = record.trips[day - 1];
        }
        record.waits[0] = 0;
        record.trips[0] = 0;
    }
    rate();
}

void Tenancy::moveIn(sim::Tick now) {
    for (Record& record : records) {
        if (record.use != RoomUse::Office || record.moveIn < 0 || record.moveIn > now) continue;
        record.moveIn = -1;
        record.rented = true;
        record.daysRented = 0;
        char text[80];
        snprintf(text, sizeof text, "A company moved into the office on storey %d.", record.storey + 1);
        news.push_back(text);
    }
}

bool Tenancy::admits(int roomUid) const {
    const Record* record = find(roomUid);
    return record && record->rented;
}

bool Tenancy::movingIn(int roomUid) const {
    const Record* record = find(roomUid);
    return record && !record->rented && record->moveIn >= 0;
}

bool Tenancy::paysRent(int roomUid) const {
    const Record* record = find(roomUid);
    if (!record || !record->rented) return false;
    return record->use != RoomUse::Office || record->daysRented > 0;
}

int Tenancy::population() const {
    int people = 0;
    for (const Record& record : records)
        if (record.rented) people += occupantsOf(record.use);
    return people;
}

sim::Tick Tenancy::towerWait() const {
    sim::Tick waited = 0;
    long trips = 0;
    for (const Record& record : records)
        for (int day = 0; day < daysRemembered; ++day) {
            waited += record.waits[day];
            trips += record.trips[day];
        }
    return trips == 0 ? 0 : waited / trips;
}

const char* Tenancy::starName(int stars) { return starNames[stars < 0 ? 0 : stars > 5 ? 5 : stars]; }

int Tenancy::storeysOpen() const { return best == 0 ? storeysAtFirst : stars[best - 1].storeysOpen; }

int Tenancy::starOpening(int storey) const {
    if (storey <= storeysOpen()) return 0;
    for (int star = 1; star <= 5; ++star)
        if (stars[star - 1].storeysOpen >= storey) return star;
    return 5;
}

void Tenancy::rate() {
    const int people = population();
    const sim::Tick wait = towerWait();
    int earned = 0;
    while (earned < 5 && people >= stars[earned].population && wait <= stars[earned].averageWait) ++earned;
    current = earned;
    if (earned <= best) return;
    best = earned;
    char text[120];
    if (best == 5) {
        snprintf(text, sizeof text, "Five stars: the tower is a landmark of the city. Well done!");
    } else {
        snprintf(text, sizeof text, "The tower has %s! Storeys up to %d are open.", starNames[best], storeysOpen());
    }
    news.push_back(text);
}

std::vector<std::string> Tenancy::takeNews() {
    std::vector<std::string> taken;
    taken.swap(news);
    return taken;
}

std::vector<std::string> Tenancy::save(const Layout& layout) const {
    std::vector<std::string> lines;
    char text[64];
    snprintf(text, sizeof text, "-2 %d %d", current, best);
    std::string head = text;
    for (std::uint64_t word : chance.words()) head += " " + std::to_string(static_cast<long long>(word));
    lines.push_back(head);
    // In the order of the rooms' anchors, which a load keeps, not of their uids, which it does not.
    std::vector<const Record*> byAnchor;
    for (const Record& record : records) byAnchor.push_back(&record);
    std::sort(byAnchor.begin(), byAnchor.end(),
              [&layout](const Record* a, const Record* b) { return layout.anchorOf(a->uid) < layout.anchorOf(b->uid); });
    for (const Record* entry : byAnchor) {
        const Record& record = *entry;
        std::string line = std::to_string(layout.anchorOf(record.uid));
        for (long long value : {static_cast<long long>(record.rented), static_cast<long long>(record.moveIn),
                                static_cast<long long>(record.daysRented)})
            line += " " + std::to_string(value);
        for (int day = 0; day < daysRemembered; ++day)
            line += " " + std::to_string(record.waits[day]) + " " + std::to_string(record.trips[day]);
        lines.push_back(line);
    }
    return lines;
}

bool Tenancy::load(const std::vector<std::string>& lines, const Layout& layout, std::string& why) {
    auto numbers = [](const std::string& line, std::vector<long long>& out) {
        out.clear();
        const char* at = line.c_str();
        while (true) {
            while (*at == ' ' || *at == '\r') ++at;
            if (*at == '\0') return true;
            char* end = nullptr;
            errno = 0;
            const long long value = strtoll(at, &end, 10);
            if (end == at || errno == ERANGE) return false;
            out.push_back(value);
            at = end;
        }
    };
    std::vector<long long> values;
    if (lines.empty() || !numbers(lines[0], values) || values.size() != 7 || values[0] != -2 || values[1] < 0 ||
        values[1] > 5 || values[2] < values[1] || values[2] > 5) {
        why = "the rating record is unreadable";
        return false;
    }
    sim::Random savedChance = chance;
    if (!savedChance.setWords({static_cast<std::uint64_t>(values[3]), static_cast<std::uint64_t>(values[4]),
                               static_cast<std::uint64_t>(values[5]), static_cast<std::uint64_t>(values[6])})) {
        why = "the tenants' chance is unreadable";
        return false;
    }
    const int savedCurrent = static_cast<int>(values[1]), savedBest = static_cast<int>(values[2]);
    std::vector<Record> loaded = records;
    std::vector<char> seen(loaded.size(), 0);
    for (size_t i = 1; i < lines.size(); ++i) {
        if (!numbers(lines[i], values) || values.size() != 4 + 2 * daysRemembered) {
            why = "a tenant record is unreadable";
            return false;
        }
        const int uid = values[0] >= INT_MIN && values[0] <= INT_MAX ? layout.uidAt(static_cast<int>(values[0])) : -1;
        auto found = std::lower_bound(loaded.begin(), loaded.end(), uid, [](const Record& r, int key) { return r.uid < key; });
        if (found == loaded.end() || found->uid != uid || seen[static_cast<size_t>(found - loaded.begin())]) {
            why = "a tenant record names no room";
            return false;
        }
        seen[static_cast<size_t>(found - loaded.begin())] = 1;
        if ((values[1] & ~1) != 0 || values[2] < -1 || values[3] < 0 || values[3] > INT_MAX) {
            why = "a tenant record holds a value out of range";
            return false;
        }
        found->rented = values[1] != 0;
        found->moveIn = values[2];
        found->daysRented = static_cast<int>(values[3]);
        for (int day = 0; day < daysRemembered; ++day) {
            const long long waited = values[4 + 2 * day], trips = values[5 + 2 * day];
            if (waited < 0 || trips < 0 || trips > INT_MAX) {
                why = "a tenant record holds a value out of range";
                return false;
            }
            found->waits[day] = waited;
            found->trips[day] = static_cast<int>(trips);
        }
    }
    records.swap(loaded);
    chance = savedChance;
    current = savedCurrent;
    best = savedBest;
    return true;
}

}  // namespace life
