#include "spf.h"

#include <cstring>

#include "font.h"

FNT_Extent FNT_Generate(const char* text, unsigned int length, unsigned int pitch, Uint8* pixels) {
    const unsigned char* font = FNT_GetFont();
    Uint32 column = 0, line = 0, width = 0, height = 0;
    for (unsigned int i = 0; i < length; ++i) {
        const unsigned char ch = static_cast<unsigned char>(text[i]);
        if (ch == 0) break;
        if (ch == '\t') {
            column = column + 4 - (column % 4);
        } else if (ch == '\n') {
            ++line;
            column = 0;
        } else if (ch == '\r') {
            continue;
        } else {
            ++column;
            if (pitch != 0) {
                const Uint32 x = (column - 1) * 8;
                const Uint32 y = line * 8;
                const unsigned char* glyph = font + 8 * ch;
                for (Uint32 row = 0; row < 8; ++row) {
                    for (Uint32 bit = 0; bit < 8; ++bit) {
                        if (glyph[row] & (0x80 >> bit)) pixels[(y + row) * pitch + x + bit] = 1;
                    }
                }
            }
        }
        if (column * 8 > width) width = column * 8;
        if ((line + 1) * 8 > height) height = (line + 1) * 8;
    }
    return FNT_Extent{width, height};
}

SurfacePtr FNT_RenderMax(const char* text, unsigned int length, SDL_Color colour) {
    SDL_Color background;
    background.r = static_cast<Uint8>((colour.r + 126) % 255);
    background.g = static_cast<Uint8>((colour.g + 126) % 255);
    background.b = static_cast<Uint8>((colour.b + 126) % 255);
    background.unused = 0;

    const FNT_Extent extent = FNT_Generate(text, length, 0, nullptr);
    if (extent.width > 0xFFFF || extent.height > 0xFFFF) return nullptr;  // beyond what a surface can describe
    SurfacePtr owned(
        SDL_CreateRGBSurface(0, static_cast<int>(extent.width), static_cast<int>(extent.height), 8, 0, 0, 0, 0));
    SDL_Surface* surface = owned.get();
    if (!surface) return nullptr;
    SDL_SetColorKey(surface, SDL_SRCCOLORKEY, 0);
    SDL_Color palette[2] = {background, colour};
    SDL_SetColors(surface, palette, 0, 2);

    if (surface->w > 0 && surface->h > 0) {
        const bool mustLock = SDL_MUSTLOCK(surface);
        if (mustLock) SDL_LockSurface(surface);
        FNT_Generate(text, length, surface->pitch, static_cast<Uint8*>(surface->pixels));
        if (mustLock) SDL_UnlockSurface(surface);
    }
    return owned;
}

SurfacePtr FNT_Render(const char* text, SDL_Color colour) {
    return FNT_RenderMax(text, static_cast<unsigned int>(strlen(text)), colour);
}
