#include "CScreen.h"

#include <algorithm>
#include <cstdio>

#include "CSurface.h"
#include "display.h"

namespace {

constexpr Uint32 modeFlags = SDL_HWSURFACE | SDL_DOUBLEBUF;

int scale = 1;        // in force
int chosenScale = 1;  // what the settings or the command line asked for
bool fullScreen = false;
int desktopWidth = 0;
int desktopHeight = 0;
// The game's size in a window, kept while in full screen.
int windowWidth = 0;
int windowHeight = 0;

bool belowMinimum(int width, int height) { return width < CScreen::minimumWidth || height < CScreen::minimumHeight; }

void raiseToMinimum(int& width, int& height) {
    if (!belowMinimum(width, height)) return;
    const int raisedWidth = std::max(width, CScreen::minimumWidth);
    const int raisedHeight = std::max(height, CScreen::minimumHeight);
    printf("A window of %d x %d is too small for the game; it is raised to %d x %d\n", width, height, raisedWidth,
           raisedHeight);
    width = raisedWidth;
    height = raisedHeight;
}

// Enlarged pixels easily make a window larger than the screen: the game is
// then laid out for less, as much as fits beside the window's frame and a
// panel, but never below the least size.
constexpr int frameWidth = 16;
constexpr int frameHeight = 64;

void fitToScreen(int& width, int& height) {
    if (chosenScale == 1 || desktopWidth == 0) return;
    const int fittingWidth = std::max(CScreen::minimumWidth, (desktopWidth - frameWidth) / chosenScale);
    const int fittingHeight = std::max(CScreen::minimumHeight, (desktopHeight - frameHeight) / chosenScale);
    if (width <= fittingWidth && height <= fittingHeight) return;
    const int fittedWidth = std::min(width, fittingWidth), fittedHeight = std::min(height, fittingHeight);
    printf("At scale %d a game of %d x %d needs a window of %d x %d, larger than the screen's %d x %d; "
           "the game is laid out for %d x %d\n",
           chosenScale, width, height, width * chosenScale, height * chosenScale, desktopWidth, desktopHeight,
           fittedWidth, fittedHeight);
    width = fittedWidth;
    height = fittedHeight;
}

// A mode of width x height screen pixels; the game's size is that divided by
// the scale, whatever size SDL gave.
bool setMode(int width, int height, int modeScale, bool full) {
    SDL_Surface* surface = SDL_SetVideoMode(width, height, 32, modeFlags | (full ? SDL_FULLSCREEN : SDL_RESIZABLE));
    if (!surface) return false;
    CSurface::setWindow(surface, modeScale);
    // Without memory for the smaller picture the game is drawn unscaled.
    scale = CSurface::slot(0) == surface ? 1 : modeScale;
    fullScreen = (surface->flags & SDL_FULLSCREEN) != 0;
    resolutionX = surface->w / scale;
    resolutionY = surface->h / scale;
    return true;
}

bool setWindowMode() { return setMode(windowWidth * chosenScale, windowHeight * chosenScale, chosenScale, false); }

bool enterFullScreen() {
    if (desktopWidth > 0 && desktopHeight > 0) {
        // A screen too small for the chosen scale is drawn at a smaller one.
        int fitting = chosenScale;
        while (fitting > 1 && belowMinimum(desktopWidth / fitting, desktopHeight / fitting)) --fitting;
        if (!belowMinimum(desktopWidth / fitting, desktopHeight / fitting)) {
            if (fitting != chosenScale) {
                printf("The screen's %d x %d is too small for scale %d; full screen is drawn at scale %d\n",
                       desktopWidth, desktopHeight, chosenScale, fitting);
            }
            return setMode(desktopWidth, desktopHeight, fitting, true);
        }
        printf("The screen's %d x %d is smaller than the game; full screen keeps the window's size\n", desktopWidth,
               desktopHeight);
    } else {
        puts("The screen's size is not known; full screen keeps the window's size");
    }
    return setMode(windowWidth * chosenScale, windowHeight * chosenScale, chosenScale, true);
}

// Rounded down, also left of the window: the pixel the position falls in.
int toGame(int position) { return position >= 0 ? position / scale : -((scale - 1 - position) / scale); }

}  // namespace

void CScreen::readDesktopSize() {
    // current_w and current_h describe the desktop until a mode is set, and
    // that mode afterwards.
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (info) setDesktopSize(info->current_w, info->current_h);
}

void CScreen::setDesktopSize(int width, int height) {
    desktopWidth = width > 0 && height > 0 ? width : 0;
    desktopHeight = width > 0 && height > 0 ? height : 0;
}

bool CScreen::setScale(int wanted) {
    if (wanted < 1 || wanted > maximumScale) return false;
    chosenScale = wanted;
    return true;
}

int CScreen::getScale() { return chosenScale; }

bool CScreen::isFullScreen() { return fullScreen; }

SDL_Surface* CScreen::open(bool full) {
    windowWidth = resolutionX;
    windowHeight = resolutionY;
    raiseToMinimum(windowWidth, windowHeight);
    fitToScreen(windowWidth, windowHeight);
    if (full) {
        if (enterFullScreen()) return CSurface::slot(0);
        puts("Full screen is not available on this display; the game runs in a window");
    }
    return setWindowMode() ? CSurface::slot(0) : nullptr;
}

bool CScreen::toggleFullScreen() {
    const bool wanted = !fullScreen;
    if (wanted ? enterFullScreen() : setWindowMode()) {
        puts(wanted ? "Full screen" : "Window");
    } else {
        // A mode that could not be set may have taken the old one with it.
        if (!(wanted ? setWindowMode() : enterFullScreen())) CSurface::setWindow(nullptr);
        puts(wanted ? "Full screen is not available on this display; the game stays in a window"
                    : "The display cannot leave full screen");
    }
    CSurface::clearScreen();
    return fullScreen == wanted;
}

bool CScreen::resize(int width, int height) {
    if (fullScreen) return false;
    int gameWidth = width / scale;
    int gameHeight = height / scale;
    raiseToMinimum(gameWidth, gameHeight);
    const SDL_Surface* shown = SDL_GetVideoSurface();
    if (shown && shown->w == gameWidth * scale && shown->h == gameHeight * scale) return false;
    windowWidth = gameWidth;
    windowHeight = gameHeight;
    const bool resized = setWindowMode();
    CSurface::clearScreen();
    return resized;
}

void CScreen::toGamePixels(SDL_Event& event) {
    if (scale == 1) return;
    switch (event.type) {
    case SDL_MOUSEMOTION: {
        SDL_MouseMotionEvent& motion = event.motion;
        // Motion is where the pointer went from where it was, both in game pixels.
        const int fromX = motion.x - motion.xrel, fromY = motion.y - motion.yrel;
        motion.x = static_cast<Uint16>(toGame(motion.x));
        motion.y = static_cast<Uint16>(toGame(motion.y));
        motion.xrel = static_cast<Sint16>(motion.x - toGame(fromX));
        motion.yrel = static_cast<Sint16>(motion.y - toGame(fromY));
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        event.button.x = static_cast<Uint16>(toGame(event.button.x));
        event.button.y = static_cast<Uint16>(toGame(event.button.y));
        break;
    default:
        break;
    }
}

Uint8 CScreen::pointerState(int& x, int& y) {
    const Uint8 buttons = SDL_GetMouseState(&x, &y);
    x = toGame(x);
    y = toGame(y);
    return buttons;
}
