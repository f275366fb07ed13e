#include "pngWriter.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

struct FileCloser {
    void operator()(FILE* file) const { fclose(file); }
};

void putBigEndian(std::vector<Uint8>& out, Uint32 value) {
    out.push_back(static_cast<Uint8>(value >> 24));
    out.push_back(static_cast<Uint8>(value >> 16));
    out.push_back(static_cast<Uint8>(value >> 8));
    out.push_back(static_cast<Uint8>(value));
}

void putChunk(std::vector<Uint8>& out, const char* type, const std::vector<Uint8>& data) {
    putBigEndian(out, static_cast<Uint32>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
    putBigEndian(out, static_cast<Uint32>(crc));
}

int paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = abs(p - a), pb = abs(p - b), pc = abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

// Each row gets the filter whose output has the smallest sum of magnitudes,
// the usual rule of thumb for what deflate packs best.
void filterRows(const std::vector<Uint8>& raw, int width, int height, std::vector<Uint8>& out) {
    const size_t stride = static_cast<size_t>(width) * 3;
    std::vector<Uint8> zero(stride, 0), candidate(stride), best(stride);
    for (int y = 0; y < height; ++y) {
        const Uint8* row = raw.data() + y * stride;
        const Uint8* above = y > 0 ? raw.data() + (y - 1) * stride : zero.data();
        long bestScore = -1;
        Uint8 bestFilter = 0;
        for (Uint8 filter = 0; filter < 5; ++filter) {
            long score = 0;
            for (size_t i = 0; i < stride; ++i) {
                const int a = i >= 3 ? row[i - 3] : 0, b = above[i], c = i >= 3 ? above[i - 3] : 0;
                int predicted = 0;
                switch (filter) {
                case 1: predicted = a; break;
                case 2: predicted = b; break;
                case 3: predicted = (a + b) / 2; break;
                case 4: predicted = paeth(a, b, c); break;
                default: break;
                }
                candidate[i] = static_cast<Uint8>(row[i] - predicted);
                score += candidate[i] < 128 ? candidate[i] : 256 - candidate[i];
            }
            if (bestScore < 0 || score < bestScore) {
                bestScore = score;
                bestFilter = filter;
                best = candidate;
            }
        }
        out.push_back(bestFilter);
        out.insert(out.end(), best.begin(), best.end());
    }
}

}  // namespace

bool writePNG(SDL_Surface* surface, const std::string& path) {
    if (!surface) return false;
    const int width = surface->w, height = surface->h;
    std::vector<Uint8> raw(static_cast<size_t>(width) * height * 3);
    SDL_LockSurface(surface);
    const int bytes = surface->format->BytesPerPixel;
    for (int y = 0; y < height; ++y) {
        const Uint8* row = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch;
        for (int x = 0; x < width; ++x) {
            Uint32 value = 0;
            for (int b = 0; b < bytes; ++b) value |= Uint32(row[x * bytes + b]) << (8 * b);
            Uint8* rgb = &raw[(static_cast<size_t>(y) * width + x) * 3];
            SDL_GetRGB(value, surface->format, &rgb[0], &rgb[1], &rgb[2]);
        }
    }
    SDL_UnlockSurface(surface);

    std::vector<Uint8> filtered;
    filtered.reserve(raw.size() + height);
    filterRows(raw, width, height, filtered);
    uLongf packedSize = compressBound(static_cast<uLong>(filtered.size()));
    std::vector<Uint8> packed(packedSize);
    if (compress2(packed.data(), &packedSize, filtered.data(), static_cast<uLong>(filtered.size()), 9) != Z_OK) {
        return false;
    }
    packed.resize(packedSize);

    std::vector<Uint8> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<Uint8> header;
    putBigEndian(header, static_cast<Uint32>(width));
    putBigEndian(header, static_cast<Uint32>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, adaptive filters, no interlace
    putChunk(file, "IHDR", header);
    putChunk(file, "IDAT", packed);
    putChunk(file, "IEND", {});

    std::unique_ptr<FILE, FileCloser> out(fopen(path.c_str(), "wb"));
    if (!out) return false;
    return fwrite(file.data(), 1, file.size(), out.get()) == file.size();
}
