#include "game.h"

#include <unistd.h>
#include <cmath>
#include <cstdio>
#include <string>

#include "CSurface.h"
#include "Clock.h"
#include "RoomDefs.h"
#include "Soundbank.h"
#include "gamePaths.h"
#include "gui.h"
#include "protocol.h"
#include "toolbar.h"

std::unique_ptr<Game> Game::singleton;
const char* const Game::saveFileName = "save.txt";

namespace {

FILE* openPlainFile(const char* path) { return fopen(path, "w"); }

constexpr const char* tooPoor = "You don't have enough money to build that.";
constexpr const char* cannotBuildThere = "You can't build there.";
constexpr const char* needLobby = "You must build a lobby first.";

}  // namespace

FILE* (*Game::openForWriting)(const char* path) = openPlainFile;

Game* Game::Instance() {
    if (!singleton) singleton.reset(new Game());
    return singleton.get();
}

Game::Game() : map(std::make_unique<Map>()) {
    Tile::initClip();
    gui = GUI::Instance();
    clock = Clock::Instance();
    CSurface::setScreenColor(128, 0, 0);
    loadRoomDefs();

    for (const ToolbarButton& entry : toolbarButtons) {
        gui->addButton(entry.cell, entry.code, entry.momentary, entry.helpText, 0, entry.selectsTool);
        if (entry.code != events::BUILD_LOBBY) continue;
        for (size_t i = 1; i < rooms.size(); ++i) {
            gui->addButton(firstRoomCell + static_cast<int>(i) - 1, events::BUILD_ROOM, false, "",
                           static_cast<int>(i) + 1);
        }
    }
    map->loadMap("assets/map.png", 10);
}

void Game::onExit() {
    map.reset();
    clearRoomDefs();
    if (singleton.get() == this) singleton.reset();
}

void Game::loop(short floor) {
    gui->setFloor(floor + 1, map->getMaxFloors());
    if (paused) return;
    map->OnLoop();
    if (clock->loop(ticked)) funds += map->collectRent(clock->getDay());
    if (!ticked) return;

    const short timeOfDay = clock->getTimeOfDay();
    switch (timeOfDay) {
    case Clock::NIGHT: CSurface::setScreenColor(0, 0, 64); clock->setSpeed(25); break;
    case Clock::MORNING: CSurface::setScreenColor(120, 110, 255); clock->setSpeed(100); break;
    case Clock::DAY: CSurface::setScreenColor(79, 164, 255); break;
    case Clock::EVENING: CSurface::setScreenColor(64, 0, 128); clock->setSpeed(50); break;
    default: break;
    }
    if (timeOfDay >= Clock::NIGHT && timeOfDay <= Clock::EVENING) CSurface::clearScreen();

    char text[512];
    const int used = snprintf(text, sizeof text, "Funds: %4.2f\nTime:  ", funds);
    if (used > 0 && static_cast<size_t>(used) < sizeof text) clock->appendClockTime(text + used, sizeof text - used);
    gui->setInfoText(text);
    ticked = false;
}

void Game::render(const point& camera) { map->OnRender(camera, cursorVisible); }

void Game::setCursor(point camera, int mouseX, int mouseY) {
    if (cursorVisible) map->setCursor(camera, mouseX, mouseY);
}

void Game::rotateCursor() {
    if (cursorVisible) map->rotateCursor();
}

void Game::changeCursorSize(short spanY, short spanX) { map->changeCursorSize(spanY, spanX); }

void Game::setRoomType(short, short type) {
    roomType = type;
    if (const aRoom* def = roomDefinition(type)) {
        changeCursorSize(static_cast<short>(def->sizeX), static_cast<short>(def->sizeY));
    }
}

void Game::built(int sound, double price) {
    CSoundBank::SoundControl.Play(sound);
    funds -= price;
    ticked = true;
}

void Game::buildEmptyFloor(short floor) {
    if (!cursorVisible) return;
    if (funds < FLOOR_COST) {
        gui->setMessageText(tooPoor);
        return;
    }
    if (floor + 1 > 9) {
        gui->setMessageText("You cannot build any higher.");
        return;
    }
    if (map->buildFloor()) built(sounds::BUILD, FLOOR_COST);
}

void Game::buildLobby(short floor) {
    if (!cursorVisible) return;
    if (floor > 0) {
        gui->setMessageText("The lobby must be built on the ground floor.");
        return;
    }
    const aRoom* def = roomDefinition(0);
    if (!def) return;
    if (!canAfford(def->cost)) {
        gui->setMessageText(tooPoor);
        return;
    }
    if (map->buildLobby()) {
        built(sounds::BUILD, def->cost);
    } else {
        gui->setMessageText(cannotBuildThere);
    }
}

void Game::buildSelectedRoom(bool transport) {
    if (!cursorVisible) return;
    const aRoom* def = roomDefinition(roomType);
    if (!def) return;
    if (!canAfford(def->cost)) {
        gui->setMessageText(tooPoor);
        return;
    }
    const int result = transport ? map->buildTransportation(roomType, def->type) : map->buildRoom(roomType);
    switch (result) {
    case 0: built(sounds::BUILD, def->cost); break;
    case 1: gui->setMessageText(needLobby); break;
    default: gui->setMessageText(cannotBuildThere); break;
    }
}

void Game::buildRoom(short) { buildSelectedRoom(false); }

void Game::buildTransportation(short) { buildSelectedRoom(true); }

void Game::bulldoze(short) {
    if (!cursorVisible) return;
    if (funds < DESTROY_COST) {
        gui->setMessageText("You don't have enough money to bulldoze that.");
        return;
    }
    if (map->bulldoze()) built(sounds::BULLDOZE, DESTROY_COST);
}

bool Game::writeSave(FILE* file) {
    bool ok = fprintf(file, "%lf\n", funds) > 0;
    ok = clock->save(file) > 0 && ok;
    ok = fputc('\n', file) != EOF && ok;
    ok = map->save(file) && ok;
    return ok;
}

void Game::save() {
    // Written beside save.txt and renamed over it only when complete, so a
    // failed save leaves the previous game as it was.
    const std::string temporary = gamePaths::player("save.txt.tmp");
    const std::string target = gamePaths::player(saveFileName);
    FILE* file = openForWriting(temporary.c_str());
    if (!file) {
        gui->setMessageText("Could not open save file.");
        return;
    }
    bool ok = writeSave(file);
    ok = fflush(file) == 0 && ok;
    const int descriptor = fileno(file);
    if (descriptor >= 0) ok = fsync(descriptor) == 0 && ok;
    ok = fclose(file) == 0 && ok;
    if (ok) ok = rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) remove(temporary.c_str());
    gui->setMessageText(ok ? "Game saved." : "ERROR saving game.");
}

void Game::load() {
    FILE* file = fopen(gamePaths::player(saveFileName).c_str(), "r");
    if (!file) {
        gui->setMessageText("Could not open save file.");
        return;
    }
    bool ok = true;
    double loaded = funds;
    const int read = fscanf(file, "%lf", &loaded);
    if (read == EOF) {
        puts("MONEY LOAD ERROR");
        ok = false;
    } else if (read == 1) {
        // Money that is not a plain amount would make every later price check meaningless.
        if (std::isfinite(loaded) && loaded >= 0) {
            funds = loaded;
        } else {
            puts("MONEY LOAD ERROR");
            ok = false;
        }
    }
    if (!clock->load(file)) {
        puts("CLOCK LOAD ERROR");
        ok = false;
    }
    puts("loading map floor");
    if (!map->load(file)) {
        puts("MAP LOAD ERROR");
        ok = false;
    }
    fclose(file);
    gui->setMessageText(ok ? "Game loaded." : "ERROR loading game.");
}

void Game::testPathing(short) { map->buildPathingTree(); }

void Game::dumpVars(short) {
    printf("Room Type: %d\n", roomType);
    map->dumpVars();
}
