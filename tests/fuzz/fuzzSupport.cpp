#include "fuzzSupport.h"

#include <SDL.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "CSurface.h"
#include "RoomDefs.h"
#include "freshStart.h"
#include "gEngine.h"
#include "game.h"
#include "gui.h"

namespace fuzz_support {

namespace {

std::string scratch;

void removeScratch() {
    std::error_code ignored;
    // remove_all takes the link to assets/, never what it points at.
    if (!scratch.empty()) std::filesystem::remove_all(scratch, ignored);
}

// Leaves nothing behind for the leak checker that the game itself would free.
void closeHeadlessScreen() {
    freshStart::endGame();
    CSurface::cleanUp();
    SDL_Quit();
}

}  // namespace

void enterScratchDirectory() {
    if (!scratch.empty()) return;
    char name[] = "/tmp/zentrova-fuzz-XXXXXX";
    if (!mkdtemp(name)) {
        perror("mkdtemp");
        abort();
    }
    scratch = name;
    const std::string source = ZENTROVA_SOURCE_DIR;
    std::error_code failure;
    std::filesystem::create_directory_symlink(source + "/assets", scratch + "/assets", failure);
    std::filesystem::copy_file(source + "/config.xml", scratch + "/config.xml", failure);
    if (failure || chdir(scratch.c_str()) != 0) {
        fprintf(stderr, "cannot prepare %s: %s\n", scratch.c_str(), failure.message().c_str());
        abort();
    }
    atexit(removeScratch);
}

void openHeadlessScreen() {
    static bool open = false;
    if (open) return;
    open = true;
    enterScratchDirectory();
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    gEngine engine;
    SDL_Surface* screen = nullptr;
    if (engine.loadXMLSettings("config.xml") && SDL_Init(SDL_INIT_VIDEO) == 0) {
        screen = SDL_SetVideoMode(800, 600, 32, SDL_HWSURFACE | SDL_DOUBLEBUF);
    }
    if (!screen) {
        fprintf(stderr, "no headless screen: %s\n", SDL_GetError());
        abort();
    }
    CSurface::setWindow(screen);
    if (!CSurface::loadSurfaces(engine.getRequiredFiles())) abort();
    atexit(closeHeadlessScreen);
}

void writeFile(const std::string& path, const uint8_t* data, size_t size) {
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) {
        perror(path.c_str());
        abort();
    }
    if (size > 0 && fwrite(data, 1, size, file) != size) abort();
    fclose(file);
}

}  // namespace fuzz_support
