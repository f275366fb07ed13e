#include "ticks.h"

namespace {
bool frozen = false;
Uint32 frozenValue = 0;
}  // namespace

namespace ticks {

Uint32 now() { return frozen ? frozenValue : SDL_GetTicks(); }

void freeze(Uint32 value) {
    frozen = true;
    frozenValue = value;
}

void advance(Uint32 milliseconds) { frozenValue += milliseconds; }

void thaw() { frozen = false; }

}  // namespace ticks
