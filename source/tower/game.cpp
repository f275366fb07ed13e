#include "game.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>

#include "CSurface.h"
#include "Life.h"
#include "LifeView.h"
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

namespace {

FILE* openPlainFile(const char* path) { return fopen(path, "w"); }

constexpr const char* tooPoor = "You don't have enough money to build that.";
constexpr const char* cannotBuildThere = "You can't build there.";
constexpr const char* needLobby = "You must build a lobby first.";

}  // namespace

FILE* (*Game::openForWriting)(const char* path) = openPlainFile;

Game* Game::Instance() {
    if (!singleton) singleton = std::unique_ptr<Game>(new Game());
    return singleton.get();
}

Game::Game() {
    gui = GUI::Instance();
    CSurface::setScreenColor(128, 0, 0);
    loadRoomDefs();
    addButtons();
    tower = std::make_unique<Tower>(lifeSwitch);
}

Game::~Game() = default;

void Game::addButtons() {
    for (const ToolbarButton& entry : toolbarButtons) {
        std::string text = entry.label;
        if (entry.priced) {
            // The lobby is charged what its definition says; so say the buttons.
            const aRoom* lobbyKind = roomDefinition(0);
            const double price = entry.code == events::BUILD_FLOOR ? FLOOR_COST
                                 : entry.code == events::BULLDOZE ? DESTROY_COST
                                 : lobbyKind                      ? lobbyKind->cost
                                                                  : 0;
            text += ": Cost $" + moneyText(price);
        }
        gui->addButton(entry.cell, entry.code, entry.momentary, text.c_str(), 0, entry.selectsTool);
        if (entry.code != events::BUILD_LOBBY) continue;
        for (size_t i = 1; i < rooms.size(); ++i) {
            gui->addButton(firstRoomCell + static_cast<int>(i) - 1, events::BUILD_ROOM, false, "",
                           static_cast<int>(i) + 1);
        }
    }
}

void Game::onExit() {
    tower.reset();
    clearRoomDefs();
    if (singleton.get() == this) singleton.reset();
}

void Game::loop(short floor) {
    Map& map = tower->getMap();
    Clock& clock = tower->getClock();
    gui->setFloor(floor + 1, map.getMaxFloors());
    if (!paused) {
        if (!tower->getLife()) map.OnLoop();
        if (runLife(clock)) {
            // In the living tower a room earns its rent only when it was let.
            const life::Life* people = tower->getLife();
            const double rent = people ? map.collectRent(clock.getDay(),
                                                         [people](const Room& room) {
                                                             return people->tenancy().paysRent(room.getUid());
                                                         })
                                       : map.collectRent(clock.getDay());
            if (rent != 0) {
                changeFunds(rent, Ledger::RENT);
                gui->setMessageText(("Rent collected: $" + moneyText(rent)).c_str());
            }
        }
        if (life::Life* people = tower->getLife()) {
            for (const std::string& news : people->takeNews()) {
                puts(news.c_str());
                gui->setMessageText(news.c_str());
            }
            gui->setRating(people->tenancy().rating());
        }
        // Once a day, however often the loop finds the clock at that hour.
        if (clock.struck(autosaveHour) && clock.dayNumber() != dawnSaved) {
            dawnSaved = clock.dayNumber();
            autosave();
        }
    }
    // Paused or not, a change of the funds shows at once.
    if (!ticked) return;

    const short timeOfDay = clock.getTimeOfDay();
    switch (timeOfDay) {
    case Clock::NIGHT: CSurface::setScreenColor(0, 0, 64); clock.setSpeed(25); break;
    case Clock::MORNING: CSurface::setScreenColor(120, 110, 255); clock.setSpeed(100); break;
    case Clock::DAY: CSurface::setScreenColor(79, 164, 255); break;
    case Clock::EVENING: CSurface::setScreenColor(64, 0, 128); clock.setSpeed(50); break;
    default: break;
    }
    if (timeOfDay >= Clock::NIGHT && timeOfDay <= Clock::EVENING) {
        // The tower lights up from evening on; dawn brings the day look back.
        CSurface::setNightLook(timeOfDay == Clock::NIGHT || timeOfDay == Clock::EVENING);
    }

    if (gui->getPanelKind() == events::SHOW_FINANCES) paintFinances(false);

    char time[64];
    clock.appendClockTime(time, sizeof time);
    gui->setInfoText(("Funds: " + fundsText(tower->getFunds()) + "\nTime:  " + time).c_str());
    ticked = false;
}

bool Game::runLife(Clock& clock) {
    life::Life* people = tower->getLife();
    if (!people) return clock.loop(ticked);
    // The people's time follows the clock within its minute, and the clock
    // waits for them: a minute counts only once they have lived through it.
    const sim::Tick minute = tower->lifeTick();
    people->advance(minute + clock.minuteRun(sim::ticksPerGameMinute), Tower::LIFE_BATCH);
    if (people->now() < minute + sim::ticksPerGameMinute) return false;
    return clock.loop(ticked);
}

void Game::render(const point& camera) {
    Map::CellOverlay* overlay = nullptr;
    if (const life::Life* people = tower->getLife()) {
        if (!lifeView) lifeView = std::make_unique<LifeView>();
        lifeView->prepare(*people, tower->getMap(), camera.z, tower->getView().isServiceShown());
        overlay = lifeView.get();
    }
    tower->getMap().OnRender(camera, cursorVisible, tower->getView(), overlay);
}

void Game::setCursor(point camera, int mouseX, int mouseY) {
    if (cursorVisible) tower->getMap().setCursor(camera, mouseX, mouseY);
}

void Game::rotateCursor() {
    if (cursorVisible) tower->getMap().rotateCursor();
}

void Game::changeCursorSize(short spanY, short spanX) { tower->getMap().changeCursorSize(spanY, spanX); }

void Game::setRoomType(short, short type) {
    roomType = type;
    if (const aRoom* def = roomDefinition(type)) {
        changeCursorSize(static_cast<short>(def->sizeX), static_cast<short>(def->sizeY));
    }
}

void Game::changeFunds(double amount, Ledger::Kind kind) {
    tower->changeFunds(amount, kind);
    ticked = true;
}

void Game::built(int sound, double price, Ledger::Kind kind, const std::string& what) {
    CSoundBank::SoundControl.Play(sound);
    changeFunds(-price, kind);
    endStep(price, kind, what);
    tower->layoutChanged(paused);
}

void Game::buildEmptyFloor(short floor) {
    if (!cursorVisible) return;
    if (!canAfford(FLOOR_COST)) {
        gui->setMessageText(tooPoor);
        return;
    }
    // The top storey has no roof above it for a floor to make.
    if (floor + 1 >= tower->getMap().getMaxFloors()) {
        gui->setMessageText("You cannot build any higher.");
        return;
    }
    // The living tower opens its storeys with its stars.
    if (const life::Life* people = tower->getLife()) {
        const int opens = people->tenancy().starOpening(floor + 1);
        if (opens > 0) {
            char text[64];
            snprintf(text, sizeof text, "Storey %d opens at %s.", floor + 1, life::Tenancy::starName(opens));
            gui->setMessageText(text);
            return;
        }
    }
    beginStep();
    switch (tower->getMap().buildFloor()) {
    case FloorResult::BUILT: built(sounds::BUILD, FLOOR_COST, Ledger::CONSTRUCTION, "a floor"); break;
    case FloorResult::FLOOR_THERE: gui->setMessageText("There is a floor here already."); break;
    case FloorResult::NOTHING_BELOW: gui->setMessageText("There is nothing below to build on."); break;
    }
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
    if (tower->getMap().buildLobby()) {
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
    Map& map = tower->getMap();
    const BuildResult result = transport ? map.buildTransportation(roomType, def->type) : map.buildRoom(roomType);
    const point at = map.getCursorPosition();
    Room* room = map.roomAt(at.x, at.y, at.z);
    switch (result) {
    case BuildResult::BUILT:
        built(sounds::BUILD, def->cost, Ledger::CONSTRUCTION, room ? room->getRoomInfo() : def->title);
        break;
    case BuildResult::NEEDS_LOBBY: gui->setMessageText(needLobby); break;
    case BuildResult::CANNOT_BUILD_THERE: gui->setMessageText(cannotBuildThere); break;
    }
}

void Game::buildRoom(short) { buildSelectedRoom(false); }

void Game::buildTransportation(short) { buildSelectedRoom(true); }

void Game::bulldoze(short) {
    if (!cursorVisible) return;
    if (!canAfford(DESTROY_COST)) {
        gui->setMessageText("You don't have enough money to bulldoze that.");
        return;
    }
    beginStep();
    if (tower->getMap().bulldoze()) built(sounds::BULLDOZE, DESTROY_COST, Ledger::BULLDOZING, "the bulldozing");
}

void Game::beginStep() {
    const Map& map = tower->getMap();
    stepBefore = map.cellStates();
    // The rooms a step may take away are those under the cursor's footprint.
    stepRemovable.clear();
    const point at = map.getCursorPosition();
    for (int i = 0; i < map.getCursorSpanY(); ++i)
        for (int j = 0; j < map.getCursorSpanX(); ++j) {
            RoomRecords::Description description;
            if (RoomRecords::describe(map.roomAt(at.x - j, at.y - i, at.z), description))
                stepRemovable.push_back(description);
        }
}

void Game::endStep(double cost, Ledger::Kind kind, const std::string& what) {
    UndoHistory::Step step;
    step.before = std::move(stepBefore);
    step.after = tower->getMap().cellStates();
    step.cost = cost;
    step.kind = kind;
    step.what = what;
    step.day = tower->getClock().dayNumber();
    // A step that took away a room it cannot describe could not bring it back.
    std::set<int> standing, gone;
    for (const Map::CellState& cell : step.after) standing.insert(cell.roomUid);
    for (const Map::CellState& cell : step.before)
        if (cell.roomUid != 0 && !standing.count(cell.roomUid)) gone.insert(cell.roomUid);
    for (const RoomRecords::Description& room : stepRemovable)
        if (gone.erase(room.uid) != 0) step.removed.push_back(room);
    if (!gone.empty()) return;
    tower->getHistory().push(std::move(step));
}

namespace {

std::unique_ptr<Room> rebuildRemoved(int uid, const void* context) {
    for (const RoomRecords::Description& room : *static_cast<const std::vector<RoomRecords::Description>*>(context))
        if (room.uid == uid) return RoomRecords::rebuild(room);
    return nullptr;
}

}  // namespace

void Game::undo() {
    UndoHistory& history = tower->getHistory();
    Map& map = tower->getMap();
    if (history.empty()) {
        gui->setMessageText("Nothing to undo.");
        return;
    }
    const UndoHistory::Step& step = history.newest();
    // Only a tower that stands as the step left it can go back to before it,
    // and only the day it was built: a midnight since may have paid rent for
    // it, which undo would not take back.
    if (map.cellStates() != step.after || step.day != tower->getClock().dayNumber()) {
        gui->setMessageText("That can't be undone any more.");
        history.dropNewest();
        return;
    }
    map.restoreCells(step.before, rebuildRemoved, &step.removed);
    tower->layoutChanged(paused);
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
    Map& map = tower->getMap();
    const std::vector<std::string> lines =
        queryReport(map, tower->getClock(), map.getCursorPosition(), tower->getLife());
    echo("Query Tool", lines);
    gui->openPanel(lines, nullptr, events::QUERY_TOOL);
}

void Game::showFinances() { paintFinances(true); }

void Game::paintFinances(bool opening) {
    const FinanceReport report =
        financeReport(tower->getMap(), tower->getLedger(), tower->getClock(), tower->getFunds(), tower->getLife());
    if (opening) echo("Finances", report.lines);
    gui->openPanel(report.lines, &report.chart, events::SHOW_FINANCES);
}

Game::SaveResult Game::writeSave(const std::string& name) const {
    // Written beside the file and renamed over it only when complete, so a
    // failed save leaves the previous game as it was.
    const std::string temporary = gamePaths::player(name + ".tmp");
    const std::string target = gamePaths::player(name);
    // Renaming would replace a save the player protected: it stays as it is.
    struct stat existing;
    const bool exists = stat(target.c_str(), &existing) == 0;
    if (exists && (access(target.c_str(), W_OK) != 0 || (existing.st_mode & S_IWUSR) == 0)) {
        return SaveResult::READ_ONLY;
    }
    FILE* file = openForWriting(temporary.c_str());
    if (!file) return SaveResult::NOT_OPENED;
    bool ok = tower->write(file);
    ok = fflush(file) == 0 && ok;
    const int descriptor = fileno(file);
    if (descriptor >= 0) ok = fsync(descriptor) == 0 && ok;
    ok = fclose(file) == 0 && ok;
    // The new file keeps the permissions the player gave the old one.
    if (ok && exists && S_ISREG(existing.st_mode)) chmod(temporary.c_str(), existing.st_mode & 07777);
    if (ok) ok = rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) remove(temporary.c_str());
    return ok ? SaveResult::SAVED : SaveResult::FAILED;
}

void Game::save() {
    switch (writeSave(saveFileName)) {
    case SaveResult::SAVED: gui->setMessageText("Game saved."); break;
    case SaveResult::READ_ONLY: gui->setMessageText("save.txt is read-only: the game was not saved."); break;
    case SaveResult::NOT_OPENED: gui->setMessageText("Could not open save file."); break;
    case SaveResult::FAILED: gui->setMessageText("ERROR saving game."); break;
    }
}

void Game::autosave() {
    const std::string name = autosaves.next();
    if (writeSave(name) == SaveResult::SAVED) {
        printf("Autosaved to %s\n", name.c_str());
        gui->setMessageText("Game autosaved.");
    } else {
        printf("The autosave to %s could not be written\n", name.c_str());
        gui->setMessageText("ERROR autosaving game.");
    }
}

void Game::load() { loadFile(gamePaths::player(saveFileName), saveFileName); }

bool Game::loadFile(const std::string& path, const std::string& name) {
    struct stat status;
    if (stat(path.c_str(), &status) != 0) {
        gui->setMessageText("Could not open save file.");
        return false;
    }
    // Refused before a byte is read: what is not a file, or far larger than
    // any tower's save, would only keep the window waiting.
    if (!S_ISREG(status.st_mode) || status.st_size > Tower::maxFileSize) {
        if (S_ISREG(status.st_mode)) {
            printf("%s is larger than %ld bytes; it was not read\n", name.c_str(), Tower::maxFileSize);
        } else {
            printf("%s is not a file; it was not read\n", name.c_str());
        }
        gui->setMessageText("ERROR loading game.");
        return false;
    }
    FILE* file = fopen(path.c_str(), "r");
    if (!file) {
        gui->setMessageText("Could not open save file.");
        return false;
    }
    // The file is read into a tower of its own, which replaces the running
    // one only when it loaded: a failed load loses nothing. Clock fields out
    // of range keep the running clock's, and the view stays as it is.
    auto loaded = std::make_unique<Tower>(lifeSwitch);
    loaded->getClock() = tower->getClock();
    loaded->getView() = tower->getView();
    const bool ok = loaded->read(file);
    fclose(file);
    if (ok) {
        tower = std::move(loaded);
        ticked = true;  // the read-out shows the loaded tower at once, paused or not
    }
    gui->setMessageText(ok ? "Game loaded." : "ERROR loading game.");
    return ok;
}

void Game::showAgain() {
    tower->getClock().resetTimeOfDay();
    ticked = true;
}

void Game::testPathing(short) {
    const life::Life* people = tower->getLife();
    if (!people) {
        tower->getMap().buildPathingTree();
        return;
    }
    // Across the storeys, by the shafts, as the people go.
    std::vector<int> cells, reached;
    people->planner().reachableFromLobby(cells, reached);
    const life::Layout& layout = people->layout();
    std::vector<point> marked;
    for (int cell : cells) marked.push_back(point(layout.xOf(cell), layout.yOf(cell), layout.storeyOf(cell)));
    std::vector<int> uids;
    for (int room : reached) uids.push_back(layout.rooms()[static_cast<size_t>(room)].uid);
    tower->getMap().markReach(marked, uids);
}

void Game::dumpVars(short) {
    printf("Room Type: %d\n", roomType);
    tower->getMap().dumpVars();
}
