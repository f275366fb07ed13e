#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "CSurface.h"
#include "game.h"
#include "gEngine.h"

namespace {

// One dummy-driver window for the whole run, with the images of config.xml
// in their slots, as after the engine's start-up.
class HeadlessScreen : public ::testing::Environment {
public:
    void SetUp() override {
        gEngine engine;
        ASSERT_TRUE(engine.loadXMLSettings("config.xml")) << "config.xml at the repository root should load";
        // The suites play the classic tower unless they ask for the living one.
        Game::setLife(false);
        ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO | SDL_INIT_TIMER)) << SDL_GetError();
        SDL_Surface* screen = SDL_SetVideoMode(800, 600, 32, SDL_HWSURFACE | SDL_DOUBLEBUF);
        ASSERT_NE(nullptr, screen) << SDL_GetError();
        CSurface::setWindow(screen);
        ASSERT_TRUE(CSurface::loadSurfaces(engine.getRequiredFiles())) << "the images named in config.xml should load";
    }
    void TearDown() override {
        CSurface::cleanUp();
        SDL_Quit();
    }
};

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new HeadlessScreen);
    return RUN_ALL_TESTS();
}
