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

// endGame, then what a new run starts with outside the tower: time frozen
// at frozenTicks, no key held, the day look.
void reset(Uint32 frozenTicks);

// reset, then the new game with a new tower: the clock at 23:00 of day 1 at
// its daytime pace with no part of the day reported yet, the elevators'
// shuttle going up next.
Game* newGame(Uint32 frozenTicks);

}  // namespace freshStart

#endif
