// The saved game: bytes become save.txt and go through Game::load, which
// reads the funds and hands on to Clock::load, Map::load and Tile::load, and
// then to the room records after the tiles.
#include <cmath>
#include <cstdint>
#include <cstdlib>

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
    if (map.roomCountProblem()) abort();
    if (map.shuttle().nextGoal() < 0 || map.shuttle().nextGoal() > Shuttle::topFloor) abort();
    for (size_t kind = 0; kind < rooms.size(); ++kind) {
        const RoomCounters::Next next = map.counters().peek(static_cast<int>(kind));
        if (next.serial < 1 || next.variant < 0 || next.variant > rooms[kind].maxVariant) abort();
    }
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
