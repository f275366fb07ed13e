#include "keyModifiers.h"

namespace {
bool held = false;
SDLMod heldModifiers = KMOD_NONE;
}  // namespace

namespace keyModifiers {

SDLMod now() { return held ? heldModifiers : SDL_GetModState(); }

void hold(SDLMod modifiers) {
    held = true;
    heldModifiers = modifiers;
}

void release() {
    held = false;
    heldModifiers = KMOD_NONE;
}

}  // namespace keyModifiers
