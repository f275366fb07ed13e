#include "gTextMenuOption.h"

#include <cstdio>

#include "CSurface.h"
#include "display.h"
#include "spf.h"

int gTextMenuOption::selectedOption = 0;
SDL_Surface* gTextMenuOption::selectedBackground = nullptr;
SDL_Surface* gTextMenuOption::normalBackground = nullptr;
bool gTextMenuOption::optionFound = false;

gTextMenuOption::gTextMenuOption(int px, int py, const char* text, int optionId)
    : x(px), y(py), id(optionId), textSurface(FNT_Render(text, gui_text)) {
    area.x = static_cast<Sint16>(x);
    area.y = static_cast<Sint16>(y);
    area.w = plateWidth;
    area.h = plateHeight;
}

gTextMenuOption::~gTextMenuOption() { SDL_FreeSurface(textSurface); }

void gTextMenuOption::loop(int mouseX, int mouseY) {
    if (mouseIsInside(mouseX, mouseY, area, 0, 0)) {
        selectedOption = id;
        optionFound = true;
    }
}

void gTextMenuOption::render() {
    CSurface::OnDraw(0, id == selectedOption ? selectedBackground : normalBackground, x, y, nullptr);
    CSurface::OnDraw(0, textSurface, x + 15, y + 6, nullptr);
}

namespace {

SDL_Surface* plateIn(SDL_Surface* work, SDL_Color colour) {
    SDL_FillRect(work, nullptr, SDL_MapRGB(work->format, colour.r, colour.g, colour.b));
    return SDL_DisplayFormatAlpha(work);
}

}  // namespace

void gTextMenuOption::rebuildPlates() {
    SDL_Surface* work =
        SDL_CreateRGBSurface(0, plateWidth, plateHeight, 32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000);
    if (!work) {
        fputs("menu surface is NULL", stderr);
        return;
    }
    SDL_FreeSurface(normalBackground);
    SDL_FreeSurface(selectedBackground);
    normalBackground = plateIn(work, gui_background);
    selectedBackground = plateIn(work, gui_border);
    SDL_FreeSurface(work);
    selectedOption = 0;
}
