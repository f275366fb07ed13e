#ifndef ZENTROVA_PIXELSCALE_H
#define ZENTROVA_PIXELSCALE_H

#include <SDL.h>

// Pixel art stays sharp only when every pixel becomes a whole square of
// pixels: no blending, no fractions.
namespace pixelScale {

// Draws every pixel of from (of its area, when given) as a factor x factor
// square of to, at factor times its place; what does not fit is left out.
// Both surfaces hold 32-bit pixels of one format. False when they do not.
bool enlarge(SDL_Surface* from, SDL_Surface* to, int factor, const SDL_Rect* area = nullptr);

}  // namespace pixelScale

#endif
