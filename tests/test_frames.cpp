// The tower screen's frames, pixel for pixel: each scene is drawn in the test
// window and compared with the picture recorded before the drawing code was
// tuned for speed, so that no speed-up may change what a player sees.
// The pictures were written by `tools/bench.sh --capture`; rerun it only when
// a change to the look is meant.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "CSurface.h"
#include "Elevator.h"
#include "Lobby.h"
#include "Map.h"
#include "RoomDefs.h"
#include "Tile.h"
#include "frameScenes.h"
#include "game.h"
#include "gameSettings.h"
#include "keyModifiers.h"
#include "testSupport.h"
#include "ticks.h"

namespace frame_scenes {

// Test names and failures show the scene by name.
void PrintTo(const Scene& scene, std::ostream* out) { *out << scene.name; }

}  // namespace frame_scenes

namespace {

using frame_scenes::Scene;

struct SurfaceOwner {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};

void restoreViewSettings() {
    gameSettings* settings = gameSettings::Instance();
    if (settings->isGridOn()) settings->toggleGrid();
    if (!settings->isCeilingVisible()) settings->toggleCeilings();
    if (!settings->areRoomsOn()) settings->toggleRooms();
}

class Frames : public ::testing::TestWithParam<Scene> {
protected:
    void TearDown() override {
        frame_scenes::endGame();
        restoreViewSettings();
        ticks::thaw();
        keyModifiers::release();
    }
};

TEST_P(Frames, MatchTheRecordedPicturePixelForPixel) {
    const Scene& scene = GetParam();
    const std::string name = frame_scenes::referenceName(scene, 800, 600);
    std::unique_ptr<SDL_Surface, SurfaceOwner> reference(
        IMG_Load((std::string(frame_scenes::referenceDirectory) + "/" + name + ".png").c_str()));
    ASSERT_NE(nullptr, reference) << "the reference picture " << name << ".png should load";

    frame_scenes::renderScene(scene);
    SDL_Surface* screen = CSurface::slot(0);
    ASSERT_EQ(800, screen->w);
    ASSERT_EQ(600, screen->h);

    const frame_scenes::FrameDifference difference = frame_scenes::compareFrames(screen, reference.get());
    ASSERT_FALSE(difference.sizesDiffer);
    EXPECT_EQ(0, difference.pixels) << difference.pixels << " pixels differ, by up to " << difference.largest
                                    << " in a channel; the first at (" << difference.firstX << ", "
                                    << difference.firstY << "). A change of look that is meant (new pictures, "
                                    << "new rules) is recorded again with tools/bench.sh --capture";

    std::uint64_t recorded = 0;
    ASSERT_TRUE(frame_scenes::recordedHash(testing_support::readFile(frame_scenes::hashListName), name, recorded))
        << name << " should be listed in " << frame_scenes::hashListName;
    EXPECT_EQ(frame_scenes::hex(recorded), frame_scenes::hex(frame_scenes::hashPixels(screen)));
}

TEST_P(Frames, AreTheSameWhenDrawnAgain) {
    // Drawing may keep state between frames (caches, encoded sheets); a
    // scene drawn after another must come out as when drawn first.
    const Scene& scene = GetParam();
    frame_scenes::renderScene(scene);
    const std::uint64_t first = frame_scenes::hashPixels(CSurface::slot(0));
    const std::vector<Scene>& scenes = frame_scenes::all();
    size_t index = 0;
    while (index < scenes.size() && std::string(scenes[index].name) != scene.name) ++index;
    const Scene& other = scenes[(index + 3) % scenes.size()];
    frame_scenes::renderScene(other);
    frame_scenes::renderScene(scene);
    EXPECT_EQ(frame_scenes::hex(first), frame_scenes::hex(frame_scenes::hashPixels(CSurface::slot(0))));
}

std::string sceneName(const ::testing::TestParamInfo<Scene>& info) {
    std::string name = info.param.name;
    for (char& c : name)
        if (c == '-') c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(TowerScenes, Frames, ::testing::ValuesIn(frame_scenes::all()), sceneName);

// The pictures above are only worth comparing if the tower really holds
// what the scenes promise.
class FullTowerScene : public ::testing::Test {
protected:
    void TearDown() override {
        frame_scenes::endGame();
        ticks::thaw();
        keyModifiers::release();
    }
};

TEST_F(FullTowerScene, FloorsEveryCellOfTheLowerStoreysAndRoofsTheTop) {
    frame_scenes::startGame(true);
    Map& map = Game::Instance()->getMap();
    for (int z = 0; z < Map::capacityZ; ++z)
        for (int x = 0; x < Map::capacityX; ++x)
            for (int y = 0; y < Map::capacityY; ++y) {
                const Tile* tile = map.tileAt(x, y, z);
                ASSERT_NE(nullptr, tile);
                if (z <= 8) {
                    EXPECT_TRUE(tile->hasFloor()) << x << " " << y << " " << z;
                } else {
                    EXPECT_EQ(Tile::ROOF, tile->getType()) << x << " " << y;
                }
            }
}

TEST_F(FullTowerScene, HasALobbyAndEveryKindOfRoomAndAnElevatorOnEveryFlooredStorey) {
    frame_scenes::startGame(true);
    Map& map = Game::Instance()->getMap();
    ASSERT_NE(nullptr, map.getLobby());
    for (int z = 0; z <= 8; ++z) {
        bool kinds[5] = {false, false, false, false, false};
        bool elevator = false;
        for (int x = 0; x < Map::capacityX; ++x)
            for (int y = 0; y < Map::capacityY; ++y) {
                Room* room = map.roomAt(x, y, z);
                if (!room) continue;
                if (dynamic_cast<Elevator*>(room)) {
                    elevator = true;
                } else if (auto* basic = dynamic_cast<BasicRoom*>(room)) {
                    if (basic->getRoomType() >= 0 && basic->getRoomType() < 5) kinds[basic->getRoomType()] = true;
                }
            }
        EXPECT_TRUE(elevator) << "storey " << z;
        for (int kind = 2; kind < 5; ++kind) EXPECT_TRUE(kinds[kind]) << "storey " << z << " kind " << kind;
        if (z == 0) {
            EXPECT_TRUE(kinds[0]) << "the lobby on the ground";
        }
    }
}

// Pictures with an alpha channel reach the window through encoded copies of
// the clipped part; whatever the clip and position, the window must show what
// a blit straight from the sheet shows on an ordinary surface.
// Made straight in the window's format with an alpha channel, as the
// loader's conversion leaves pictures.
SDL_Surface* makeSheet(int width, int height, Uint8 alphaFloor) {
    const SDL_PixelFormat* window = CSurface::slot(0)->format;
    SDL_Surface* image = SDL_CreateRGBSurface(SDL_SWSURFACE | SDL_SRCALPHA, width, height, 32, window->Rmask,
                                              window->Gmask, window->Bmask, 0xFF000000);
    if (!image) return nullptr;
    SDL_LockSurface(image);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            // Runs of transparent, translucent and opaque pixels in every row.
            const int band = (x / 3 + y) % 4;
            const Uint8 alpha = band == 0 ? 0 : band == 1 ? 255 : static_cast<Uint8>(alphaFloor + (x * 37 + y * 11) % 200);
            const Uint32 pixel = SDL_MapRGBA(image->format, static_cast<Uint8>(x * 9), static_cast<Uint8>(y * 13),
                                             static_cast<Uint8>(200 - x), alpha);
            static_cast<Uint32*>(image->pixels)[y * image->pitch / 4 + x] = pixel;
        }
    SDL_UnlockSurface(image);
    return image;
}

void paintBackground(SDL_Surface* surface) {
    SDL_LockSurface(surface);
    for (int y = 0; y < surface->h; ++y)
        for (int x = 0; x < surface->w; ++x) {
            static_cast<Uint32*>(surface->pixels)[y * surface->pitch / 4 + x] =
                SDL_MapRGB(surface->format, static_cast<Uint8>(x), static_cast<Uint8>(y), static_cast<Uint8>(x ^ y));
        }
    SDL_UnlockSurface(surface);
}

// An ordinary surface of the window's size and format: drawing onto it takes
// the sheet's own path, which the window's copies must match.
SDL_Surface* plainLike(const SDL_Surface* screen) {
    const SDL_PixelFormat* format = screen->format;
    return SDL_CreateRGBSurface(SDL_SWSURFACE, screen->w, screen->h, 32, format->Rmask, format->Gmask, format->Bmask, 0);
}

TEST(PictureCopies, DrawOnTheWindowWhatTheSheetDrawsElsewhere) {
    SDL_Surface* screen = CSurface::slot(0);
    ASSERT_NE(nullptr, screen);
    std::unique_ptr<SDL_Surface, SurfaceOwner> sheet(makeSheet(96, 40, 1));
    ASSERT_NE(nullptr, sheet);
    std::unique_ptr<SDL_Surface, SurfaceOwner> plain(plainLike(screen));
    ASSERT_NE(nullptr, plain);
    paintBackground(screen);
    paintBackground(plain.get());

    SDL_Rect clips[] = {{0, 0, 96, 40}, {7, 3, 20, 11}, {64, 8, 32, 32}, {90, 0, 20, 20}, {-4, -4, 30, 30}};
    const int places[][2] = {{100, 100}, {-9, -5}, {790, 595}, {400, -30}, {-50, 580}, {250, 250}};
    for (SDL_Rect& clip : clips)
        for (const auto& place : places) {
            // The same clip drawn twice over itself, as frames do.
            for (int repeat = 0; repeat < 2; ++repeat) {
                ASSERT_TRUE(CSurface::OnDraw(screen, sheet.get(), place[0], place[1], &clip));
                ASSERT_TRUE(CSurface::OnDraw(plain.get(), sheet.get(), place[0], place[1], &clip));
            }
        }
    ASSERT_TRUE(CSurface::OnDraw(screen, sheet.get(), 600, 300, nullptr));
    ASSERT_TRUE(CSurface::OnDraw(plain.get(), sheet.get(), 600, 300, nullptr));
    EXPECT_EQ(clips[1].w, 20) << "the caller's clip stays as it was";

    const frame_scenes::FrameDifference difference = frame_scenes::compareFrames(screen, plain.get());
    EXPECT_EQ(0, difference.pixels) << "up to " << difference.largest << " apart, first at (" << difference.firstX
                                    << ", " << difference.firstY << ")";
}

TEST(PictureCopies, FollowASheetFreedAndMadeAgain) {
    // A new sheet may be given the address of one freed before; what is
    // drawn must be the new sheet's picture, never a copy of the old one.
    SDL_Surface* screen = CSurface::slot(0);
    ASSERT_NE(nullptr, screen);
    SDL_Rect clip = {2, 2, 16, 16};
    for (int round = 0; round < 6; ++round) {
        const Uint8 floor = round % 2 ? 60 : 1;
        std::unique_ptr<SDL_Surface, SurfaceOwner> sheet(makeSheet(32, 32, floor));
        ASSERT_NE(nullptr, sheet);
        std::unique_ptr<SDL_Surface, SurfaceOwner> plain(plainLike(screen));
        ASSERT_NE(nullptr, plain);
        paintBackground(screen);
        paintBackground(plain.get());
        CSurface::OnDraw(screen, sheet.get(), 10, 10, &clip);
        CSurface::OnDraw(plain.get(), sheet.get(), 10, 10, &clip);
        EXPECT_EQ(0, frame_scenes::compareFrames(screen, plain.get()).pixels) << "round " << round;
    }
}

}  // namespace
