#include "Map.h"

#include <SDL.h>
#include <unordered_map>
#include <vector>

#include "BasicRoom.h"
#include "Elevator.h"
#include "ElevatorCar.h"
#include "Lobby.h"
#include "Room.h"
#include "RoomDefs.h"
#include "Transportation.h"
#include "gameSettings.h"
#include "isometric.h"
#include "keyModifiers.h"
#include "ticks.h"

Map::Map() : lastUpdate(ticks::now()) {
    for (auto& plane : cellRooms)
        for (auto& column : plane)
            for (Room*& room : column) room = nullptr;
}

Map::~Map() { OnCleanup(); }

bool Map::inGrid(int x, int y, int z) const {
    return x >= 0 && y >= 0 && z >= 0 && x < capacityX && y < capacityY && z < capacityZ;
}

Tile* Map::tileAt(int x, int y, int z) const { return inGrid(x, y, z) ? tiles[x][y][z].get() : nullptr; }

Room* Map::roomAt(int x, int y, int z) const { return inGrid(x, y, z) ? cellRooms[x][y][z] : nullptr; }

void Map::loadMap(const char*, int floors) {
    width = capacityX;
    height = capacityY;
    maxFloors = floors < 1 ? 1 : (floors > capacityZ ? capacityZ : floors);
    for (int z = 0; z < maxFloors; ++z)
        for (int x = 0; x < width; ++x)
            for (int y = 0; y < height; ++y) {
                tiles[x][y][z] = std::make_unique<Tile>(x, y, z);
                tiles[x][y][z]->init(z == 0 ? x % 2 : 0);
            }
}

void Map::OnCleanup() {
    for (int x = 0; x < capacityX; ++x)
        for (int y = 0; y < capacityY; ++y)
            for (int z = 0; z < capacityZ; ++z) {
                setRoom(x, y, z, nullptr);
                tiles[x][y][z].reset();
            }
    owned.clear();
    lobby = nullptr;
    hiddenWallCount = 0;
}

void Map::release(Room* room) {
    if (room == lobby) lobby = nullptr;
    if (room == originRoom) originRoom = nullptr;
    for (const auto& entry : owned) entry.second->forgetConnection(room);
    owned.erase(room->getUid());
}

void Map::setRoom(int x, int y, int z, Room* room) {
    if (!inGrid(x, y, z)) return;
    Room* old = cellRooms[x][y][z];
    if (old == room) return;
    cellRooms[x][y][z] = room;
    if (room) room->addReference();
    if (old && old->dropReference() == 0) release(old);
}

void Map::OnLoop() {
    const Uint32 now = ticks::now();
    if (now - lastUpdate < 100) return;
    lastUpdate = now;
    for (int z = 0; z < maxFloors; ++z)
        for (int x = 0; x < width; ++x)
            for (int y = 0; y < height; ++y) {
                if (Tile* tile = tiles[x][y][z].get()) tile->OnLoop();
                if (Room* room = cellRooms[x][y][z]) room->OnLoop(x, y, elevatorShuttle);
            }
}

void Map::OnRender(const point& camera, bool cursorVisible, const gameSettings& view, CellOverlay* overlay) {
    const int viewed = camera.z < maxFloors ? camera.z : maxFloors - 1;
    for (int z = 0; z < viewed; ++z)
        for (int x = 0; x < width; ++x)
            for (int y = 0; y < height; ++y)
                if (Tile* tile = tiles[x][y][z].get()) tile->OnRenderBelow(camera, view);
    if (viewed >= 0) {
        const bool roomsOn = view.areRoomsOn();
        for (int x = 0; x < width; ++x)
            for (int y = 0; y < height; ++y) {
                if (Tile* tile = tiles[x][y][viewed].get()) tile->OnRender(camera, view);
                Room* room = cellRooms[x][y][viewed];
                if (room && roomsOn && !(overlay && overlay->drawRoom(*room, camera, x, y))) room->OnRender(camera, x, y);
                if (overlay) overlay->drawCell(camera, x, y);
            }
    }
    if (!cursorVisible) return;
    if (cursorSpanX > 1 || cursorSpanY > 1) {
        showCursor(cursor.x, cursor.y, camera);
    } else if (Tile* tile = tileAt(cursor.x, cursor.y, cursor.z)) {
        tile->renderCursor(camera);
    }
}

void Map::showCursor(int x, int y, const point& camera) {
    for (int i = 0; i < cursorSpanY; ++i)
        for (int j = 0; j < cursorSpanX; ++j)
            if (x - j >= 0 && y - i >= 0)
                if (Tile* tile = tileAt(x - j, y - i, camera.z)) tile->renderCursor(camera);
}

void Map::changeCursorSize(short spanY, short spanX) {
    cursorSpanY = spanY;
    cursorSpanX = spanX;
}

void Map::rotateCursor() {
    const short spanY = cursorSpanY;
    cursorSpanY = cursorSpanX;
    cursorSpanX = spanY;
}

void Map::setCursor(const point& camera, int mouseX, int mouseY) {
    const point old = cursor;
    int x = 0, y = 0;
    isometric::pointerToCell(camera, mouseX, mouseY, x, y);
    if (x > width - 1) x = width - 1;
    if (x < 0) x = 0;
    if (y > height - 1) y = height - 1;
    if (y < 0) y = 0;
    // The storey follows the camera, kept inside the grid for a camera that is not.
    int z = camera.z;
    if (z > maxFloors - 1) z = maxFloors - 1;
    if (z < 0) z = 0;
    cursor = point(x, y, z);
    // The walls follow the cursor one event late: the first event on a new
    // cell leaves them, the next one moves them.
    if (lastCursor != old) {
        updateHiddenWalls(cursor);
        lastCursor = old;
    }
}

void Map::wallAt(int x, int y, int z, bool on) {
    if (Tile* tile = tileAt(x, y, z)) {
        if (on) tile->turnWallOn(); else tile->turnWallOff();
    }
}

void Map::updateHiddenWalls(const point& n) {
    // Every wall hidden before comes back, whichever way the cursor went:
    // one left hidden would stay so until the cursor came back to its cell.
    for (int i = 0; i < hiddenWallCount; ++i) wallAt(hiddenWalls[i].x, hiddenWalls[i].y, hiddenWalls[i].z, true);
    hiddenWallCount = 0;
    // The back walls of the cells in front of the cursor would cover it.
    auto hide = [&](int x, int y) {
        if (x >= width || y >= height) return;
        wallAt(x, y, n.z, false);
        hiddenWalls[hiddenWallCount++] = point(x, y, n.z);
    };
    hide(n.x + 1, n.y);
    hide(n.x + 1, n.y + 1);
    hide(n.x, n.y + 1);
}

bool Map::checkCursor() {
    bool result = true;
    for (int i = 0; i < cursorSpanY; ++i)
        for (int j = 0; j < cursorSpanX; ++j) {
            Tile* tile = tileAt(cursor.x - j, cursor.y - i, cursor.z);
            if (!tile || !tile->isBuildable() || !tile->hasFloor()) result = false;
        }
    return result;
}

void Map::dumpVars() {
    if (Tile* tile = tileAt(cursor.x, cursor.y, cursor.z)) tile->dumpVars();
    if (Room* room = roomAt(cursor.x, cursor.y, cursor.z)) room->dumpVars();
}

// --- building and bulldozing ---

void Map::occupy(int x, int y, int z, Room* room) {
    Tile* tile = tileAt(x, y, z);
    if (!tile) return;
    if (!cellRooms[x][y][z]) setRoom(x, y, z, room);
    tile->setBuildable(false);
    tile->turnTileOff();
}

void Map::vacate(int x, int y, int z) {
    Tile* tile = tileAt(x, y, z);
    if (!tile) return;
    setRoom(x, y, z, nullptr);
    tile->setBuildable(true);
    tile->turnTileOn();
}

Room* Map::admit(std::unique_ptr<Room> owner) {
    hasRooms = true;
    if (!owner) return nullptr;
    Room* room = owner.get();
    if (!lobby) lobby = dynamic_cast<Lobby*>(room);
    // A uid names one room only: one already taken gets a new one.
    if (room->getUid() == 0 || owned.count(room->getUid())) room->setUid(nextUid);
    if (room->getUid() >= nextUid) nextUid = room->getUid() + 1;
    owned[room->getUid()] = std::move(owner);
    return room;
}

BuildResult Map::buildRoom(int type) {
    if (!checkCursor()) return BuildResult::CANNOT_BUILD_THERE;
    if (!lobby) return BuildResult::NEEDS_LOBBY;
    const RoomCounters::Next taken = roomCounters.take(type);
    placeUnderCursor(std::make_unique<BasicRoom>(cursor, type, taken.variant, taken.serial));
    return BuildResult::BUILT;
}

void Map::placeUnderCursor(std::unique_ptr<Room> owner) {
    Room* room = admit(std::move(owner));
    setRoom(cursor.x, cursor.y, cursor.z, room);
    for (int i = 0; i < cursorSpanY; ++i)
        for (int j = 0; j < cursorSpanX; ++j) occupy(cursor.x - j, cursor.y - i, cursor.z, room);
}

BuildResult Map::buildTransportation(int type, int kind) {
    // Only elevators have a room object; cells covered by nothing could
    // never be bulldozed, saved or built on again.
    if (!checkCursor() || kind != ELEVATOR) return BuildResult::CANNOT_BUILD_THERE;
    if (!lobby) return BuildResult::NEEDS_LOBBY;
    const RoomCounters::Next taken = roomCounters.take(type);
    placeUnderCursor(std::make_unique<Elevator>(cursor, type, taken.variant, taken.serial));
    return BuildResult::BUILT;
}

bool Map::buildLobby() {
    if (!checkCursor()) return false;
    Room* room = lobby ? lobby : admit(std::make_unique<Lobby>(cursor, roomCounters.take(0).serial));
    setRoom(cursor.x, cursor.y, cursor.z, room);
    Tile* tile = tileAt(cursor.x, cursor.y, cursor.z);
    tile->setBuildable(false);
    tile->turnTileOff();
    return true;
}

FloorResult Map::buildFloor() {
    Tile* tile = tileAt(cursor.x, cursor.y, cursor.z);
    if (!tile) return FloorResult::NOTHING_BELOW;
    if (tile->hasFloor()) return FloorResult::FLOOR_THERE;
    // Only the ground and roofs can be built on; Alt pours a floor in mid-air.
    if (!tile->isBuildable() && (keyModifiers::now() & KMOD_ALT) == 0) return FloorResult::NOTHING_BELOW;
    const int mask = calcFloors(true);
    tile->buildFloor(true, mask, true);
    // The top storey has nothing above it to roof over.
    if (Tile* above = tileAt(cursor.x, cursor.y, cursor.z + 1)) above->buildRoof(true);
    for (int z = cursor.z; z >= 0; --z)
        if (Tile* below = tileAt(cursor.x, cursor.y, z)) below->placeShadow();
    if (cursor.z > 0) {
        Room* below = cellRooms[cursor.x][cursor.y][cursor.z - 1];
        if (below && below->isTransportation()) {
            // In the living tower the shaft takes the cell whole, as it does below.
            if (wholeShafts) {
                occupy(cursor.x, cursor.y, cursor.z, below);
            } else {
                setRoom(cursor.x, cursor.y, cursor.z, below);
            }
        }
    }
    return FloorResult::BUILT;
}

bool Map::bulldoze() {
    Tile* tile = tileAt(cursor.x, cursor.y, cursor.z);
    if (!tile || !tile->floorIsDestructable()) return false;
    if (Room* room = cellRooms[cursor.x][cursor.y][cursor.z]) {
        if (wholeShafts && room->isTransportation()) {
            std::vector<point> shaft;
            for (int z = 0; z < maxFloors; ++z)
                for (int x = 0; x < width; ++x)
                    for (int y = 0; y < height; ++y)
                        if (cellRooms[x][y][z] == room) shaft.push_back(point(x, y, z));
            for (const point& cell : shaft) vacate(cell.x, cell.y, cell.z);
            return true;
        }
        short sizeX = 1, sizeY = 1;
        room->getSize(sizeX, sizeY);
        if (sizeX > 1 || sizeY > 1) {
            const point anchor = room->getLocation();
            for (int i = 0; i < sizeY; ++i)
                for (int j = 0; j < sizeX; ++j) vacate(anchor.x - i, anchor.y - j, cursor.z);
        } else {
            vacate(cursor.x, cursor.y, cursor.z);
        }
        return true;
    }
    if (tile->hasFloor()) {
        tile->buildFloor(false, 0, true);
        calcFloors(false);
        if (Tile* above = tileAt(cursor.x, cursor.y, cursor.z + 1)) above->buildRoof(false);
        return true;
    }
    return false;
}

// --- floors, pathing and rent ---

int Map::calcFloors(bool add) {
    int result = 0;
    const int cx = cursor.x, cy = cursor.y, cz = cursor.z;
    auto touch = [&](int x, int y, int theirBit, int ourBit) {
        Tile* neighbour = tileAt(x, y, cz);
        if (neighbour && x < width && y < height && neighbour->hasFloor()) {
            neighbour->addFloor(add, theirBit);
            result |= ourBit;
        }
    };
    touch(cx - 1, cy, Tile::xPlus, Tile::xMinus);
    touch(cx, cy - 1, Tile::yPlus, Tile::yMinus);
    touch(cx + 1, cy, Tile::xMinus, Tile::xPlus);
    touch(cx, cy + 1, Tile::yMinus, Tile::yPlus);
    return result;
}

void Map::buildPathingTree() {
    for (int z = 0; z < maxFloors; ++z)
        for (int x = 0; x < width; ++x)
            for (int y = 0; y < height; ++y) {
                if (Tile* tile = tiles[x][y][z].get()) tile->resetPathCheck();
                if (Room* room = cellRooms[x][y][z]) room->resetPathCheck();
            }
    if (lobby) calculatePath(lobby->getLocation(), lobby);
}

namespace {

// The search the P key runs: visited cells show the path mark, and each room
// reached is linked to the lobby both ways.
struct LinkingWalk : Map::AreaWalk {
    bool visited(Tile& tile) override { return tile.pathHasBeenChecked(); }
    bool enterFloor(Tile& tile) override { return tile.isPathFloor(); }
    void reached(Room* room, Room* origin) override {
        if (room->isConnected() || !origin) return;
        origin->connectRoom(room);
        room->connectRoom(origin);
    }
};

// The same walk that only looks: whether it reaches one room, marking nothing.
struct LookingWalk : Map::AreaWalk {
    explicit LookingWalk(const Room* target) : target(target) {}
    bool visited(Tile& tile) override { return seen[tile.getPosition().x][tile.getPosition().y]; }
    bool enterFloor(Tile& tile) override {
        seen[tile.getPosition().x][tile.getPosition().y] = true;
        return tile.getType() == Tile::FLOOR;
    }
    void reached(Room* room, Room*) override { found = found || room == target; }

    const Room* target;
    bool found = false;
    bool seen[Map::capacityX][Map::capacityY] = {};
};

}  // namespace

void Map::walkArea(const point& p, Room* origin, AreaWalk& walk) {
    Tile* tile = tileAt(p.x, p.y, p.z);
    if (!tile || walk.visited(*tile)) return;
    if (!walk.enterFloor(*tile) && cellRooms[p.x][p.y][p.z] != origin) return;
    if (p.x + 1 < width) walkStep(point(p.x + 1, p.y, p.z), origin, walk);
    if (p.x - 1 >= 0) walkStep(point(p.x - 1, p.y, p.z), origin, walk);
    if (p.y + 1 < height) walkStep(point(p.x, p.y + 1, p.z), origin, walk);
    if (p.y - 1 >= 0) walkStep(point(p.x, p.y - 1, p.z), origin, walk);
}

void Map::walkStep(const point& p, Room* origin, AreaWalk& walk) {
    Room* here = roomAt(p.x, p.y, p.z);
    if (!here || here == origin) {
        walkArea(p, origin, walk);
    } else {
        walk.reached(here, origin);
    }
}

void Map::calculatePath(point p, Room* room) {
    if (room) originRoom = room;
    LinkingWalk walk;
    walkArea(p, originRoom, walk);
}

void Map::addRooms(const point& p, Room* origin) {
    LinkingWalk walk;
    walkStep(p, origin, walk);
}

bool Map::bordersLobbyArea(const Room* room) {
    if (!lobby || !room || room == lobby) return false;
    LookingWalk walk(room);
    walkArea(lobby->getLocation(), lobby, walk);
    return walk.found;
}

double Map::collectRent(short day, const std::function<bool(const Room&)>& earned) {
    double total = 0;
    for (int z = 0; z < maxFloors; ++z)
        for (int x = 0; x < width; ++x)
            for (int y = 0; y < height; ++y)
                if (Room* room = cellRooms[x][y][z]) {
                    const double rent = room->collectRent(day, x, y);
                    if (rent != 0 && earned(*room)) total += rent;
                }
    return total;
}

void Map::markReach(const std::vector<point>& cells, const std::vector<int>& roomUids) {
    for (int z = 0; z < maxFloors; ++z)
        for (int x = 0; x < width; ++x)
            for (int y = 0; y < height; ++y)
                if (Tile* tile = tiles[x][y][z].get()) tile->resetPathCheck();
    for (const auto& entry : owned) entry.second->resetPathCheck();
    for (const point& cell : cells)
        if (Tile* tile = tileAt(cell.x, cell.y, cell.z)) tile->isPathFloor();
    for (int uid : roomUids) {
        auto found = owned.find(uid);
        if (found != owned.end()) found->second->isConnected();
    }
}

double Map::collectRent(short day) {
    if (!hasRooms) return 0;
    double total = 0;
    for (int z = 0; z < maxFloors; ++z)
        for (int x = 0; x < width; ++x)
            for (int y = 0; y < height; ++y)
                if (Room* room = cellRooms[x][y][z]) total += room->collectRent(day, x, y);
    return total;
}

// --- saved game ---

void Map::removeAllRooms() {
    for (int x = 0; x < capacityX; ++x)
        for (int y = 0; y < capacityY; ++y)
            for (int z = 0; z < capacityZ; ++z) setRoom(x, y, z, nullptr);
    owned.clear();
    lobby = nullptr;
    hasRooms = false;
}

void Map::adoptRoom(std::unique_ptr<Room> owner, const std::vector<point>& cells) {
    // A room that covers no cell would never be released.
    bool covers = false;
    for (const point& cell : cells) covers = covers || inGrid(cell.x, cell.y, cell.z);
    if (!owner || !covers) return;
    Room* room = admit(std::move(owner));
    for (const point& cell : cells) setRoom(cell.x, cell.y, cell.z, room);
}

Map::Cells Map::cellStates() const {
    Cells cells;
    cells.reserve(static_cast<size_t>(maxFloors * width * height));
    for (int z = 0; z < maxFloors; ++z)
        for (int x = 0; x < width; ++x)
            for (int y = 0; y < height; ++y) {
                const Tile* tile = tiles[x][y][z].get();
                const Room* room = cellRooms[x][y][z];
                cells.push_back(CellState{tile ? tile->getType() : short(0), tile ? tile->getNeighbourFloors() : short(0),
                                          tile ? tile->getFlags() : 0, room ? room->getUid() : 0});
            }
    return cells;
}

void Map::restoreCells(const Cells& wanted, Rebuild rebuild, const void* context) {
    if (wanted.size() != static_cast<size_t>(maxFloors * width * height)) return;
    // Every room stays alive while the cells change hands, whatever order they go in.
    std::vector<Room*> pinned;
    auto find = [&](int uid) -> Room* {
        for (Room* room : pinned)
            if (room->getUid() == uid) return room;
        return nullptr;
    };
    for (int x = 0; x < capacityX; ++x)
        for (int y = 0; y < capacityY; ++y)
            for (int z = 0; z < capacityZ; ++z)
                if (Room* room = cellRooms[x][y][z])
                    if (!find(room->getUid())) {
                        room->addReference();
                        pinned.push_back(room);
                    }
    size_t at = 0;
    for (int z = 0; z < maxFloors; ++z)
        for (int x = 0; x < width; ++x)
            for (int y = 0; y < height; ++y, ++at) {
                const CellState& state = wanted[at];
                if (Tile* tile = tiles[x][y][z].get()) tile->setState(state.type, state.neighbours, state.flags);
                Room* room = nullptr;
                if (state.roomUid != 0) {
                    room = find(state.roomUid);
                    if (!room && (room = admit(rebuild(state.roomUid, context))) != nullptr) {
                        room->addReference();
                        pinned.push_back(room);
                    }
                }
                setRoom(x, y, z, room);
            }
    for (Room* room : pinned)
        if (room->dropReference() == 0) release(room);
}

const char* Map::roomCountProblem() const {
    std::unordered_map<const Room*, int> cells;
    for (int x = 0; x < capacityX; ++x)
        for (int y = 0; y < capacityY; ++y)
            for (int z = 0; z < capacityZ; ++z)
                if (const Room* room = cellRooms[x][y][z]) ++cells[room];
    for (const auto& entry : cells)
        if (entry.first->references() != entry.second) return "a room's count differs from the cells that hold it";
    if (lobby && !cells.count(lobby)) return "the lobby is held by no cell";
    return nullptr;
}

void Map::reopenUncoveredCells() {
    for (int z = 0; z < maxFloors; ++z)
        for (int x = 0; x < width; ++x)
            for (int y = 0; y < height; ++y) {
                Tile* tile = tiles[x][y][z].get();
                if (!tile || cellRooms[x][y][z] || !tile->isTileOff() || tile->isBuildable()) continue;
                tile->turnTileOn();
                // Open as building would have left it: floors and roofs take
                // rooms and floors, bare ground takes floors.
                const bool open = tile->hasFloor() || tile->getType() == Tile::ROOF ||
                                  (z == 0 && tile->getType() <= Tile::PLAIN);
                tile->setBuildable(open);
            }
}

bool Map::save(FILE* file) const {
    if (fprintf(file, "%d %d %d\n", maxFloors, width, height) < 0) return false;
    bool ok = true;
    for (int z = 0; z < maxFloors; ++z)
        for (int x = 0; x < width; ++x)
            for (int y = 0; y < height; ++y)
                if (Tile* tile = tiles[x][y][z].get()) {
                    if (!tile->save(file)) ok = false;
                }
    return ok;
}

bool Map::load(FILE* file) {
    int floors = maxFloors, w = width, h = height;
    if (fscanf(file, "%d %d %d", &floors, &w, &h) != 3) {
        puts("save.txt has no grid line of three numbers after the clock");
        return false;
    }
    // The tile records are positional: a grid of another shape cannot be
    // fitted into this one, so such a file is refused as a whole.
    if (floors < 1 || floors > capacityZ || w < 1 || w > capacityX || h < 1 || h > capacityY) {
        printf("save.txt describes a %d x %d x %d grid; the tower holds 1 to %d storeys of 1 to %d x %d cells\n",
               floors, w, h, capacityZ, capacityX, capacityY);
        return false;
    }
    maxFloors = floors;
    width = w;
    height = h;
    bool ok = true;
    for (int z = 0; z < maxFloors; ++z)
        for (int x = 0; x < width; ++x)
            for (int y = 0; y < height; ++y) {
                if (!tiles[x][y][z]) {
                    tiles[x][y][z] = std::make_unique<Tile>(x, y, z);
                    tiles[x][y][z]->init(z == 0 ? x % 2 : 0);
                }
                if (!tiles[x][y][z]->load(file)) ok = false;
                // A record that could not be read leaves the ones after it
                // unreadable too: one report says so.
                if (!ok) return false;
            }
    return ok;
}
