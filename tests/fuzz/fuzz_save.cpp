// The saved game: bytes become save.txt and go through Game::load, which
// reads the funds and hands on to Clock::load, Map::load and Tile::load, and
// then to the room records after the tiles.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>

#include "Elevator.h"
#include "Lobby.h"
#include "Map.h"
#include "RoomDefs.h"
#include "Room.h"
#include "fuzzSupport.h"
#include "game.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_support::openHeadlessScreen();
    Game* game = Game::Instance();
    fuzz_support::writeFile(Game::saveFileName, data, size);
    game->load();

    // Whatever the file held, the tower must stay one the game can draw and price.
    if (!std::isfinite(game->getFunds()) || game->getFunds() < 0) abort();
    Map& map = game->getMap();
    // Every room is counted once per cell that holds it, or the map would
    // release it while a cell still does, or never.
    std::map<Room*, int> cells;
    for (int z = 0; z < Map::capacityZ; ++z)
        for (int x = 0; x < Map::capacityX; ++x)
            for (int y = 0; y < Map::capacityY; ++y)
                if (Room* room = map.roomAt(x, y, z)) ++cells[room];
    for (const auto& entry : cells)
        if (entry.first->references() != entry.second) abort();
    if (map.getLobby() && !cells.count(map.getLobby())) abort();
    if (Elevator::nextFloorGoal() < 0 || Elevator::nextFloorGoal() > Elevator::topShuttleFloor) abort();
    for (const aRoom& def : rooms)
        if (def.count < 1 || def.nextVariant > def.maxVariant) abort();
    game->loop(0);
    game->render(point(0, 0, 0));
    if (map.getMaxFloors() < 1 || map.getMaxFloors() > Map::capacityZ) abort();
    if (map.getWidth() < 1 || map.getWidth() > Map::capacityX) abort();
    if (map.getHeight() < 1 || map.getHeight() > Map::capacityY) abort();
    for (int z = 0; z < map.getMaxFloors(); ++z)
        for (int x = 0; x < map.getWidth(); ++x)
            for (int y = 0; y < map.getHeight(); ++y) {
                const Tile* tile = map.tileAt(x, y, z);
                if (!tile || tile->getType() < Tile::EMPTY || tile->getType() > Tile::ROOF) abort();
                if (tile->getFlags() & ~Tile::knownFlags) abort();
            }
    return 0;
}
