#include "freshStart.h"

#include "CSurface.h"
#include "Clock.h"
#include "Elevator.h"
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
    Clock* clock = Clock::Instance();
    clock->setSpeed(100);
    clock->set(0, 23, 1, 1, 1);
    Clock::resetTimeOfDay();
    Elevator::resetShuttle();
    keyModifiers::release();
    CSurface::setNightLook(false);
}

Game* newGame(Uint32 frozenTicks) {
    reset(frozenTicks);
    return Game::Instance();
}

}  // namespace freshStart
