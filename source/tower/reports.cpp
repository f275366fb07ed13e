#include "reports.h"

#include <cstdarg>
#include <cstdio>
#include <map>
#include <set>

#include "BasicRoom.h"
#include "Clock.h"
#include "Elevator.h"
#include "Ledger.h"
#include "Life.h"
#include "Lobby.h"
#include "Map.h"
#include "RoomDefs.h"
#include "Tile.h"

namespace {

std::string format(const char* pattern, int a, int b = 0, int c = 0) {
    char text[128];
    snprintf(text, sizeof text, pattern, a, b, c);
    return text;
}

std::string textf(const char* pattern, ...) __attribute__((format(printf, 1, 2)));
std::string textf(const char* pattern, ...) {
    char text[160];
    va_list arguments;
    va_start(arguments, pattern);
    vsnprintf(text, sizeof text, pattern, arguments);
    va_end(arguments);
    return text;
}

std::string groundOf(const Tile& tile) {
    switch (tile.getType()) {
    case Tile::FLOOR: return "Floor";
    case Tile::ROOF: return "Roof, open for a floor";
    case Tile::PLAIN: return "Ground";
    default: return tile.getPosition().z == 0 ? "Ground" : "Open air";
    }
}

bool paysRent(const aRoom& def) {
    return def.rentIncome > 0 && def.rentPeriod > 0 && def.rentPeriod <= Clock::daysPerMonth;
}

std::string rentText(const aRoom& def) {
    if (!paysRent(def)) return "no rent";
    if (def.rentPeriod == 1) return "$" + moneyText(def.rentIncome) + " every day";
    return "$" + moneyText(def.rentIncome) + format(" every %d days", def.rentPeriod);
}

// Rent falls due at the midnight that begins a day whose number the period divides.
std::string nextRentDay(const aRoom& def, const Clock& clock) {
    for (int ahead = 1; ahead <= Clock::daysPerMonth; ++ahead) {
        const int day = (clock.getDay() - 1 + ahead) % Clock::daysPerMonth + 1;
        if (day % def.rentPeriod != 0) continue;
        const bool nextMonth = clock.getDay() - 1 + ahead >= Clock::daysPerMonth;
        return format(nextMonth ? "Next rent on day %d of next month" : "Next rent on day %d", day);
    }
    return "Never pays rent";
}

std::string storeysOf(const std::set<int>& storeys) {
    if (storeys.empty()) return "Shaft on no storey";
    const int first = *storeys.begin(), last = *storeys.rbegin();
    if (last - first + 1 == static_cast<int>(storeys.size())) {
        return first == last ? format("Shaft on storey %d", first + 1) : format("Shaft on storeys %d to %d", first + 1, last + 1);
    }
    std::string text = "Shaft on storeys";
    for (int storey : storeys) text += format(" %d", storey + 1);
    return text;
}

std::string carText(const ElevatorCar::State& car, int baseStorey) {
    const std::string load = car.passengers == 0 ? ", empty" : format(" with %d passengers", car.passengers);
    const int goal = baseStorey + car.goalFloor + 1;
    if (car.goingUp) return format("Car going up to storey %d", goal) + load;
    if (car.goingDown) return format("Car going down to storey %d", goal) + load;
    return format("Car standing at storey %d", goal) + load;
}

}  // namespace

namespace {

std::string nameOf(const Map& map, int uid) {
    std::string name = "a shaft";
    map.forEachRoom([&](const Room& room) {
        if (room.getUid() == uid) name = const_cast<Room&>(room).getRoomInfo();
    });
    return name;
}

// Ticks as the clock counts them: "4 min", or "0.5 min".
std::string minutesOf(double ticks) {
    const double minutes = ticks / sim::ticksPerGameMinute;
    return minutes < 10 ? textf("%.1f min", minutes) : textf("%.0f min", minutes);
}

std::string whereIs(const Map& map, const life::Life& people, const life::Person& person) {
    const life::Layout& layout = people.layout();
    switch (person.where) {
    case life::Where::Outside: return person.phase == 2 ? "out to lunch" : "away";
    case life::Where::InRoom: return "in the room";
    case life::Where::Walking:
        return format("walking on storey %d", layout.storeyOf(person.cell) + 1) + (person.leaving ? ", leaving" : "");
    case life::Where::Waiting:
        return textf("waiting for %s on storey %d", nameOf(map, person.shaft).c_str(), layout.storeyOf(person.cell) + 1);
    case life::Where::Riding: return textf("riding %s to storey %d", nameOf(map, person.shaft).c_str(), person.rideTo + 1);
    }
    return "";
}

// Whether the room's people reach it, who has it and how they find the service.
void lifeLines(const life::Life& people, const BasicRoom& room, std::vector<std::string>& lines) {
    const life::Layout& layout = people.layout();
    const int index = layout.roomIndex(room.getUid());
    if (index < 0) return;
    switch (people.planner().fromLobby(index)) {
    case life::Unreachable::No: lines.push_back("Reachable from the lobby"); break;
    case life::Unreachable::NoLobby: lines.push_back("Not reachable: there is no lobby"); break;
    case life::Unreachable::NoFloorPath: lines.push_back("Not reachable: no floor leads to it from a shaft"); break;
    case life::Unreachable::NoShaft:
        lines.push_back(format("Not reachable: no shaft serves storey %d from the lobby", room.getLocation().z + 1));
        break;
    }
    const life::Tenancy& tenancy = people.tenancy();
    const life::RoomUse use = layout.rooms()[static_cast<size_t>(index)].use;
    if (use == life::RoomUse::Office) {
        lines.push_back(tenancy.admits(room.getUid()) ? "Let to a company"
                        : tenancy.movingIn(room.getUid()) ? "Vacant: a company moves in soon"
                                                          : "Vacant");
    } else if (use != life::RoomUse::None) {
        lines.push_back(tenancy.admits(room.getUid()) ? "Booked for tonight" : "No guests tonight");
    }
    const sim::Tick wait = tenancy.recentWait(room.getUid());
    if (use == life::RoomUse::None) return;
    if (wait < 0) {
        lines.push_back("Too few journeys yet to judge the service");
        return;
    }
    const char* verdict = wait <= life::Tenancy::goodWait   ? "the tenants are pleased"
                          : wait <= life::Tenancy::fairWait ? "the tenants put up with it"
                                                            : "the tenants are unhappy";
    lines.push_back(textf("Recent wait %s: %s", minutesOf(static_cast<double>(wait)).c_str(), verdict));
}

void shaftLines(const life::Life& people, int uid, std::vector<std::string>& lines) {
    const sim::Shaft* shaft = people.shaft(uid);
    if (!shaft) return;
    std::set<int> served;
    for (int storey = 0; storey < sim::StoreySet::maxStoreys; ++storey)
        if (shaft->served().contains(storey)) served.insert(storey);
    std::string serves = storeysOf(served);
    serves.replace(0, std::string("Shaft on").size(), "Serves");
    lines.push_back(serves);
    for (int storey : served) {
        const int up = shaft->waiting(storey, sim::Direction::Up).size();
        const int down = shaft->waiting(storey, sim::Direction::Down).size();
        if (up + down > 0) lines.push_back(format("  storey %d: %d waiting up, %d waiting down", storey + 1, up, down));
    }
    const sim::Car& car = shaft->car(0);
    const std::string load = car.load() == 0 ? ", empty" : format(" with %d of %d aboard", car.load(), shaft->timing().capacity);
    const int at = car.storey() + 1;
    if (car.activity() == sim::Car::Activity::Moving && car.goal() >= 0) {
        lines.push_back(format(car.direction() == sim::Direction::Up ? "Car going up to storey %d" : "Car going down to storey %d",
                               car.goal() + 1) + load);
    } else {
        lines.push_back(format("Car at storey %d", at) + load);
    }
    const life::TripTotals& today = people.todayBy(uid);
    lines.push_back(today.trips == 0 ? std::string("No rides today")
                                     : textf("Average wait today %s over %ld rides",
                                              minutesOf(static_cast<double>(today.waitTicks) / today.trips).c_str(),
                                              today.trips));
}

}  // namespace

std::vector<std::string> queryReport(Map& map, const Clock& clock, const point& cell, const life::Life* people) {
    std::vector<std::string> lines;
    lines.push_back(format("Storey %d, cell %d, %d", cell.z + 1, cell.x, cell.y));
    if (const Tile* tile = map.tileAt(cell.x, cell.y, cell.z)) lines.push_back(groundOf(*tile));
    Room* room = map.roomAt(cell.x, cell.y, cell.z);
    auto* basic = dynamic_cast<BasicRoom*>(room);
    const aRoom* def = basic ? roomDefinition(basic->getRoomType()) : nullptr;
    if (people && !room) {
        const life::Layout& layout = people->layout();
        const int here = layout.inside(cell.x, cell.y, cell.z) ? layout.index(cell.x, cell.y, cell.z) : -1;
        const int hall = layout.hallOf(here);
        if (hall >= 0) {
            const int uid = layout.shafts()[static_cast<size_t>(hall)].uid;
            lines.push_back("A hall of " + nameOf(map, uid));
            int waiting = 0;
            for (const life::Person& person : people->people())
                if (person.where == life::Where::Waiting && person.cell == here) {
                    if (++waiting <= 5) lines.push_back(format("  waiting to go to storey %d", person.rideTo + 1));
                }
            lines.push_back(waiting == 0 ? std::string("Nobody waits here") : format("%d waiting here", waiting));
        }
    }
    if (!basic || !def) return lines;

    lines.push_back(basic->getRoomInfo());
    if (basic == map.getLobby()) {
        lines.push_back(format(room->references() == 1 ? "%d cell" : "%d cells", room->references()));
        return lines;
    }
    lines.push_back("Cost $" + moneyText(def->cost) + (paysRent(*def) ? ", rent " : ", ") + rentText(*def));
    if (paysRent(*def)) lines.push_back(nextRentDay(*def, clock));
    if (const auto* elevator = dynamic_cast<const Elevator*>(basic)) {
        std::set<int> storeys;
        for (int z = 0; z < map.getMaxFloors(); ++z)
            for (int x = 0; x < map.getWidth(); ++x)
                for (int y = 0; y < map.getHeight(); ++y)
                    if (map.roomAt(x, y, z) == room) storeys.insert(z);
        lines.push_back(storeysOf(storeys));
        if (people) {
            shaftLines(*people, basic->getUid(), lines);
        } else {
            lines.push_back(carText(elevator->car().state(), basic->getLocation().z));
        }
        return lines;
    }
    if (!people) {
        lines.push_back(map.bordersLobbyArea(room) ? "Borders the lobby's walkable area"
                                                   : "Does not border the lobby's walkable area");
    } else {
        lifeLines(*people, *basic, lines);
        int count = 0;
        for (const life::Person& person : people->people())
            if (person.roomUid == basic->getUid() && !person.orphan) {
                lines.push_back(format(person.role == life::Role::Worker ? "  Worker %d: " : "  Guest %d: ", ++count) +
                                whereIs(map, *people, person));
            }
        if (count == 0) lines.push_back("Nobody lives or works here");
    }
    return lines;
}

FinanceReport financeReport(const Map& map, const Ledger& ledger, const Clock& clock, double funds,
                            const life::Life* people) {
    FinanceReport report;
    const long today = clock.dayNumber();
    const long monthStart = today - (clock.getDay() - 1);
    // What went on a kind this month and last.
    auto spending = [&](const char* title, Ledger::Kind kind) {
        const double thisMonth = -ledger.between(monthStart, today, kind);
        const double lastMonth = -ledger.between(monthStart - Clock::daysPerMonth, monthStart - 1, kind);
        return std::string(title) + ": $" + moneyText(thisMonth) + " this month, $" + moneyText(lastMonth) +
               " last month";
    };
    report.lines.push_back("Balance: $" + moneyText(funds));
    report.lines.push_back(spending("Construction", Ledger::CONSTRUCTION));
    report.lines.push_back(spending("Bulldozing", Ledger::BULLDOZING));

    // Each room once, however many cells it covers, counted by kind.
    std::set<const Room*> seen;
    std::map<int, int> counts, let;
    for (int z = 0; z < map.getMaxFloors(); ++z)
        for (int x = 0; x < map.getWidth(); ++x)
            for (int y = 0; y < map.getHeight(); ++y) {
                const auto* room = dynamic_cast<const BasicRoom*>(map.roomAt(x, y, z));
                if (!room || room == map.getLobby() || !seen.insert(room).second) continue;
                ++counts[room->getRoomType()];
                if (people && people->tenancy().admits(room->getUid())) ++let[room->getRoomType()];
            }
    report.lines.push_back(counts.empty() ? "No rooms yet" : "Rooms:");
    for (const auto& entry : counts) {
        const aRoom* def = roomDefinition(entry.first);
        if (!def) continue;
        std::string line = format("  %d ", entry.second) + def->title + ", " + rentText(*def);
        // In the living tower only a let room pays: how many are.
        if (people && def->type == BASIC) line += format(", %d let", let[entry.first]);
        report.lines.push_back(line);
    }
    if (people) {
        const life::Tenancy& tenancy = people->tenancy();
        report.lines.push_back(textf("Average wait of the last %d days: %s", life::Tenancy::daysRemembered,
                                     minutesOf(static_cast<double>(tenancy.towerWait())).c_str()));
        report.lines.push_back(textf("Rating: %d of 5 stars, %d people", tenancy.rating(), tenancy.population()));
    }

    double fortnight = 0;
    for (long day = today - 13; day <= today; ++day) {
        const double rent = day >= 0 ? ledger.on(day, Ledger::RENT) : 0;
        fortnight += rent;
        report.chart.values.push_back(rent);
        report.chart.labels.push_back(day >= 0 ? format("%d", static_cast<int>(day % Clock::daysPerMonth) + 1) : "");
    }
    report.lines.push_back("");
    report.lines.push_back("Rent of the last 14 days: $" + moneyText(fortnight) + ", today $" +
                           moneyText(ledger.on(today, Ledger::RENT)));
    return report;
}
