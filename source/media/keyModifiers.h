#ifndef ZENTROVA_KEYMODIFIERS_H
#define ZENTROVA_KEYMODIFIERS_H

#include <SDL.h>

// Shift, Ctrl and Alt as the game rules read them: from SDL, unless a test
// holds them down itself. The seam beside the tick counter's.
namespace keyModifiers {

SDLMod now();

// Tests: hold exactly these modifiers until release() returns to SDL.
void hold(SDLMod held);
void release();

}  // namespace keyModifiers

#endif
