#include "DrawList.h"

#include <cstring>

namespace {

uint64_t mixed(uint64_t value) {
    value ^= value >> 33;
    value *= 0xff51afd7ed558ccdULL;
    value ^= value >> 33;
    value *= 0xc4ceb9fe1a85ec53ULL;
    return value ^ (value >> 33);
}

uint64_t packed(int a, int b) { return (static_cast<uint64_t>(static_cast<uint32_t>(a)) << 32) | static_cast<uint32_t>(b); }

uint64_t lookOf(const void* picture, const SDL_Rect& part, int x, int y, uint64_t version) {
    uint64_t look = mixed(reinterpret_cast<uintptr_t>(picture) ^ version * 0x9e3779b97f4a7c15ULL);
    look = mixed(look ^ packed(part.x, part.y));
    look = mixed(look ^ packed(part.w, part.h));
    return mixed(look ^ packed(x, y));
}

}  // namespace

void DrawList::clear() {
    list.clear();
    repainted = 0;
}

void DrawList::draw(SDL_Surface* picture, const SDL_Rect& part, int x, int y) {
    list.push_back(DrawItem{picture, part, x, y, part.w, part.h, 0, lookOf(picture, part, x, y, 0)});
}

void DrawList::fill(Uint32 colour, const SDL_Rect& area) {
    list.push_back(DrawItem{nullptr, area, area.x, area.y, area.w, area.h, colour,
                            lookOf(nullptr, area, area.x, area.y, colour + 1)});
}

void DrawList::drawRepainted(SDL_Surface* picture, int x, int y) {
    SDL_Rect whole;
    whole.x = 0;
    whole.y = 0;
    whole.w = static_cast<Uint16>(picture->w);
    whole.h = static_cast<Uint16>(picture->h);
    list.push_back(DrawItem{picture, whole, x, y, picture->w, picture->h, 0,
                            lookOf(picture, whole, x, y, versionOf(picture))});
}

uint64_t DrawList::versionOf(SDL_Surface* picture) {
    if (picture->w <= 0 || picture->h <= 0) return 0;  // nothing to show, whatever it holds
    if (repainted == snapshots.size()) snapshots.emplace_back();
    Snapshot& snapshot = snapshots[repainted++];
    const size_t rowBytes = static_cast<size_t>(picture->w) * picture->format->BytesPerPixel;
    const size_t bytes = rowBytes * static_cast<size_t>(picture->h);
    bool same = snapshot.w == picture->w && snapshot.h == picture->h && snapshot.pixels.size() == bytes;
    if (SDL_LockSurface(picture) != 0) return nextVersion++;  // unreadable: taken as changed
    const Uint8* rows = static_cast<const Uint8*>(picture->pixels);
    for (int y = 0; same && y < picture->h; ++y)
        same = memcmp(&snapshot.pixels[static_cast<size_t>(y) * rowBytes], rows + y * picture->pitch, rowBytes) == 0;
    if (!same) {
        snapshot.w = picture->w;
        snapshot.h = picture->h;
        snapshot.pixels.resize(bytes);
        for (int y = 0; y < picture->h; ++y)
            memcpy(&snapshot.pixels[static_cast<size_t>(y) * rowBytes], rows + y * picture->pitch, rowBytes);
        snapshot.version = nextVersion++;
    }
    SDL_UnlockSurface(picture);
    return snapshot.version;
}
