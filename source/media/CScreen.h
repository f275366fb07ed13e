#ifndef ZENTROVA_CSCREEN_H
#define ZENTROVA_CSCREEN_H

#include <SDL.h>

// The game's window on the display: a window the window manager may resize,
// or full screen at the screen's own size, and the whole number by which
// every pixel is enlarged. The game is laid out for resolutionX x
// resolutionY, the window's size divided by that number; the pointer's
// position is divided back the same way.
class CScreen {
public:
    // The least size the menu and the button bar are laid out for.
    static constexpr int minimumWidth = 640;
    static constexpr int minimumHeight = 480;
    static constexpr int maximumScale = 4;

    // SDL tells the screen's size only before the first mode is set.
    static void readDesktopSize();
    // 0 x 0: not known. Tests stand in for the screen.
    static void setDesktopSize(int width, int height);

    // 1 to maximumScale, from the next mode on; false, and nothing changes,
    // for any other number. Full screen on a small screen may draw at less.
    static bool setScale(int scale);
    static int getScale();

    // Opens at the resolution times the scale, raised to the least size, in
    // full screen when asked and the display allows it; null when no mode works.
    static SDL_Surface* open(bool fullScreen);
    // Full screen at the screen's size, or back to the window's size. False,
    // with a line on standard output, when the display cannot switch.
    static bool toggleFullScreen();
    static bool isFullScreen();
    // The window manager made the window this size: the game's size follows.
    // False when nothing changed.
    static bool resize(int width, int height);

    // A pointer event's position (and motion) in the game's pixels.
    static void toGamePixels(SDL_Event& event);
    // The pointer's position in the game's pixels, as SDL_GetMouseState.
    static Uint8 pointerState(int& x, int& y);
};

#endif
