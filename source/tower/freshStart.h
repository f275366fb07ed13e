#ifndef ZENTROVA_FRESHSTART_H
#define ZENTROVA_FRESHSTART_H

#include <SDL.h>

class Game;

// Tests, the fuzz targets and the benchmark begin every case the way a new
// player's first game begins, with time frozen so that nothing runs on
// between two looks. The program itself never calls these.
namespace freshStart {

// Ends any game and its GUI, empties the room table and drops queued events.
void endGame();

// endGame, then everything a new run starts with: time frozen at
// frozenTicks, the clock at 23:00 of day 1 at its daytime pace with no part
// of the day reported yet, no key held, the elevators' shuttle going up next.
void reset(Uint32 frozenTicks);

// reset, then the new game.
Game* newGame(Uint32 frozenTicks);

}  // namespace freshStart

#endif
