#ifndef ZENTROVA_TICKS_H
#define ZENTROVA_TICKS_H

#include <SDL.h>

// Every timed rule of the game reads the millisecond counter through here,
// so that tests can stop and step time instead of sleeping.
namespace ticks {

Uint32 now();

// Tests: freeze the counter at a value; advance moves it; thaw returns to SDL.
void freeze(Uint32 value);
void advance(Uint32 milliseconds);
void thaw();

}  // namespace ticks

#endif
