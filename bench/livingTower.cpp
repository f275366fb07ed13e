#include "livingTower.h"

#include <chrono>
#include <cstdio>

#include <algorithm>

#include "BasicRoom.h"
#include "RoomDefs.h"
#include "Life.h"
#include "Map.h"
#include "Tenancy.h"
#include "frameScenes.h"
#include "game.h"
#include "keyModifiers.h"
#include "ticks.h"

namespace living_bench {

namespace {

constexpr int singleKind = 2, suiteKind = 3, officeKind = 4;

Day takeFigures(int day, int storeysBuilt, double funds) {
    Game* game = Game::Instance();
    const life::Life* people = game->getTower().getLife();
    Day figures;
    figures.day = day;
    figures.stars = people->tenancy().rating();
    figures.people = people->tenancy().population();
    figures.waitMinutes = people->tenancy().towerWait() / double(sim::ticksPerGameMinute);
    figures.storeysBuilt = storeysBuilt;
    figures.funds = funds;
    game->getMap().forEachRoom([&](const Room& room) {
        const auto* basic = dynamic_cast<const BasicRoom*>(&room);
        if (!basic) return;
        const int kind = basic->getRoomType();
        if (kind < singleKind || kind > officeKind) return;
        ++figures.rooms[kind - singleKind];
        if (people->tenancy().admits(room.getUid())) ++figures.let[kind - singleKind];
    });
    return figures;
}

}  // namespace

Progress growServedTower(int maxDays) {
    Progress progress;
    Game::setLife(true);
    frame_scenes::startGame(false);
    Game* game = Game::Instance();
    Tower& tower = game->getTower();
    Map& map = game->getMap();
    const int cells = Map::capacityX * Map::capacityY;
    int floored = 0, nextStorey = 0, nextPass = 0, nextCell = 0;
    // Offices first: they bring the most people and rent for their price.
    const int passes[] = {officeKind, singleKind, suiteKind};
    // What a patient player does each night: floors (with the lobby and the
    // shafts) on every storey the stars have opened, which are given, then
    // rooms storey by storey as the funds allow, saving up for the next.
    auto grow = [&]() {
        bool changed = false;
        const int open = std::min(tower.getLife()->tenancy().storeysOpen(), static_cast<int>(map.getMaxFloors()));
        for (; floored < open; ++floored, changed = true) frame_scenes::buildServedFloors(map, floored);
        while (nextStorey < floored) {
            const int x = nextCell % Map::capacityX, y = nextCell / Map::capacityX;
            const int kind = frame_scenes::roomKindAt(map, x, y, nextStorey);
            if (kind == passes[nextPass]) {
                const double cost = roomDefinition(kind)->cost;
                if (tower.getFunds() < cost) break;
                if (frame_scenes::buildRoomAt(map, kind, x, y, nextStorey)) {
                    tower.changeFunds(-cost, Ledger::CONSTRUCTION);
                    changed = true;
                }
            }
            if (++nextCell < cells) continue;
            nextCell = 0;
            if (++nextPass < 3) continue;
            nextPass = 0;
            ++nextStorey;
        }
        if (changed) tower.layoutChanged(true);
    };
    grow();

    const Clock& clock = game->getClock();
    keyModifiers::hold(KMOD_LCTRL);  // an hour a step
    int day = 0;
    int lastHour = clock.getHour();
    std::chrono::duration<double, std::milli> lastDay{0};
    auto dayStart = std::chrono::steady_clock::now();
    while (day < maxDays) {
        ticks::advance(1000);
        game->loop(0);
        if (clock.getHour() == lastHour) continue;
        lastHour = clock.getHour();
        if (lastHour == 23) {
            progress.days.push_back(takeFigures(++day, floored, tower.getFunds()));
            const int stars = progress.days.back().stars;
            for (int star = 1; star <= stars; ++star)
                if (progress.dayOfStar[star - 1] < 0) progress.dayOfStar[star - 1] = day;
        }
        if (lastHour == 1) {  // after the midnight's rent and rating
            const auto now = std::chrono::steady_clock::now();
            lastDay = now - dayStart;
            dayStart = now;
            grow();
        }
    }
    keyModifiers::release();
    progress.msPerDay = lastDay.count();
    frame_scenes::endGame();
    Game::setLife(false);
    return progress;
}

std::vector<std::string> describe(const Progress& progress) {
    std::vector<std::string> lines;
    char line[200];
    for (const Day& d : progress.days) {
        if (d.day % 5 != 0 && &d != &progress.days.back()) continue;
        snprintf(line, sizeof line,
                 "day %3d: %d stars, %4d people, wait %5.1f min, $%9.0f, storeys %2d, let: Single Rooms %3d/%3d, "
                 "Suites %3d/%3d, offices %3d/%3d",
                 d.day, d.stars, d.people, d.waitMinutes, d.funds, d.storeysBuilt, d.let[0], d.rooms[0], d.let[1], d.rooms[1],
                 d.let[2], d.rooms[2]);
        lines.push_back(line);
    }
    std::string stars = "days to each star:";
    for (int star = 1; star <= 5; ++star) {
        snprintf(line, sizeof line, " %d: %s", star,
                 progress.dayOfStar[star - 1] < 0 ? "not reached"
                                                  : std::to_string(progress.dayOfStar[star - 1]).c_str());
        stars += line;
    }
    lines.push_back(stars);
    snprintf(line, sizeof line, "a game day of the grown tower costs %.1f ms in all (simulation and loop)",
             progress.msPerDay);
    lines.push_back(line);
    return lines;
}

}  // namespace living_bench
