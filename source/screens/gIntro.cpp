#include "gIntro.h"

#include <cstdio>

#include "CSurface.h"
#include "display.h"
#include "protocol.h"
#include "screenState.h"
#include "ticks.h"

gIntro::gIntro() { SDL_WM_SetCaption("Zentrova", nullptr); }

void gIntro::OnKeyDown(SDLKey sym, SDLMod, Uint16) {
    if (sym == SDLK_ESCAPE) {
        OnExit();
    } else {
        setNextState(MENU);
    }
}

void gIntro::OnLButtonUp(int, int) { setNextState(MENU); }

void gIntro::OnRButtonUp(int, int) { setNextState(MENU); }

void gIntro::OnExit() {
    puts("OMG, EXIT PROGRAM!");
    setNextState(EXIT);
    change_state();
}

void gIntro::Loop() {
    const Uint32 now = ticks::now();
    if (now > 2000) setNextState(MENU);
    if (now >= lastCaptionTime + 1000) {
        lastCaptionTime = now;
        showFrameRate(frameCount, now - startTime);
    }
}

void gIntro::Render() {
    if (SDL_Surface* title = CSurface::slot(slots::INTRO_TITLE)) {
        CSurface::OnDraw(0, slots::INTRO_TITLE, resolutionX / 2 - title->w / 2, resolutionY / 2 - title->h / 2, nullptr);
    }
    CSurface::flip();
    ++frameCount;
}
