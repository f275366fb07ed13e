#include "display.h"

#include <cstdio>

int resolutionX = 800;
int resolutionY = 600;
SDL_Color gui_background = {0, 0, 0, 0};
SDL_Color gui_border = {0, 0, 0, 0};
SDL_Color gui_text = {0, 0, 0, 0};

bool mouseIsInside(int mouseX, int mouseY, const SDL_Rect& rect, int offsetX, int offsetY) {
    const int left = rect.x + offsetX, top = rect.y + offsetY;
    return left < mouseX && mouseX < left + rect.w && top < mouseY && mouseY < top + rect.h;
}

void showFrameRate(int frames, Uint32 elapsedMilliseconds) {
    const Uint32 seconds = elapsedMilliseconds / 1000;
    char caption[64];
    snprintf(caption, sizeof caption, "Zentrova--FPS: %i",
             static_cast<int>(seconds ? static_cast<Uint32>(frames) / seconds : 0));
    SDL_WM_SetCaption(caption, nullptr);
}
