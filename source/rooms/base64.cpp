#include "base64.h"

#include <cstdlib>

namespace {

constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

struct DecodeTable {
    signed char value[256];
};

constexpr DecodeTable makeDecodeTable() {
    DecodeTable table{};
    for (int i = 0; i < 256; ++i) table.value[i] = -1;
    for (int i = 0; i < 64; ++i) table.value[static_cast<unsigned char>(alphabet[i])] = static_cast<signed char>(i);
    return table;
}

constexpr DecodeTable decodeTable = makeDecodeTable();

int valueOf(char ch) { return decodeTable.value[static_cast<unsigned char>(ch)]; }

unsigned char byteAt(char const* in, unsigned int i) { return static_cast<unsigned char>(in[i]); }

// Writes while room is left and counts what was written.
struct Output {
    char* out;
    unsigned int room;
    unsigned int written = 0;
    void put(int byte) {
        if (written < room) out[written++] = static_cast<char>(byte);
    }
};

}  // namespace

void base64_encode(char const* in, unsigned int inlen, char* out, unsigned int outlen) {
    unsigned int i = 0;
    auto emit = [&](char ch) {
        if (outlen == 0) return false;
        *out++ = ch;
        --outlen;
        return true;
    };
    while (inlen > 0) {
        const unsigned int b0 = byteAt(in, i);
        const unsigned int b1 = inlen > 1 ? byteAt(in, i + 1) : 0;
        const unsigned int b2 = inlen > 2 ? byteAt(in, i + 2) : 0;
        if (!emit(alphabet[b0 >> 2])) return;
        if (!emit(alphabet[((b0 << 4) | (b1 >> 4)) & 0x3f])) return;
        if (!emit(inlen > 1 ? alphabet[((b1 << 2) | (b2 >> 6)) & 0x3f] : '=')) return;
        if (!emit(inlen > 2 ? alphabet[b2 & 0x3f] : '=')) return;
        const unsigned int step = inlen < 3 ? inlen : 3;
        inlen -= step;
        i += step;
    }
    if (outlen > 0) *out = '\0';
}

unsigned int base64_encode_alloc(char const* in, unsigned int inlen, char** out) {
    const unsigned int groups = inlen / 3 + (inlen % 3 != 0 ? 1 : 0);
    const unsigned int needed = 4 * groups + 1;  // may wrap around for huge inputs
    if (needed < inlen) {
        *out = nullptr;
        return 0;
    }
    *out = static_cast<char*>(malloc(needed));
    if (!*out) return needed;
    base64_encode(in, inlen, *out, needed);
    return needed - 1;
}

bool isbase64(char ch) { return valueOf(ch) >= 0; }

bool base64_decode(char const* in, unsigned int inlen, char* out, unsigned int* outlen) {
    Output result{out, *outlen};
    unsigned int pos = 0;
    while (inlen - pos >= 2) {
        const unsigned int left = inlen - pos;
        const char c0 = in[pos], c1 = in[pos + 1];
        if (!isbase64(c0) || !isbase64(c1)) break;
        const int v0 = valueOf(c0), v1 = valueOf(c1);
        result.put(((v0 << 2) | (v1 >> 4)) & 0xff);
        if (left == 2) break;

        const char c2 = in[pos + 2];
        if (c2 == '=') {
            if (left != 4 || in[pos + 3] != '=') break;
            pos += 4;
            continue;
        }
        if (!isbase64(c2)) break;
        const int v2 = valueOf(c2);
        result.put(((v1 << 4) | (v2 >> 2)) & 0xff);
        if (left == 3) break;

        const char c3 = in[pos + 3];
        if (c3 == '=') {
            if (left != 4) break;
            pos += 4;
            continue;
        }
        if (!isbase64(c3)) break;
        result.put(((v2 << 6) | valueOf(c3)) & 0xff);
        pos += 4;
    }
    *outlen = result.written;
    return pos == inlen;
}

bool base64_decode_alloc(char const* in, unsigned int inlen, char** out, unsigned int* outlen) {
    const unsigned int needed = 3 * (inlen / 4) + 2;
    *out = static_cast<char*>(malloc(needed));
    if (!*out) return true;
    unsigned int length = needed;
    if (!base64_decode(in, inlen, *out, &length)) {
        free(*out);
        *out = nullptr;
        return false;
    }
    if (outlen) *outlen = length;
    return true;
}
