#ifndef ZENTROVA_SPF_H
#define ZENTROVA_SPF_H

#include <SDL.h>

#include "CSurface.h"

// Width and height of a laid-out text, in pixels.
struct FNT_Extent {
    Uint32 width;
    Uint32 height;
};

// Lays out text (tabs every 4 columns, newlines, carriage returns ignored,
// a 0 byte ends it) and, when pitch is not 0, sets ink pixels to 1 in the
// 8-bit target. The target must hold the extent that pitch 0 reports.
FNT_Extent FNT_Generate(const char* text, unsigned int length, unsigned int pitch, Uint8* pixels);

// A new 8-bit surface holding the text in one colour over a colour-keyed
// background. Null when it cannot be created.
SurfacePtr FNT_RenderMax(const char* text, unsigned int length, SDL_Color colour);
SurfacePtr FNT_Render(const char* text, SDL_Color colour);

#endif
