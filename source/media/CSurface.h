#ifndef ZENTROVA_CSURFACE_H
#define ZENTROVA_CSURFACE_H

#include <SDL.h>
#include <memory>
#include <string>
#include <vector>

#include "display.h"

class DrawList;
struct DrawItem;

// Frees a surface when its owner goes; for surfaces that are not the window.
struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// The registry of every image the game loads, and the drawing routines.
// Slot 0 is the window, which SDL owns; slots 1.. are the settings file's
// images in order, owned here.
class CSurface {
public:
    static Uint32 screenColor;

    // Appends the images as the next slots; stops at the first that will not load.
    static bool loadSurfaces(std::vector<std::string> names);
    // Slot 0: the window SDL gave us (tests and the benchmark open their own).
    // With a scale above 1 slot 0 is a picture of the window's size divided
    // by the scale, which flip enlarges onto the window.
    static void setWindow(SDL_Surface* window, int scale = 1);
    // How many slots there are, the window's included.
    static size_t slotCount();
    // Frees the images from slot count on.
    static void keepSlots(size_t count);

    static bool OnDraw(SDL_Surface* dest, SDL_Surface* src, int x, int y, const SDL_Rect* clip);
    static bool OnDraw(int dest, int src, int x, int y, const SDL_Rect* clip);
    static bool OnDraw(SDL_Surface* dest, int src, int x, int y, const SDL_Rect* clip);
    static bool OnDraw(int dest, SDL_Surface* src, int x, int y, const SDL_Rect* clip);

    // A picture its owner paints again now and then (a bar, a window), drawn
    // on the window; a recorded frame compares it by its pixels.
    static bool drawRepainted(SDL_Surface* src, int x, int y);

    // While a list is given, what is drawn on the window (clearScreen
    // included) is recorded there instead; null draws again.
    static void recordInto(DrawList* list);
    // Draws a recorded item on the window, within the window's clip.
    static void drawItem(const DrawItem& item);
    // Counts every new window (a mode, a size, a scale): what was on the old one is gone.
    static unsigned windowChangeCount();

    static void clearScreen();
    static void setScreenColor(int red, int green, int blue);
    // Shows the window's picture, enlarged by the scale; true when SDL did.
    static bool flip();
    // Shows only these rectangles of the window's picture.
    static bool flip(const std::vector<SDL_Rect>& rects);
    // False where the display flips whole pages (a double-buffered window),
    // whose other page holds an older frame: there only whole frames show right.
    static bool showsParts();
    static SurfacePtr OnLoad(const char* file);
    static void cleanUp();

    // The surface in a slot, or null for a slot that does not exist; with
    // the night look on, a slot's night picture where it has one.
    static SDL_Surface* slot(int index);
    // A slot's night picture, or null where it has none.
    static SDL_Surface* nightSlot(int index);

    // The tower by night: the tile and wall sheets have night pictures,
    // "tiles-night.png" beside "tiles.png", loaded with them. Without one a
    // sheet keeps its day look, and the game says so.
    static void setNightLook(bool on) { nightLook = on; }
    static bool isNightLook() { return nightLook; }
    // "assets/tiles.png" -> "assets/tiles-night.png".
    static std::string nightName(const std::string& dayName);
    // The night picture of a sheet, or null with a message on standard error.
    static SurfacePtr loadNightPicture(const std::string& dayName);

    // Decodes a PNG image (and only a PNG: the other decoders of the image
    // library are not trusted with outside data) whose header declares at
    // most maxPngSide pixels a side. Null when refused or undecodable.
    static SurfacePtr loadPNG(SDL_RWops* stream);
    static SurfacePtr loadPNGFile(const char* path);
    static constexpr int maxPngSide = 4096;

    // The picture in the window's format with per-pixel alpha; the original goes.
    static SurfacePtr toDisplayFormat(SurfacePtr loaded);

    // Pictures reach the window through cached encoded copies; tests turn the
    // cache off to prove that it changes no pixel.
    static void usePictureCopies(bool on);
    // Makes the copies of these pictures of a sheet now, so that drawing
    // them later allocates nothing.
    static void prepareCopies(SDL_Surface* sheet, const SDL_Rect* clips, size_t count);

private:
    static void blit(SDL_Surface* dest, SDL_Surface* src, int x, int y, const SDL_Rect* clip);
    static bool nightLook;
};

#endif
