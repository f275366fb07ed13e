#ifndef ZENTROVA_BENCH_PNG_WRITER_H
#define ZENTROVA_BENCH_PNG_WRITER_H

#include <SDL.h>

#include <string>

// Writes the red, green and blue of a surface as an 8-bit RGB PNG, so that
// the reference frames can be stored small and read back with SDL_image.
bool writePNG(SDL_Surface* surface, const std::string& path);

#endif
