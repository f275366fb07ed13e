#include "gMenu.h"

#include <cstdio>

#include "CSurface.h"
#include "display.h"
#include "protocol.h"
#include "screenState.h"
#include "ticks.h"

gMenu::gMenu() : startTime(ticks::now()) {
    lastCaptionTime = startTime + 1000;
    // The tower's sky stays with the tower: the menu stands on black.
    CSurface::setScreenColor(0, 0, 0);
    layOut();
    loadEvent.type = SDL_USEREVENT;
    loadEvent.user.type = SDL_USEREVENT;
    // The tower screen takes it as the load window's OK.
    loadEvent.user.code = events::LOAD_CONFIRMED;
    loadEvent.user.data1 = nullptr;
    loadEvent.user.data2 = nullptr;
}

void gMenu::layOut() {
    CSurface::clearScreen();
    SDL_Surface* title = CSurface::slot(slots::MENU_TITLE);
    const int titleWidth = title ? title->w : 0;
    const int titleHeight = title ? title->h : 0;
    logoX = resolutionX / 2 - titleWidth / 2;
    logoY = 50;
    textMenu = std::make_unique<gTextMenu>(resolutionX / 2 - 50, titleHeight + logoY - 100);
    textMenu->addMenuOption("New Game");
    textMenu->addMenuOption("Load Game");
    textMenu->addMenuOption("Quit Game");
}

void gMenu::OnResize(int, int) {
    // After a choice the menu is on its way out and has no options to place.
    if (textMenu) layOut();
}

void gMenu::OnKeyDown(SDLKey sym, SDLMod, Uint16) {
    switch (sym) {
    case SDLK_ESCAPE: selectOption(3); break;
    case SDLK_n: selectOption(1); break;
    case SDLK_l: selectOption(2); break;
    default: break;
    }
}

void gMenu::OnLButtonDown(int, int) {
    if (textMenu) selectOption(textMenu->getSelectedOption());
}

void gMenu::selectOption(int option) {
    if (option == 0) return;
    cleanUp();
    switch (option) {
    case 1:
        setNextState(MAP);
        break;
    case 2:
        setNextState(MAP);
        SDL_PushEvent(&loadEvent);
        break;
    case 3:
        OnExit();
        break;
    default:
        fputs("error: menu option not found", stderr);
        setNextState(MAP);
        break;
    }
}

void gMenu::OnExit() {
    puts("OMG, EXIT PROGRAM!");
    cleanUp();
    setNextState(EXIT);
    change_state();
}

void gMenu::cleanUp() { textMenu.reset(); }

void gMenu::Loop() {
    if (textMenu) textMenu->loop();
    const Uint32 now = ticks::now();
    if (now >= lastCaptionTime + 1000) {
        lastCaptionTime = now;
        showFrameRate(frameCount, now - startTime);
    }
}

void gMenu::Render() {
    painter.paint(*this);
    ++frameCount;
}

void gMenu::draw() {
    CSurface::OnDraw(0, slots::MENU_TITLE, logoX, logoY, nullptr);
    if (textMenu) textMenu->render();
}
