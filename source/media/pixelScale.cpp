#include "pixelScale.h"

#include <algorithm>
#include <cstring>

namespace {

Uint32* row(SDL_Surface* surface, int y) {
    return reinterpret_cast<Uint32*>(static_cast<Uint8*>(surface->pixels) + y * surface->pitch);
}

// With the factor known when compiling, the compiler turns the inner loop
// into a few wide stores.
template <int factor>
void widen(const Uint32* from, Uint32* to, int width) {
    for (int x = 0; x < width; ++x)
        for (int k = 0; k < factor; ++k) to[factor * x + k] = from[x];
}

void widen(const Uint32* from, Uint32* to, int width, int factor) {
    switch (factor) {
    case 1: memcpy(to, from, static_cast<size_t>(width) * sizeof(Uint32)); break;
    case 2: widen<2>(from, to, width); break;
    case 3: widen<3>(from, to, width); break;
    case 4: widen<4>(from, to, width); break;
    default:
        for (int x = 0; x < width; ++x) std::fill_n(to + factor * x, factor, from[x]);
        break;
    }
}

}  // namespace

namespace pixelScale {

bool enlarge(SDL_Surface* from, SDL_Surface* to, int factor, const SDL_Rect* area) {
    if (!from || !to || factor < 1 || from->format->BytesPerPixel != 4 || to->format->BytesPerPixel != 4) return false;
    const int left = area ? std::max(0, static_cast<int>(area->x)) : 0;
    const int top = area ? std::max(0, static_cast<int>(area->y)) : 0;
    const int right = std::min(area ? area->x + static_cast<int>(area->w) : from->w, std::min(from->w, to->w / factor));
    const int bottom = std::min(area ? area->y + static_cast<int>(area->h) : from->h, std::min(from->h, to->h / factor));
    const int width = right - left;
    if (width <= 0 || bottom <= top) return true;
    if (SDL_LockSurface(from) != 0) return false;
    if (SDL_LockSurface(to) != 0) {
        SDL_UnlockSurface(from);
        return false;
    }
    const size_t rowBytes = static_cast<size_t>(width) * factor * sizeof(Uint32);
    for (int y = top; y < bottom; ++y) {
        // One row is widened pixel by pixel; the rows under it are copies of it.
        Uint32* first = row(to, y * factor) + left * factor;
        widen(row(from, y) + left, first, width, factor);
        for (int k = 1; k < factor; ++k) memcpy(row(to, y * factor + k) + left * factor, first, rowBytes);
    }
    SDL_UnlockSurface(to);
    SDL_UnlockSurface(from);
    return true;
}

}  // namespace pixelScale
