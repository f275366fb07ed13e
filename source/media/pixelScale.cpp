#include "pixelScale.h"

#include <algorithm>
#include <cstring>

namespace {

Uint32* row(SDL_Surface* surface, int y) {
    return reinterpret_cast<Uint32*>(static_cast<Uint8*>(surface->pixels) + y * surface->pitch);
}

}  // namespace

namespace pixelScale {

bool enlarge(SDL_Surface* from, SDL_Surface* to, int factor) {
    if (!from || !to || factor < 1 || from->format->BytesPerPixel != 4 || to->format->BytesPerPixel != 4) return false;
    const int width = std::min(from->w, to->w / factor);
    const int height = std::min(from->h, to->h / factor);
    if (SDL_LockSurface(from) != 0) return false;
    if (SDL_LockSurface(to) != 0) {
        SDL_UnlockSurface(from);
        return false;
    }
    const size_t rowBytes = static_cast<size_t>(width) * factor * sizeof(Uint32);
    for (int y = 0; y < height; ++y) {
        const Uint32* source = row(from, y);
        Uint32* first = row(to, y * factor);
        // One row is widened pixel by pixel; the rows under it are copies of it.
        if (factor == 2) {
            for (int x = 0; x < width; ++x) first[2 * x] = first[2 * x + 1] = source[x];
        } else {
            Uint32* out = first;
            for (int x = 0; x < width; ++x)
                for (int k = 0; k < factor; ++k) *out++ = source[x];
        }
        for (int k = 1; k < factor; ++k) memcpy(row(to, y * factor + k), first, rowBytes);
    }
    SDL_UnlockSurface(to);
    SDL_UnlockSurface(from);
    return true;
}

}  // namespace pixelScale
