// The text renderer: FNT_Generate on any bytes and lengths, drawing into a
// buffer of exactly the extent it measured, and FNT_RenderMax on the same.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "spf.h"

namespace {

void drawWithin(const char* text, unsigned int length) {
    const FNT_Extent extent = FNT_Generate(text, length, 0, nullptr);
    if ((extent.width == 0) != (extent.height == 0) && extent.width != 0) abort();
    if (extent.width == 0 || static_cast<uint64_t>(extent.width) * extent.height > (1u << 24)) return;
    std::vector<Uint8> pixels(static_cast<size_t>(extent.width) * extent.height);
    const FNT_Extent drawn = FNT_Generate(text, length, extent.width, pixels.data());
    if (drawn.width != extent.width || drawn.height != extent.height) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 16)) return 0;
    const char* text = reinterpret_cast<const char*>(data);
    drawWithin(text, static_cast<unsigned int>(size));
    // A length short of the bytes, as callers that cut a line do.
    if (size > 0) drawWithin(text, static_cast<unsigned int>(data[0] % size));

    SDL_Color ink = {255, 255, 255, 0};
    FNT_RenderMax(text, static_cast<unsigned int>(size), ink);
    return 0;
}
