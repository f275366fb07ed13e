// The settings file: bytes become a settings file read by gEngine::loadXMLSettings.
#include <cstdint>

#include "fuzzSupport.h"
#include "gEngine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_support::enterScratchDirectory();
    fuzz_support::writeFile("fuzz-settings.xml", data, size);
    gEngine engine;
    engine.loadXMLSettings("fuzz-settings.xml");
    return 0;
}
