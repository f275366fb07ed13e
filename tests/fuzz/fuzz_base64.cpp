// Base64 text from room files: the bounded decoder into a buffer of a size
// the input chooses, the allocating decoder, and a round trip of what
// decodes cleanly.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base64.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > (1u << 20)) return 0;
    const char* text = reinterpret_cast<const char*>(data + 1);
    const unsigned int length = static_cast<unsigned int>(size - 1);

    // Exactly as much room as the first byte leaves, so any write past it is
    // caught; sometimes too little, sometimes more than enough.
    const unsigned int ample = 3 * (length / 4) + 3;
    const unsigned int cut = data[0] % 8;
    const unsigned int room = ample > cut ? ample - cut : 0;
    std::vector<char> bounded(room);
    unsigned int written = room;
    const bool whole = base64_decode(text, length, room ? bounded.data() : nullptr, &written);
    if (written > room) abort();

    char* allocated = nullptr;
    unsigned int allocatedLength = 0;
    const bool allocatedWhole = base64_decode_alloc(text, length, &allocated, &allocatedLength);
    if (allocatedWhole != whole && allocated) abort();
    if (allocatedWhole && allocated) {
        if (cut == 0 && allocatedLength != written) abort();
        if (allocatedLength > 0 && allocatedLength <= written && memcmp(allocated, bounded.data(), allocatedLength) != 0) abort();

        // What decodes cleanly encodes to text that decodes to the same bytes.
        char* again = nullptr;
        const unsigned int encodedLength = base64_encode_alloc(allocated, allocatedLength, &again);
        if (again) {
            char* back = nullptr;
            unsigned int backLength = 0;
            if (!base64_decode_alloc(again, encodedLength, &back, &backLength)) abort();
            if (back && (backLength != allocatedLength || memcmp(back, allocated, backLength) != 0)) abort();
            free(back);
        }
        free(again);
    }
    free(allocated);
    return 0;
}
