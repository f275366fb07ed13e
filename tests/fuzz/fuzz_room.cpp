// Room definition files: bytes become a room file read by loadARoom, which
// decodes its icon through loadSurfaceFromBase64; input that cannot be XML
// also goes to loadSurfaceFromBase64 on its own, as icon text.
#include <cstdint>
#include <cstring>
#include <string>

#include "RoomDefs.h"
#include "fuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_support::openHeadlessScreen();
    if (size > 0 && !memchr(data, '<', size)) {
        const std::string text(reinterpret_cast<const char*>(data), size);
        loadSurfaceFromBase64(text.c_str());
        return 0;
    }
    fuzz_support::writeFile("fuzz-room.xml", data, size);
    loadARoom("fuzz-room.xml");
    clearRoomDefs();
    return 0;
}
