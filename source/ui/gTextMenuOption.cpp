#include "gTextMenuOption.h"

#include <cstdio>

#include "CSurface.h"
#include "display.h"
#include "spf.h"

int gTextMenuOption::selectedOption = 0;
SurfacePtr gTextMenuOption::selectedBackground;
SurfacePtr gTextMenuOption::normalBackground;
bool gTextMenuOption::optionFound = false;

gTextMenuOption::gTextMenuOption(int px, int py, const char* text, int optionId)
    : x(px), y(py), id(optionId), textSurface(FNT_Render(text, gui_text)) {
    area.x = static_cast<Sint16>(x);
    area.y = static_cast<Sint16>(y);
    area.w = plateWidth;
    area.h = plateHeight;
}

void gTextMenuOption::loop(int mouseX, int mouseY) {
    if (mouseIsInside(mouseX, mouseY, area, 0, 0)) {
        selectedOption = id;
        optionFound = true;
    }
}

void gTextMenuOption::render() {
    CSurface::drawRepainted((id == selectedOption ? selectedBackground : normalBackground).get(), x, y);
    CSurface::drawRepainted(textSurface.get(), x + 15, y + 6);
}

namespace {

SurfacePtr plateIn(SDL_Surface* work, SDL_Color colour) {
    SDL_FillRect(work, nullptr, SDL_MapRGB(work->format, colour.r, colour.g, colour.b));
    return SurfacePtr(SDL_DisplayFormatAlpha(work));
}

}  // namespace

void gTextMenuOption::rebuildPlates() {
    const SurfacePtr work(
        SDL_CreateRGBSurface(0, plateWidth, plateHeight, 32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000));
    if (!work) {
        fputs("menu surface is NULL", stderr);
        return;
    }
    normalBackground = plateIn(work.get(), gui_background);
    selectedBackground = plateIn(work.get(), gui_border);
    selectedOption = 0;
}
