#ifndef ZENTROVA_DISPLAY_H
#define ZENTROVA_DISPLAY_H

#include <SDL.h>

// What every layer needs to know about the window: its size, the interface
// colours of the settings file, rectangles and the hit test, and the caption.

extern int resolutionX;  // 800 unless the settings or the command line say otherwise
extern int resolutionY;  // 600 likewise
extern SDL_Color gui_background;
extern SDL_Color gui_border;
extern SDL_Color gui_text;

// A rectangle from plain ints, as SDL keeps them in 16 bits.
inline SDL_Rect makeRect(int x, int y, int w, int h) {
    SDL_Rect rect;
    rect.x = static_cast<Sint16>(x);
    rect.y = static_cast<Sint16>(y);
    rect.w = static_cast<Uint16>(w);
    rect.h = static_cast<Uint16>(h);
    return rect;
}

// Strictly inside: the rectangle's first and last row and column are outside.
bool mouseIsInside(int mouseX, int mouseY, const SDL_Rect& rect, int offsetX, int offsetY);

// Sets the window caption to the average frame rate over whole seconds.
void showFrameRate(int frames, Uint32 elapsedMilliseconds);

#endif
