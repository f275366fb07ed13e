#ifndef ZENTROVA_GAME_H
#define ZENTROVA_GAME_H

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Autosaves.h"
#include "Tower.h"
#include "point.h"

class GUI;
class LifeView;

// The game controller: holds the tower, turns the tower screen's commands
// into construction with their prices and messages, and runs time.
class Game {
public:
    static Game* Instance();
    static bool exists() { return singleton != nullptr; }

    static constexpr double FLOOR_COST = 10.0;
    static constexpr double DESTROY_COST = 5.0;
    static constexpr double STARTING_FUNDS = Tower::STARTING_FUNDS;
    static constexpr char saveFileName[] = "save.txt";
    static constexpr short autosaveHour = 6;  // every game day at 06:00

    // The living tower (people and elevators on every storey) or the
    // classic one, for the towers made from now on: set at start-up.
    static void setLife(bool on) { lifeSwitch = on; }
    static bool lifeOn() { return lifeSwitch; }

    // Ends the game: the tower, the room kinds and the singleton are gone afterwards.
    void onExit();
    void loop(short floor);
    void render(const point& camera);
    // The documented interfaces name it; the game never calls it.
    void render_debug(point) {}
    void setCursor(point camera, int mouseX, int mouseY);
    // No key or button rotates the cursor yet; the documented interfaces name it.
    void rotateCursor();
    void toggleCursor(bool visible) { cursorVisible = visible; }
    void changeCursorSize(short n) { changeCursorSize(n, n); }
    void changeCursorSize(short spanY, short spanX);
    void setRoomType(short floor, short type);
    void buildEmptyFloor(short floor);
    void buildLobby(short floor);
    void buildRoom(short floor);
    void buildTransportation(short floor);
    void bulldoze(short floor);
    // The Query Tool: what the cell under the cursor holds, in a window.
    void query(short floor);
    // The finances window, opened by its button and kept up to date while open.
    void showFinances();
    // Takes back the newest construction or bulldozing with what it cost, up
    // to the last UndoHistory::depth; rent already collected stays.
    void undo();
    void clearHistory() { tower->getHistory().clear(); }
    size_t undoSteps() const { return tower->getHistory().size(); }
    int getMaxFloors() const { return tower->getMap().getMaxFloors(); }
    void pause() { paused = !paused; }
    void save();
    void load();
    // The tower to the next of the rotating autosaves, beside save.txt.
    void autosave();
    // Loads a save file of any name (shown as name in the reports); the
    // running tower stays when it does not load. True when it loaded.
    bool loadFile(const std::string& path, const std::string& name);
    // Back on the tower screen: the sky and the read-out are shown afresh.
    void showAgain();
    void testPathing(short floor);
    void dumpVars(short floor);

    // Read-only views for the screens, the tests and the benchmark.
    double getFunds() const { return tower->getFunds(); }
    const Ledger& getLedger() const { return tower->getLedger(); }
    bool isPaused() const { return paused; }
    bool isCursorVisible() const { return cursorVisible; }
    short getRoomType() const { return roomType; }
    Map& getMap() { return tower->getMap(); }
    Clock& getClock() { return tower->getClock(); }
    gameSettings& getView() { return tower->getView(); }
    Tower& getTower() { return *tower; }

    // Opens the file a save is written to; tests replace it to make writes fail.
    static FILE* (*openForWriting)(const char* path);

    // What writing the tower to a file came to.
    enum class SaveResult { SAVED, READ_ONLY, NOT_OPENED, FAILED };

private:
    friend struct std::default_delete<Game>;
    Game();
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Prices, builds and reports the selected room kind, as a room or as transport.
    void buildSelectedRoom(bool transport);
    void built(int sound, double price, Ledger::Kind kind, const std::string& what);
    // A construction or bulldozing about to happen, and then done: the history keeps it.
    void beginStep();
    void endStep(double cost, Ledger::Kind kind, const std::string& what);
    // Paints the finances window afresh; true when it opens, so it is logged.
    void paintFinances(bool opening);
    // Every change of the funds: the tower records it, the read-out shows it.
    void changeFunds(double amount, Ledger::Kind kind);
    bool canAfford(double price) const { return !(price > tower->getFunds()); }
    // The bar's buttons, with the prices in force in their help texts.
    void addButtons();
    // The tower to a file of the player's, safely: see save.
    SaveResult writeSave(const std::string& name) const;

    static std::unique_ptr<Game> singleton;
    static inline bool lifeSwitch = false;
    // Runs the living tower's time up to the clock's, and the clock on when it is there.
    bool runLife(Clock& clock);

    GUI* gui;

    bool paused = false;
    bool cursorVisible = true;
    bool ticked = true;
    std::unique_ptr<Tower> tower;
    std::unique_ptr<LifeView> lifeView;  // made when a living tower is first drawn
    Autosaves autosaves;
    long dawnSaved = -1;  // the day whose 06:00 autosave is written
    Map::Cells stepBefore;
    std::vector<RoomRecords::Description> stepRemovable;
    short roomType = 0;
};

#endif
