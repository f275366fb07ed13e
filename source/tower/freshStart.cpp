#include "freshStart.h"

#include "CSurface.h"
#include "RoomDefs.h"
#include "game.h"
#include "gui.h"
#include "keyModifiers.h"
#include "ticks.h"

namespace freshStart {

void endGame() {
    SDL_Event pending;
    while (SDL_PollEvent(&pending)) {
    }
    if (Game::exists()) Game::Instance()->onExit();
    if (GUI::exists()) GUI::Instance()->onExit();
    clearRoomDefs();
}

void reset(Uint32 frozenTicks) {
    endGame();
    ticks::freeze(frozenTicks);
    keyModifiers::release();
    CSurface::setNightLook(false);
}

Game* newGame(Uint32 frozenTicks) {
    reset(frozenTicks);
    return Game::Instance();
}

}  // namespace freshStart
