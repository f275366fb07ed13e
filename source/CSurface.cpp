#include "CSurface.h"

#include <SDL_image.h>
#include <cstdio>

#include "gEngine.h"

std::vector<SDL_Surface*> CSurface::SurfaceList;
Uint32 CSurface::screenColor = 0;

bool CSurface::loadSurfaces(std::vector<std::string> names) {
    for (const std::string& name : names) {
        SDL_Surface* loaded = IMG_Load(name.c_str());
        if (!loaded) {
            fprintf(stderr, "Error: Tried to load %s.  Surface returned NULL", name.c_str());
            return false;
        }
        printf("Loaded %s\n", name.c_str());
        SurfaceList.push_back(toDisplayFormat(loaded));
    }
    if (SDL_Surface* screen = slot(0)) screenColor = SDL_MapRGB(screen->format, 0, 0, 0);
    return true;
}

SDL_Surface* CSurface::toDisplayFormat(SDL_Surface* loaded) {
    if (!loaded) return nullptr;
    SDL_Surface* converted = SDL_DisplayFormatAlpha(loaded);
    SDL_FreeSurface(loaded);
    return converted;
}

bool CSurface::OnDraw(SDL_Surface* dest, SDL_Surface* src, int x, int y, SDL_Rect* clip) {
    if (!dest || !src) {
        fputs("Error drawing surfaces: One or more surfaces registered as NULL", stderr);
        return false;
    }
    SDL_Rect where;
    where.x = static_cast<Sint16>(x);
    where.y = static_cast<Sint16>(y);
    where.w = 0;
    where.h = 0;
    if (clip) {
        SDL_Rect source = *clip;  // the blit shrinks its rectangles; the caller's clip stays as it was
        SDL_UpperBlit(src, &source, dest, &where);
    } else {
        SDL_UpperBlit(src, nullptr, dest, &where);
    }
    return true;
}

bool CSurface::OnDraw(int dest, int src, int x, int y, SDL_Rect* clip) {
    return OnDraw(slot(dest), slot(src), x, y, clip);
}

bool CSurface::OnDraw(SDL_Surface* dest, int src, int x, int y, SDL_Rect* clip) {
    return OnDraw(dest, slot(src), x, y, clip);
}

bool CSurface::OnDraw(int dest, SDL_Surface* src, int x, int y, SDL_Rect* clip) {
    return OnDraw(slot(dest), src, x, y, clip);
}

SDL_Surface* CSurface::slot(int index) {
    if (index < 0 || static_cast<size_t>(index) >= SurfaceList.size()) return nullptr;
    return SurfaceList[static_cast<size_t>(index)];
}

void CSurface::clearScreen() {
    SDL_Surface* screen = slot(0);
    SDL_Rect all;
    all.x = 0;
    all.y = 0;
    all.w = static_cast<Uint16>(resolutionX);
    all.h = static_cast<Uint16>(resolutionY);
    if (!screen || SDL_FillRect(screen, &all, screenColor) != 0) fputs("Clear Screen Failed.", stderr);
}

void CSurface::setScreenColor(int red, int green, int blue) {
    SDL_Surface* screen = slot(0);
    if (!screen) return;
    screenColor = SDL_MapRGB(screen->format, static_cast<Uint8>(red), static_cast<Uint8>(green),
                             static_cast<Uint8>(blue));
}

bool CSurface::flip() {
    SDL_Surface* screen = slot(0);
    if (!screen || SDL_Flip(screen) != 0) {
        fputs("Error flipping surface!", stderr);
        return true;
    }
    return false;
}

SDL_Surface* CSurface::OnLoad(const char* file) { return toDisplayFormat(IMG_Load(file)); }

void CSurface::cleanUp() {
    for (size_t i = 0; i < SurfaceList.size(); ++i) {
        // The window surface belongs to SDL; SDL_Quit releases it.
        if (i > 0) SDL_FreeSurface(SurfaceList[i]);
    }
    SurfaceList.clear();
}

namespace {

Uint32 bigEndian32(const Uint8* bytes) {
    return (Uint32(bytes[0]) << 24) | (Uint32(bytes[1]) << 16) | (Uint32(bytes[2]) << 8) | Uint32(bytes[3]);
}

// Reads width and height from the IHDR chunk, which must follow the signature.
bool pngSizeIsSane(SDL_RWops* stream) {
    const int start = SDL_RWtell(stream);
    Uint8 header[24];
    const bool read = SDL_RWread(stream, header, 1, sizeof header) == static_cast<int>(sizeof header);
    SDL_RWseek(stream, start, RW_SEEK_SET);
    if (!read || header[12] != 'I' || header[13] != 'H' || header[14] != 'D' || header[15] != 'R') return false;
    const Uint32 width = bigEndian32(header + 16);
    const Uint32 height = bigEndian32(header + 20);
    return width >= 1 && height >= 1 && width <= static_cast<Uint32>(CSurface::maxPngSide) &&
           height <= static_cast<Uint32>(CSurface::maxPngSide);
}

}  // namespace

SDL_Surface* CSurface::loadPNG(SDL_RWops* stream) {
    if (!stream) return nullptr;
    SDL_Surface* image = nullptr;
    if (IMG_isPNG(stream) && pngSizeIsSane(stream)) image = IMG_LoadPNG_RW(stream);
    SDL_RWclose(stream);
    return image;
}

SDL_Surface* CSurface::loadPNGFile(const char* path) { return loadPNG(SDL_RWFromFile(path, "rb")); }
