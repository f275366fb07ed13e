#include "game.h"

#include <unistd.h>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>

#include "CSurface.h"
#include "Clock.h"
#include "Room.h"
#include "RoomDefs.h"
#include "Soundbank.h"
#include "gamePaths.h"
#include "gui.h"
#include "protocol.h"
#include "reports.h"
#include "roomRecords.h"
#include "saveSections.h"
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
    Tile::attachSettings();
    gui = GUI::Instance();
    clock = Clock::Instance();
    CSurface::setScreenColor(128, 0, 0);
    loadRoomDefs();

    // The lobby is charged what its definition says; so says its button.
    const aRoom* lobbyKind = roomDefinition(0);
    for (const ToolbarButton& entry : toolbarButtons) {
        std::string text = entry.helpText;
        if (entry.code == events::BUILD_LOBBY && lobbyKind) text = "Build Lobby: Cost $" + moneyText(lobbyKind->cost);
        gui->addButton(entry.cell, entry.code, entry.momentary, text.c_str(), 0, entry.selectsTool);
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
    if (!paused) {
        map->OnLoop();
        if (clock->loop(ticked)) {
            const double rent = map->collectRent(clock->getDay());
            if (rent != 0) {
                changeFunds(rent, Ledger::RENT);
                gui->setMessageText(("Rent collected: $" + moneyText(rent)).c_str());
            }
        }
    }
    // Paused or not, a change of the funds shows at once.
    if (!ticked) return;

    const short timeOfDay = clock->getTimeOfDay();
    switch (timeOfDay) {
    case Clock::NIGHT: CSurface::setScreenColor(0, 0, 64); clock->setSpeed(25); break;
    case Clock::MORNING: CSurface::setScreenColor(120, 110, 255); clock->setSpeed(100); break;
    case Clock::DAY: CSurface::setScreenColor(79, 164, 255); break;
    case Clock::EVENING: CSurface::setScreenColor(64, 0, 128); clock->setSpeed(50); break;
    default: break;
    }
    if (timeOfDay >= Clock::NIGHT && timeOfDay <= Clock::EVENING) {
        // The tower lights up from evening on; dawn brings the day look back.
        CSurface::setNightLook(timeOfDay == Clock::NIGHT || timeOfDay == Clock::EVENING);
        CSurface::clearScreen();
    }

    if (gui->getPanelKind() == events::SHOW_FINANCES) paintFinances(false);

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

void Game::changeFunds(double amount, Ledger::Kind kind) {
    funds += amount;
    ledger.record(clock->dayNumber(), kind, amount);
    ticked = true;
}

void Game::built(int sound, double price, Ledger::Kind kind, const std::string& what) {
    CSoundBank::SoundControl.Play(sound);
    changeFunds(-price, kind);
    endStep(price, kind, what);
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
    beginStep();
    if (map->buildFloor()) built(sounds::BUILD, FLOOR_COST, Ledger::CONSTRUCTION, "a floor");
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
    beginStep();
    if (map->buildLobby()) {
        built(sounds::BUILD, def->cost, Ledger::CONSTRUCTION, "a lobby cell");
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
    beginStep();
    const int result = transport ? map->buildTransportation(roomType, def->type) : map->buildRoom(roomType);
    const point at = map->getCursorPosition();
    Room* room = map->roomAt(at.x, at.y, at.z);
    switch (result) {
    case 0: built(sounds::BUILD, def->cost, Ledger::CONSTRUCTION, room ? room->getRoomInfo() : def->title); break;
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
    beginStep();
    if (map->bulldoze()) built(sounds::BULLDOZE, DESTROY_COST, Ledger::BULLDOZING, "the bulldozing");
}

void Game::beginStep() {
    stepBefore = map->cellStates();
    // The rooms a step may take away are those under the cursor's footprint.
    stepRemovable.clear();
    const point at = map->getCursorPosition();
    for (int i = 0; i < map->getCursorSpanY(); ++i)
        for (int j = 0; j < map->getCursorSpanX(); ++j) {
            RoomRecords::Description description;
            if (RoomRecords::describe(map->roomAt(at.x - j, at.y - i, at.z), description))
                stepRemovable.push_back(description);
        }
}

void Game::endStep(double cost, Ledger::Kind kind, const std::string& what) {
    UndoHistory::Step step;
    step.before = std::move(stepBefore);
    step.after = map->cellStates();
    step.cost = cost;
    step.kind = kind;
    step.what = what;
    // A step that took away a room it cannot describe could not bring it back.
    std::set<int> standing, gone;
    for (const Map::CellState& cell : step.after) standing.insert(cell.roomUid);
    for (const Map::CellState& cell : step.before)
        if (cell.roomUid != 0 && !standing.count(cell.roomUid)) gone.insert(cell.roomUid);
    for (const RoomRecords::Description& room : stepRemovable)
        if (gone.erase(room.uid) != 0) step.removed.push_back(room);
    if (!gone.empty()) return;
    history.push(std::move(step));
}

namespace {

Room* rebuildRemoved(int uid, const void* context) {
    for (const RoomRecords::Description& room : *static_cast<const std::vector<RoomRecords::Description>*>(context))
        if (room.uid == uid) return RoomRecords::rebuild(room);
    return nullptr;
}

}  // namespace

void Game::undo() {
    if (history.empty()) {
        gui->setMessageText("Nothing to undo.");
        return;
    }
    const UndoHistory::Step& step = history.newest();
    // Only a tower that stands as the step left it can go back to before it.
    if (map->cellStates() != step.after) {
        gui->setMessageText("That can't be undone any more.");
        history.dropNewest();
        return;
    }
    map->restoreCells(step.before, rebuildRemoved, &step.removed);
    changeFunds(step.cost, step.kind);
    CSoundBank::SoundControl.Play(step.kind == Ledger::BULLDOZING ? sounds::BUILD : sounds::BULLDOZE);
    gui->setMessageText(("Undone: " + step.what + ", $" + moneyText(step.cost) + " back").c_str());
    history.dropNewest();
}

namespace {

// The windows' text goes to standard output too, for whoever reads the log.
void echo(const char* title, const std::vector<std::string>& lines) {
    printf("%s:\n", title);
    for (const std::string& line : lines) printf("  %s\n", line.c_str());
}

}  // namespace

void Game::query(short) {
    if (!cursorVisible) return;
    const std::vector<std::string> lines = queryReport(*map, *clock, map->getCursorPosition());
    echo("Query Tool", lines);
    gui->openPanel(lines, nullptr, events::QUERY_TOOL);
}

void Game::showFinances() { paintFinances(true); }

void Game::paintFinances(bool opening) {
    const FinanceReport report = financeReport(*map, ledger, *clock, funds);
    if (opening) echo("Finances", report.lines);
    gui->openPanel(report.lines, &report.chart, events::SHOW_FINANCES);
}

bool Game::writeSave(FILE* file) {
    bool ok = fprintf(file, "%lf\n", funds) > 0;
    ok = clock->save(file) > 0 && ok;
    ok = fputc('\n', file) != EOF && ok;
    ok = map->save(file) && ok;
    ok = RoomRecords::save(*map, file) && ok;
    ok = ledger.save(file) && ok;
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
    history.clear();
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
    if (map->load(file)) {
        loadSections(file);
    } else {
        puts("MAP LOAD ERROR");
        ok = false;
    }
    fclose(file);
    gui->setMessageText(ok ? "Game loaded." : "ERROR loading game.");
}

void Game::loadSections(FILE* file) {
    // The tower's rooms are those of the file, or none for a file from
    // before rooms were saved; the tiles they stood on came with the tiles.
    RoomRecords roomRecords(*map);
    ledger.clear();
    saveSections::Reader reader(file);
    std::string name;
    long count = 0;
    while (reader.nextSection(name, count)) {
        if (roomRecords.read(name, reader)) continue;
        if (name == "ledger") {
            ledger.read(reader);
            continue;
        }
        printf("save.txt: the section \"%s\" is not one this game knows; it was passed over\n", name.c_str());
        reader.skipRecords();
    }
    roomRecords.finish();
}

void Game::testPathing(short) { map->buildPathingTree(); }

void Game::dumpVars(short) {
    printf("Room Type: %d\n", roomType);
    map->dumpVars();
}
