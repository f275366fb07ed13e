#include "Planner.h"

#include <algorithm>

namespace life {

Planner::Planner(const Layout& layout) : map(layout), rides(static_cast<size_t>(layout.regionCount())) {
    for (size_t s = 0; s < layout.shafts().size(); ++s) {
        const int shaft = static_cast<int>(s);
        std::vector<std::pair<int, int>> landings;  // storey, area
        for (int storey = 0; storey < layout.storeys(); ++storey)
            for (int hall : layout.halls(shaft, storey)) landings.emplace_back(storey, layout.region(hall));
        std::sort(landings.begin(), landings.end());
        landings.erase(std::unique(landings.begin(), landings.end()), landings.end());
        for (const auto& from : landings)
            for (const auto& to : landings)
                if (from.first != to.first) rides[static_cast<size_t>(from.second)].push_back(Ride{shaft, to.first, to.second});
    }
    seen.assign(static_cast<size_t>(std::max(layout.regionCount(), layout.cellCount())), 0);
    cameFrom.assign(seen.size(), -1);
    via.assign(static_cast<size_t>(layout.regionCount()), Ride{-1, -1, -1});
    isTarget.assign(static_cast<size_t>(layout.cellCount()), 0);
    areaRides.assign(static_cast<size_t>(layout.regionCount()), -1);
    fromSteps.assign(static_cast<size_t>(layout.cellCount()), -1);
    goalSteps.assign(static_cast<size_t>(layout.cellCount()), -1);
}

bool Planner::isGoalArea(int area, Goal goal) const {
    if (goal.kind == Goal::Exit) return map.hasEntrance() && map.region(map.entrance()) == area;
    if (goal.room < 0 || static_cast<size_t>(goal.room) >= map.rooms().size()) return false;
    for (int door : map.doors(goal.room))
        if (map.region(door) == area) return true;
    return false;
}

bool Planner::firstRide(int area, Goal goal, Ride& ride) const {
    if (area < 0) return false;
    if (isGoalArea(area, goal)) {
        ride = Ride{-1, -1, -1};
        return true;
    }
    std::fill(seen.begin(), seen.begin() + map.regionCount(), 0);
    frontier.clear();
    frontier.push_back(area);
    seen[static_cast<size_t>(area)] = 1;
    for (size_t next = 0; next < frontier.size(); ++next) {
        const int at = frontier[next];
        for (const Ride& step : rides[static_cast<size_t>(at)]) {
            if (seen[static_cast<size_t>(step.area)]) continue;
            seen[static_cast<size_t>(step.area)] = 1;
            // Every area remembers the first ride of the way to it.
            via[static_cast<size_t>(step.area)] = at == area ? step : via[static_cast<size_t>(at)];
            if (isGoalArea(step.area, goal)) {
                ride = via[static_cast<size_t>(step.area)];
                return true;
            }
            frontier.push_back(step.area);
        }
    }
    return false;
}

bool Planner::walk(int from, const std::vector<int>& targets, std::vector<int>& path) const {
    path.clear();
    const int area = map.region(from);
    bool any = false;
    for (int target : targets)
        if (map.region(target) == area) {
            isTarget[static_cast<size_t>(target)] = 1;
            any = true;
        }
    if (!any) return false;
    std::fill(seen.begin(), seen.begin() + map.cellCount(), 0);
    frontier.clear();
    frontier.push_back(from);
    seen[static_cast<size_t>(from)] = 1;
    int found = -1;
    for (size_t next = 0; next < frontier.size() && found < 0; ++next) {
        const int at = frontier[next];
        if (isTarget[static_cast<size_t>(at)]) {
            found = at;
            break;
        }
        const int x = map.xOf(at), y = map.yOf(at), storey = map.storeyOf(at);
        const int candidates[4][2] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
        for (const auto& c : candidates) {
            if (!map.inside(c[0], c[1], storey)) continue;
            const int cell = map.index(c[0], c[1], storey);
            if (seen[static_cast<size_t>(cell)] || map.region(cell) != area) continue;
            seen[static_cast<size_t>(cell)] = 1;
            cameFrom[static_cast<size_t>(cell)] = at;
            frontier.push_back(cell);
        }
    }
    for (int target : targets) isTarget[static_cast<size_t>(target)] = 0;
    if (found < 0) return false;
    for (int at = found; at != from; at = cameFrom[static_cast<size_t>(at)]) path.push_back(at);
    std::reverse(path.begin(), path.end());
    return true;
}

void Planner::reachableFromLobby(std::vector<int>& cells, std::vector<int>& reached) const {
    cells.clear();
    reached.clear();
    if (!map.hasEntrance()) return;
    std::vector<char> areas(static_cast<size_t>(map.regionCount()), 0);
    std::vector<int> next{map.region(map.entrance())};
    areas[static_cast<size_t>(next.front())] = 1;
    for (size_t at = 0; at < next.size(); ++at)
        for (const Ride& ride : rides[static_cast<size_t>(next[at])])
            if (!areas[static_cast<size_t>(ride.area)]) {
                areas[static_cast<size_t>(ride.area)] = 1;
                next.push_back(ride.area);
            }
    for (int cell = 0; cell < map.cellCount(); ++cell)
        if (map.walkable(cell) && areas[static_cast<size_t>(map.region(cell))]) cells.push_back(cell);
    for (size_t room = 0; room < map.rooms().size(); ++room)
        for (int door : map.doors(static_cast<int>(room)))
            if (areas[static_cast<size_t>(map.region(door))]) {
                reached.push_back(static_cast<int>(room));
                break;
            }
}

int Planner::hallIn(int shaft, int storey, int area) const {
    for (int hall : map.halls(shaft, storey))
        if (map.region(hall) == area) return hall;
    return -1;
}

const std::vector<int>& Planner::goalCells(Goal goal) const {
    if (goal.kind == Goal::Room) return map.doors(goal.room);
    sources.clear();
    if (map.hasEntrance()) sources.push_back(map.entrance());
    return sources;
}

void Planner::ridesToGoal(Goal goal) const {
    std::fill(areaRides.begin(), areaRides.end(), -1);
    frontier.clear();
    for (int area = 0; area < map.regionCount(); ++area)
        if (isGoalArea(area, goal)) {
            areaRides[static_cast<size_t>(area)] = 0;
            frontier.push_back(area);
        }
    for (size_t next = 0; next < frontier.size(); ++next) {
        const int at = frontier[next];
        for (const Ride& step : rides[static_cast<size_t>(at)]) {
            if (areaRides[static_cast<size_t>(step.area)] >= 0) continue;
            areaRides[static_cast<size_t>(step.area)] = areaRides[static_cast<size_t>(at)] + 1;
            frontier.push_back(step.area);
        }
    }
}

void Planner::spread(const std::vector<int>& starts, std::vector<int>& steps) const {
    std::fill(steps.begin(), steps.end(), -1);
    frontier.clear();
    for (int start : starts)
        if (map.walkable(start) && steps[static_cast<size_t>(start)] < 0) {
            steps[static_cast<size_t>(start)] = 0;
            cameFrom[static_cast<size_t>(start)] = -1;
            frontier.push_back(start);
        }
    for (size_t next = 0; next < frontier.size(); ++next) {
        const int at = frontier[next];
        const int x = map.xOf(at), y = map.yOf(at), storey = map.storeyOf(at), area = map.region(at);
        const int candidates[4][2] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
        for (const auto& c : candidates) {
            if (!map.inside(c[0], c[1], storey)) continue;
            const int cell = map.index(c[0], c[1], storey);
            if (steps[static_cast<size_t>(cell)] >= 0 || map.region(cell) != area) continue;
            steps[static_cast<size_t>(cell)] = steps[static_cast<size_t>(at)] + 1;
            cameFrom[static_cast<size_t>(cell)] = at;
            frontier.push_back(cell);
        }
    }
}

int Planner::nearestHall(const std::vector<int>& steps, int shaft, int storey, int area, int& hall) const {
    int best = -1;
    hall = -1;
    for (int cell : map.halls(shaft, storey)) {
        const int walked = steps[static_cast<size_t>(cell)];
        if (map.region(cell) != area || walked < 0 || (best >= 0 && walked >= best)) continue;
        best = walked;
        hall = cell;
    }
    return best;
}

bool Planner::plan(int from, Goal goal, Leg& leg) const {
    leg.toHall = false;
    leg.shaft = leg.rideTo = leg.landing = -1;
    leg.path.clear();
    if (!map.walkable(from)) return false;
    if (goal.kind == Goal::Room && (goal.room < 0 || static_cast<size_t>(goal.room) >= map.rooms().size())) return false;
    const int area = map.region(from);
    if (isGoalArea(area, goal)) return walk(from, goalCells(goal), leg.path);

    ridesToGoal(goal);
    const int needed = areaRides[static_cast<size_t>(area)];
    if (needed < 0) return false;
    const int storey = map.storeyOf(from);
    const bool lastRide = needed == 1;
    if (lastRide) spread(goalCells(goal), goalSteps);
    sources.assign(1, from);
    spread(sources, fromSteps);
    int bestWalk = -1, bestHall = -1;
    Ride chosen{-1, -1, -1};
    for (const Ride& ride : rides[static_cast<size_t>(area)]) {
        if (areaRides[static_cast<size_t>(ride.area)] != needed - 1) continue;
        int hall = -1, landingHall = -1;
        int walked = nearestHall(fromSteps, ride.shaft, storey, area, hall);
        if (walked < 0) continue;
        if (lastRide) {
            const int after = nearestHall(goalSteps, ride.shaft, ride.storey, ride.area, landingHall);
            if (after < 0) continue;
            walked += after;
        }
        // Ties go to the first shaft, so that everyone with the same start and goal takes the same.
        if (bestWalk >= 0 && walked >= bestWalk) continue;
        bestWalk = walked;
        bestHall = hall;
        chosen = ride;
    }
    if (chosen.shaft < 0) return false;
    leg.toHall = true;
    leg.shaft = chosen.shaft;
    leg.rideTo = chosen.storey;
    leg.landing = chosen.area;
    for (int at = bestHall; at != from && at >= 0; at = cameFrom[static_cast<size_t>(at)]) leg.path.push_back(at);
    std::reverse(leg.path.begin(), leg.path.end());
    return true;
}

Unreachable Planner::fromLobby(int room) const {
    if (!map.hasEntrance()) return Unreachable::NoLobby;
    Ride ride{-1, -1, -1};
    if (firstRide(map.region(map.entrance()), Goal{Goal::Room, room}, ride)) return Unreachable::No;
    const int storey = map.rooms()[static_cast<size_t>(room)].storey;
    bool served = false;
    for (const Layout::Shaft& shaft : map.shafts()) served = served || shaft.served.contains(storey);
    if (!served && storey != 0) return Unreachable::NoShaft;
    // Floors from its door to a shaft: the shafts there do not lead to the lobby.
    for (int door : map.doors(room))
        for (size_t s = 0; s < map.shafts().size(); ++s)
            if (hallIn(static_cast<int>(s), storey, map.region(door)) >= 0) return Unreachable::NoShaft;
    return Unreachable::NoFloorPath;
}

}  // namespace life
