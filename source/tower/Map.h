#ifndef ZENTROVA_MAP_H
#define ZENTROVA_MAP_H

#include <SDL.h>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "RoomCounters.h"
#include "Shuttle.h"
#include "Tile.h"
#include "point.h"

class Room;
class Lobby;
class gameSettings;

// What building a room at the cursor came to; the numbers are the ones the
// game has always used for them.
enum class BuildResult { BUILT = 0, NEEDS_LOBBY = 1, CANNOT_BUILD_THERE = 2 };

// What pouring a floor at the cursor came to.
enum class FloorResult { BUILT, FLOOR_THERE, NOTHING_BELOW };

// The tower: a fixed grid of cells, each with a tile and at most one room.
// A room covering several cells (the lobby, an elevator shaft, a large room)
// is one object referred to from each; it goes with its last reference.
class Map {
public:
    static constexpr int capacityX = 20;
    static constexpr int capacityY = 20;
    static constexpr int capacityZ = 10;

    Map();
    ~Map();
    Map(const Map&) = delete;
    Map& operator=(const Map&) = delete;

    void loadMap(const char* name, int floors);
    void OnCleanup();
    void OnLoop();
    // What the tower's people add to the picture, cell by cell in the order
    // the map draws the viewed storey, so that what stands in front covers
    // what is behind.
    struct CellOverlay {
        virtual ~CellOverlay() = default;
        // True when it drew the room at the cell itself, or nothing is to be drawn.
        virtual bool drawRoom(Room& room, const point& camera, int x, int y) = 0;
        virtual void drawCell(const point& camera, int x, int y) = 0;
    };
    void OnRender(const point& camera, bool cursorVisible, const gameSettings& view, CellOverlay* overlay = nullptr);
    void setCursor(const point& camera, int mouseX, int mouseY);
    void showCursor(int x, int y, const point& camera);
    void changeCursorSize(short spanY, short spanX);
    void rotateCursor();
    bool checkCursor();
    point getCursorPosition() const { return cursor; }
    int getMaxFloors() const { return maxFloors; }
    void dumpVars();

    // Building and bulldozing at the cursor.
    BuildResult buildRoom(int type);
    BuildResult buildTransportation(int type, int kind);
    bool buildLobby();
    FloorResult buildFloor();
    bool bulldoze();
    // Bulldozing a shaft on any storey takes it from every storey (the living tower).
    void setWholeShafts(bool on) { wholeShafts = on; }

    // Floors, pathing and rent.
    int calcFloors(bool add);
    void buildPathingTree();
    void calculatePath(point p, Room* room);
    void addRooms(const point& p, Room* origin);
    // Whether the P key's search would reach the room from the lobby; it marks
    // and links nothing.
    bool bordersLobbyArea(const Room* room);

    // One step of that search: which cells it has seen, which carry it on
    // (entering marks them seen), and what it does with each room it reaches.
    struct AreaWalk {
        virtual ~AreaWalk() = default;
        virtual bool visited(Tile& tile) = 0;
        virtual bool enterFloor(Tile& tile) = 0;
        virtual void reached(Room* room, Room* origin) = 0;
    };
    double collectRent(short day);
    // The same, from the rooms the living tower says earned it.
    double collectRent(short day, const std::function<bool(const Room&)>& earned);
    // The P key's trace in the living tower: these cells and rooms are marked, none other.
    void markReach(const std::vector<point>& cells, const std::vector<int>& roomUids);

    bool save(FILE* file) const;
    bool load(FILE* file);

    // Saved games bring the rooms back: every room object goes, then each
    // comes back on exactly the cells it covered, counted as building counts
    // them. A cell left hidden and closed to building that no room covers is
    // opened again.
    void removeAllRooms();
    void adoptRoom(std::unique_ptr<Room> room, const std::vector<point>& cells);
    void reopenUncoveredCells();

    // Every cell as undo sees it: the tile's saved state and its room's uid.
    struct CellState {
        short type;
        short neighbours;
        int flags;
        int roomUid;
        bool operator==(const CellState& other) const {
            return type == other.type && neighbours == other.neighbours && flags == other.flags &&
                   roomUid == other.roomUid;
        }
        bool operator!=(const CellState& other) const { return !(*this == other); }
    };
    using Cells = std::vector<CellState>;
    Cells cellStates() const;

    // What building, bulldozing, loading and undo must keep true: every room
    // is counted by exactly the cells that hold it, and the lobby is one of
    // them. Null when so, else what is wrong (tests and the fuzz targets ask).
    const char* roomCountProblem() const;
    // Puts every cell back to the state given. Rooms it names that are gone
    // come from rebuild (by uid); rooms no cell names any more are released.
    using Rebuild = std::unique_ptr<Room> (*)(int uid, const void* context);
    void restoreCells(const Cells& wanted, Rebuild rebuild, const void* context);

    // Read-only views for the game, the tests and the benchmark.
    Tile* tileAt(int x, int y, int z) const;
    Room* roomAt(int x, int y, int z) const;
    Lobby* getLobby() const { return lobby; }
    bool getHasRooms() const { return hasRooms; }
    int getWidth() const { return width; }
    int getHeight() const { return height; }
    short getCursorSpanX() const { return cursorSpanX; }
    short getCursorSpanY() const { return cursorSpanY; }
    const point& getLastCursor() const { return lastCursor; }
    // Every room once, in the order the tower got them.
    template <typename Visit>
    void forEachRoom(Visit visit) const {
        for (const auto& entry : owned) visit(*entry.second);
    }

    // What the tower's next room of each kind takes, and the classic
    // elevators' shared goal: a saved game keeps both.
    RoomCounters& counters() { return roomCounters; }
    const RoomCounters& counters() const { return roomCounters; }
    Shuttle& shuttle() { return elevatorShuttle; }
    const Shuttle& shuttle() const { return elevatorShuttle; }

private:
    bool inGrid(int x, int y, int z) const;
    // Every change of a cell's room goes through here, which keeps the counts.
    void setRoom(int x, int y, int z, Room* room);
    void release(Room* room);
    void wallAt(int x, int y, int z, bool on);
    // The walls of the cells in front of now are hidden; every wall hidden
    // before comes back.
    void updateHiddenWalls(const point& now);
    // Depth first over the built floors around the origin, x + 1, x - 1, y + 1, y - 1.
    void walkArea(const point& p, Room* origin, AreaWalk& walk);
    void walkStep(const point& p, Room* origin, AreaWalk& walk);
    void occupy(int x, int y, int z, Room* room);
    void vacate(int x, int y, int z);
    // A new room object enters the tower, which owns it from now on: rent is
    // collected from it, and the first lobby object becomes the lobby.
    Room* admit(std::unique_ptr<Room> room);
    // Anchors a new room at the cursor and covers the cursor's span with it.
    void placeUnderCursor(std::unique_ptr<Room> room);

    std::map<int, std::unique_ptr<Room>> owned;  // by uid
    Room* cellRooms[capacityX][capacityY][capacityZ];  // borrowed from owned
    std::unique_ptr<Tile> tiles[capacityX][capacityY][capacityZ];
    Lobby* lobby = nullptr;
    point cursor;
    point lastCursor;
    short cursorSpanY = 1;
    short cursorSpanX = 1;
    Uint32 lastUpdate;
    int width = 0;
    int height = 0;
    int maxFloors = 0;
    bool hasRooms = false;
    Room* originRoom = nullptr;  // where the current path search started
    int nextUid = 1;
    RoomCounters roomCounters;
    Shuttle elevatorShuttle;
    point hiddenWalls[3];  // the cells whose walls the cursor hides
    int hiddenWallCount = 0;
    bool wholeShafts = false;
};

#endif
