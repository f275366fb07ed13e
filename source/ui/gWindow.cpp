#include "gWindow.h"

#include <cstdio>

#include "display.h"
#include "protocol.h"
#include "spf.h"

gWindow::gWindow(int px, int py, const char* message, SDL_Rect size, int buttons, int id)
    : menu(px + 10, py + size.h + 22 - 50), inner(size), frame(size), x(px), y(py) {
    snprintf(text, sizeof text, "%s", message ? message : "");
    frame.w = static_cast<Uint16>(frame.w + 2);
    frame.h = static_cast<Uint16>(frame.h + 22);
    inner.h = static_cast<Uint16>(inner.h + 18);
    menu.addMenuOption("OK");
    if (buttons == 2) menu.addMenuOption("Cancel");

    event.type = SDL_USEREVENT;
    event.code = id;
    event.data1 = nullptr;
    event.data2 = nullptr;

    surface.reset(SDL_CreateRGBSurface(0, frame.w, frame.h, 32, 0, 0, 0, 0));
    if (surface) {
        backgroundColour = SDL_MapRGB(surface->format, gui_background.r, gui_background.g, gui_background.b);
        borderColour = SDL_MapRGB(surface->format, gui_border.r, gui_border.g, gui_border.b);
    }
    textSurface = FNT_Render(text, gui_text);
    inner.x = 2;
    inner.y = 2;
    inner.w = static_cast<Uint16>(inner.w - 2);
}

bool gWindow::checkMouse(int mouseX, int mouseY, bool) const { return mouseIsInside(mouseX, mouseY, frame, x, y); }

void gWindow::loop() {
    if (!menu.loop()) return;
    switch (menu.getSelectedOption()) {
    case 1: event.code |= events::WINDOW_OK; break;
    case 2: event.code |= events::WINDOW_CANCEL; break;
    default: break;
    }
    SDL_Event pushed;
    pushed.user = event;
    SDL_PushEvent(&pushed);
}

void gWindow::update() {
    // Without a picture the window still works; it just cannot be painted.
    if (!surface) return;
    SDL_FillRect(surface.get(), nullptr, borderColour);
    SDL_FillRect(surface.get(), &inner, backgroundColour);
}

void gWindow::show() {
    if (surface) {
        CSurface::OnDraw(surface.get(), textSurface.get(), 10, 10, nullptr);
        CSurface::drawRepainted(surface.get(), x, y);
    }
    menu.render();
}
