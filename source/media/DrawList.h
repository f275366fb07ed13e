#ifndef ZENTROVA_DRAWLIST_H
#define ZENTROVA_DRAWLIST_H

#include <SDL.h>
#include <cstdint>
#include <vector>

// One call of the drawing code on the window.
struct DrawItem {
    SDL_Surface* picture;  // null: a fill with colour
    SDL_Rect part;         // of the picture
    int x, y, w, h;        // where it lands on the window, unclipped
    Uint32 colour;
    uint64_t look;  // equal for two items only when they put the same pixels in the same place
};

// A frame of the window as the drawing code asked for it, back to front,
// recorded instead of drawn: compared with the frame before, it says where
// the window changed, and drawn again only there.
class DrawList {
public:
    void clear();
    void draw(SDL_Surface* picture, const SDL_Rect& part, int x, int y);
    void fill(Uint32 colour, const SDL_Rect& area);
    // A picture its owner paints again now and then (a bar, a window): the
    // same place and pointer need not mean the same pixels, so its pixels
    // are compared with those of the same call a frame before.
    void drawRepainted(SDL_Surface* picture, int x, int y);
    const std::vector<DrawItem>& items() const { return list; }

private:
    struct Snapshot {
        std::vector<Uint8> pixels;
        int w = 0, h = 0;
        uint64_t version = 0;
    };
    uint64_t versionOf(SDL_Surface* picture);
    std::vector<DrawItem> list;
    std::vector<Snapshot> snapshots;  // by the order of the calls in a frame
    size_t repainted = 0;
    uint64_t nextVersion = 1;
};

#endif
