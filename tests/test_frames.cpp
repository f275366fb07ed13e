// The tower screen's frames. The drawing keeps encoded copies of the
// pictures for speed; every scene must look the same with them and without
// them. One scene is also compared with its recorded picture, to notice a
// change of the art or of the drawing as a whole; rerun
// `tools/bench.sh --capture` only when a change to the look is meant.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <string>

#include "CSurface.h"
#include "Clock.h"
#include "Elevator.h"
#include "FramePainter.h"
#include "Map.h"
#include "Tile.h"
#include "allocationCount.h"
#include "frameScenes.h"
#include "game.h"
#include "gameSettings.h"
#include "gui.h"
#include "keyModifiers.h"
#include "protocol.h"
#include "ticks.h"

namespace frame_scenes {

// Test names and failures show the scene by name.
void PrintTo(const Scene& scene, std::ostream* out) { *out << scene.name; }

}  // namespace frame_scenes

namespace {

using frame_scenes::Scene;

// Leaves the game ended and the view settings, time and keys as other suites expect them.
void endScene() {
    frame_scenes::endGame();
    gameSettings* settings = &Game::Instance()->getView();
    if (settings->isGridOn()) settings->toggleGrid();
    if (!settings->isCeilingVisible()) settings->toggleCeilings();
    if (!settings->areRoomsOn()) settings->toggleRooms();
    ticks::thaw();
    keyModifiers::release();
}

class Frames : public ::testing::TestWithParam<Scene> {
protected:
    void TearDown() override { endScene(); }
};

TEST_P(Frames, AreTheSameWithAndWithoutThePictureCopies) {
    const frame_scenes::FrameDifference difference = frame_scenes::compareWithoutPictureCopies(GetParam());
    EXPECT_TRUE(frame_scenes::same(difference))
        << frame_scenes::describe(difference) << " between the frames drawn with the picture copies and without";
}

// The tower screen's frames painted where they changed, each compared with
// the same frame then painted whole over it: any change the painting missed
// leaves pixels of the frame before, and the two differ.
class ChangedAgainstWhole {
public:
    explicit ChangedAgainstWhole(const point& camera) { picture.camera = camera; }
    point& camera() { return picture.camera; }
    // One frame of the screen; the faults so far, one line each.
    void frame(const char* step) {
        frame_scenes::paintFrame(changed, picture);
        const frame_scenes::FrameDifference difference = frame_scenes::compareWithWhole(picture);
        if (!frame_scenes::same(difference)) faults += std::string(step) + ": " + frame_scenes::describe(difference) + "\n";
    }
    // Twice, as the hidden walls follow the cursor one move late.
    void pointAt(int x, int y) {
        const point& at = picture.camera;
        for (int i = 0; i < 2; ++i)
            Game::Instance()->setCursor(at, at.x + 64 * (x - y), at.y + 32 * (x + y) + 32 - 64 * at.z);
    }
    const FramePainter& painter() const { return changed; }
    std::string faults;

private:
    frame_scenes::TowerPicture picture;
    FramePainter changed{FramePainter::Mode::CHANGED};
};

TEST_P(Frames, PaintedWhereTheyChangedAreTheSameAsPaintedWhole) {
    const Scene& scene = GetParam();
    frame_scenes::startGame(scene.fullTower, scene.night, scene.terraces);
    ChangedAgainstWhole proof(frame_scenes::viewScene(scene));
    Game* game = Game::Instance();
    GUI* gui = GUI::Instance();
    proof.frame("the first frame");
    EXPECT_EQ(1u, proof.painter().lastRects().size()) << "the first frame is sent whole";
    proof.frame("the same again");
    EXPECT_TRUE(proof.painter().lastRects().empty()) << "a frame that changed nothing sent something";
    const int cells[][2] = {{8, 12}, {9, 12}, {9, 13}, {3, 3}, {19, 19}, {0, 0}, {12, 5}};
    for (const auto& cell : cells) {
        proof.pointAt(cell[0], cell[1]);
        proof.frame("the cursor moved");
    }
    EXPECT_FALSE(proof.painter().lastRects().empty());
    EXPECT_LT(proof.painter().lastPixels(), resolutionX * resolutionY / 2) << "a cursor's move sends a part";
    keyModifiers::hold(KMOD_LALT);  // floors anywhere, as in the scenes
    game->buildEmptyFloor(proof.camera().z);
    proof.frame("a floor built");
    game->bulldoze(proof.camera().z);
    proof.frame("bulldozed");
    keyModifiers::release();
    game->undo();
    proof.frame("undone");
    game->getView().toggleGrid();
    proof.frame("the grid switched");
    game->getView().toggleRooms();
    proof.frame("the rooms switched off");
    game->getView().toggleRooms();
    game->getView().toggleCeilings();
    proof.frame("the rooms back, the ceilings switched");
    game->getView().toggleCeilings();
    game->getView().toggleGrid();
    ticks::advance(2000);
    proof.frame("time passed");
    gui->setMessageText("A message in the status line");
    proof.frame("a message");
    gui->createWindow("Really?", 1, 12, 2, 1);
    proof.frame("a window opened");
    gui->killWindow();
    proof.frame("the window closed");
    game->showFinances();
    proof.frame("the finances shown");
    gui->closePanel();
    proof.frame("the finances closed");
    // A few pixels, so that most pictures stay on the blocks they covered.
    proof.camera().y = static_cast<short>(proof.camera().y - 3);
    proof.frame("the camera moved up");
    proof.camera().x = static_cast<short>(proof.camera().x + 5);
    proof.frame("the camera moved across");
    proof.camera().z = static_cast<short>(proof.camera().z > 0 ? proof.camera().z - 1 : 1);
    proof.frame("another storey");
    game->getClock().set(59, scene.night ? 5 : 16, 1, 1, 1);
    ticks::advance(60000);
    proof.frame("the sky's colour changed");
    EXPECT_EQ("", proof.faults);
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
    void TearDown() override { endScene(); }
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

// Where a failing test leaves what it drew: the test runner's directory for
// outputs when it names one, else the build's test directory.
std::string outputDirectory() {
    const char* named = getenv("TEST_UNDECLARED_OUTPUTS_DIR");
    return named && *named ? named : ZENTROVA_TEST_OUTPUT_DIR;
}

TEST_F(FullTowerScene, LooksAsRecorded) {
    const std::string drawn = outputDirectory() + "/" + frame_scenes::recordedScene().name + "-drawn.bmp";
    const frame_scenes::FrameDifference difference =
        frame_scenes::compareWithRecording(frame_scenes::recordingDirectory, drawn);
    EXPECT_TRUE(frame_scenes::same(difference))
        << frame_scenes::describe(difference) << " against " << frame_scenes::recordingDirectory << "/"
        << frame_scenes::recordingName(800, 600) << ". The frame drawn is in " << drawn
        << "; a change of look that is meant (new pictures, new rules) is recorded again with tools/bench.sh --capture";
}

// With people on the floors and in the cars: drawing them allocates nothing,
// nor does running them once the day's busiest moments have been seen.
TEST_F(FullTowerScene, ASteadyFrameOfTheLivingTowerAllocatesNothing) {
    if (!allocation_count::counting()) GTEST_SKIP() << "the sanitizer's allocator is not counted";
    Game::setLife(true);
    frame_scenes::startGame(true);
    Game* game = Game::Instance();
    frame_scenes::liveUntilBusyMorning();
    const point camera = frame_scenes::viewScene(frame_scenes::recordedScene());
    for (int frame = 0; frame < 3; ++frame) frame_scenes::drawFrame(camera, frame == 0);
    game->getClock().setSpeed(1000);
    unsigned long running = 0, drawing = 0;
    for (int frame = 0; frame < 10; ++frame) {
        ticks::advance(100);
        const unsigned long before = allocation_count::now();
        game->loop(camera.z);
        const unsigned long between = allocation_count::now();
        game->render(camera);
        running += between - before;
        drawing += allocation_count::now() - between;
    }
    EXPECT_EQ(0u, running) << "allocations running 10 frames";
    EXPECT_EQ(0u, drawing) << "allocations drawing 10 frames";
    EXPECT_GT(game->getTower().getLife()->people().size(), 1000u);
    Game::setLife(false);
}

TEST_F(FullTowerScene, ASteadyFrameAllocatesNothing) {
    if (!allocation_count::counting()) GTEST_SKIP() << "the sanitizer's allocator is not counted";
    frame_scenes::startGame(true);
    const point camera = frame_scenes::viewScene(frame_scenes::recordedScene());
    // The first frames render the read-out and cut the pictures they draw.
    for (int frame = 0; frame < 3; ++frame) frame_scenes::drawFrame(camera, frame == 0);
    // The cars move every frame; no game minute passes, which would write the read-out anew.
    Game::Instance()->getClock().setSpeed(1000);
    const unsigned long before = allocation_count::now();
    for (int frame = 0; frame < 10; ++frame) {
        ticks::advance(100);
        frame_scenes::drawFrame(camera, false);
    }
    EXPECT_EQ(0u, allocation_count::now() - before) << "allocations in 10 frames";
    // Painted where they changed, after the first two have sized the lists.
    FramePainter painter;
    frame_scenes::TowerPicture picture;
    picture.camera = camera;
    for (int frame = 0; frame < 12; ++frame) {
        const unsigned long start = allocation_count::now();
        ticks::advance(100);
        Game::Instance()->loop(camera.z);
        painter.paint(picture);
        if (frame >= 2) {
            EXPECT_EQ(0u, allocation_count::now() - start) << "allocations painting frame " << frame;
        }
    }
}

// The people walk and ride every frame: painted where they changed, the
// living tower must look as painted whole, and most of it is not sent again.
TEST_F(FullTowerScene, TheLivingTowerPaintedWhereItChangedIsTheSameAsPaintedWhole) {
    Game::setLife(true);
    frame_scenes::startGame(true);
    frame_scenes::liveUntilBusyMorning();
    ChangedAgainstWhole proof(frame_scenes::viewScene(frame_scenes::recordedScene()));
    long sent = 0;
    for (int frame = 0; frame < 40; ++frame) {
        ticks::advance(frame < 20 ? 40 : 400);
        proof.frame(frame < 20 ? "a frame of the morning" : "a frame a game minute on");
        if (frame > 0) sent += proof.painter().lastPixels();
    }
    Game::Instance()->getView().toggleService();
    proof.frame("the service view");
    Game::Instance()->getView().toggleService();
    EXPECT_EQ("", proof.faults);
    EXPECT_LT(sent, 39L * resolutionX * resolutionY / 2) << "the people's frames sent more than half the window";
    Game::setLife(false);
}

// Pictures with an alpha channel reach the window through encoded copies of
// the clipped part; whatever the clip and position, the window must show what
// a blit straight from the sheet shows on an ordinary surface.
// Made straight in the window's format with an alpha channel, as the
// loader's conversion leaves pictures.
SDL_Surface* makeSheet(int width, int height, Uint8 alphaFloor) {
    const SDL_PixelFormat* window = CSurface::slot(slots::WINDOW)->format;
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
    SDL_Surface* screen = CSurface::slot(slots::WINDOW);
    ASSERT_NE(nullptr, screen);
    SurfacePtr sheet(makeSheet(96, 40, 1));
    ASSERT_NE(nullptr, sheet);
    SurfacePtr plain(plainLike(screen));
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
    SDL_Surface* screen = CSurface::slot(slots::WINDOW);
    ASSERT_NE(nullptr, screen);
    SDL_Rect clip = {2, 2, 16, 16};
    for (int round = 0; round < 6; ++round) {
        const Uint8 floor = round % 2 ? 60 : 1;
        SurfacePtr sheet(makeSheet(32, 32, floor));
        ASSERT_NE(nullptr, sheet);
        SurfacePtr plain(plainLike(screen));
        ASSERT_NE(nullptr, plain);
        paintBackground(screen);
        paintBackground(plain.get());
        CSurface::OnDraw(screen, sheet.get(), 10, 10, &clip);
        CSurface::OnDraw(plain.get(), sheet.get(), 10, 10, &clip);
        EXPECT_EQ(0, frame_scenes::compareFrames(screen, plain.get()).pixels) << "round " << round;
    }
}

}  // namespace
