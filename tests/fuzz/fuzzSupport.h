#ifndef ZENTROVA_FUZZ_SUPPORT_H
#define ZENTROVA_FUZZ_SUPPORT_H

#include <cstddef>
#include <cstdint>
#include <string>

// Shared by the fuzz targets and by their replay under the normal build.
namespace fuzz_support {

// Once per process: a scratch directory that holds a link to the game's
// assets/ and becomes the working directory, so the loaders find their
// files by the same relative names as the game and nothing lands in the
// repository.
void enterScratchDirectory();

// Once per process, after enterScratchDirectory: a dummy-driver window of
// 800 x 600 with config.xml's images in their slots, as after start-up.
void openHeadlessScreen();

// Replaces a file in the scratch directory with the bytes given.
void writeFile(const std::string& path, const uint8_t* data, size_t size);

}  // namespace fuzz_support

#endif
