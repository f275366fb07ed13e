#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "CAnimation.h"
#include "CSurface.h"
#include "DirtyGrid.h"
#include "Soundbank.h"
#include "pixelScale.h"
#include "protocol.h"
#include "sheetGeometry.h"
#include "testSupport.h"
#include "ticks.h"

using testing_support::CapturedOutput;
using testing_support::pixelAt;

namespace {

const char* const nullSurfaceMessage = "Error drawing surfaces: One or more surfaces registered as NULL";

::testing::AssertionResult sameColour(SDL_Color expected, SDL_Color actual) {
    if (expected.r == actual.r && expected.g == actual.g && expected.b == actual.b)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected (" << int(expected.r) << ", " << int(expected.g) << ", "
                                         << int(expected.b) << ") but the pixel is (" << int(actual.r) << ", "
                                         << int(actual.g) << ", " << int(actual.b) << ")";
}

SDL_Color rgb(int r, int g, int b) {
    SDL_Color colour = {static_cast<Uint8>(r), static_cast<Uint8>(g), static_cast<Uint8>(b), 0};
    return colour;
}

class Drawing : public ::testing::Test {
protected:
    void SetUp() override {
        screen = CSurface::slot(slots::WINDOW);
        ASSERT_NE(nullptr, screen);
        savedColour = CSurface::screenColor;
        testing_support::fillScreen(0, 0, 0);
        // A 4 x 4 source in the window's format with a different colour in every pixel.
        const SDL_PixelFormat* format = screen->format;
        source = SDL_CreateRGBSurface(SDL_SWSURFACE, 4, 4, 32, format->Rmask, format->Gmask, format->Bmask, 0);
        ASSERT_NE(nullptr, source);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 4; ++x) {
                SDL_Rect dot = {static_cast<Sint16>(x), static_cast<Sint16>(y), 1, 1};
                const SDL_Color c = sourceColour(x, y);
                SDL_FillRect(source, &dot, SDL_MapRGB(source->format, c.r, c.g, c.b));
            }
        }
    }
    void TearDown() override {
        SDL_FreeSurface(source);
        CSurface::screenColor = savedColour;
    }
    static SDL_Color sourceColour(int x, int y) { return rgb(40 + 50 * x, 40 + 50 * y, 200); }
    bool screenIsBlack(int x, int y) { return sameColour(rgb(0, 0, 0), pixelAt(screen, x, y)); }

    SDL_Surface* screen = nullptr;
    SDL_Surface* source = nullptr;
    Uint32 savedColour = 0;
};

TEST_F(Drawing, ClipDrawsOnlyThatPartWithItsCornerAtThePoint) {
    SDL_Rect clip = {1, 2, 2, 2};
    EXPECT_TRUE(CSurface::OnDraw(screen, source, 100, 50, &clip));
    EXPECT_TRUE(sameColour(sourceColour(1, 2), pixelAt(screen, 100, 50)));
    EXPECT_TRUE(sameColour(sourceColour(2, 3), pixelAt(screen, 101, 51)));
    EXPECT_TRUE(screenIsBlack(102, 50)) << "a column outside the clip was drawn";
    EXPECT_TRUE(screenIsBlack(100, 52)) << "a row outside the clip was drawn";
    EXPECT_TRUE(screenIsBlack(99, 50));
    EXPECT_EQ(1, clip.x);
    EXPECT_EQ(2, clip.y);
    EXPECT_EQ(2, clip.w) << "callers reuse their clip rectangles every frame; the draw must not shrink them";
    EXPECT_EQ(2, clip.h);
}

TEST_F(Drawing, NegativeXDrawsOnlyTheVisiblePart) {
    EXPECT_TRUE(CSurface::OnDraw(screen, source, -3, 60, nullptr));
    EXPECT_TRUE(sameColour(sourceColour(3, 0), pixelAt(screen, 0, 60)))
        << "the source's last column belongs at the window's left edge";
    EXPECT_TRUE(sameColour(sourceColour(3, 3), pixelAt(screen, 0, 63)));
    EXPECT_TRUE(screenIsBlack(1, 60)) << "the hidden columns must not shift into view";
}

TEST_F(Drawing, NullSurfacesAndMissingSlotsAreRefusedWithTheMessage) {
    SDL_Surface* none = nullptr;
    SDL_Surface* src = source;
    SDL_Surface* dest = screen;
    const int missing = static_cast<int>(CSurface::slotCount());
    const std::vector<std::pair<const char*, std::function<bool()>>> cases = {
        {"null source", [&] { return CSurface::OnDraw(dest, none, 0, 0, nullptr); }},
        {"null destination", [&] { return CSurface::OnDraw(none, src, 0, 0, nullptr); }},
        {"missing source slot", [&] { return CSurface::OnDraw(slots::WINDOW, missing, 0, 0, nullptr); }},
        {"missing destination slot", [&] { return CSurface::OnDraw(missing, slots::TILES, 0, 0, nullptr); }},
        {"negative source slot", [&] { return CSurface::OnDraw(dest, -1, 0, 0, nullptr); }},
        {"missing slot as destination of a pointer", [&] { return CSurface::OnDraw(missing, src, 0, 0, nullptr); }},
    };
    for (const auto& c : cases) {
        CapturedOutput err(stderr);
        EXPECT_FALSE(c.second()) << c.first;
        EXPECT_EQ(nullSurfaceMessage, err.text()) << c.first;
        EXPECT_TRUE(screenIsBlack(0, 0)) << c.first << " drew something";
    }
}

TEST_F(Drawing, ClearScreenUsesTheLowEightBitsOfEachChannel) {
    CSurface::setScreenColor(128, 0, 0);
    CSurface::clearScreen();
    EXPECT_TRUE(sameColour(rgb(128, 0, 0), pixelAt(screen, 0, 0)));
    EXPECT_TRUE(sameColour(rgb(128, 0, 0), pixelAt(screen, 799, 599))) << "the whole window is to be cleared";

    CSurface::setScreenColor(384, 256 + 7, -1);
    CSurface::clearScreen();
    EXPECT_TRUE(sameColour(rgb(128, 7, 255), pixelAt(screen, 400, 300)));
}

TEST_F(Drawing, LoadingStopsAtTheFirstImageThatWillNotLoad) {
    const size_t before = CSurface::slotCount();
    CapturedOutput out(stdout);
    CapturedOutput err(stderr);
    EXPECT_FALSE(CSurface::loadSurfaces({"assets/title_intro.png", "assets/no_such_image.png", "assets/tiles.png"}));
    EXPECT_EQ("Loaded assets/title_intro.png\n", out.text());
    EXPECT_EQ("Error: Tried to load assets/no_such_image.png.  Surface returned NULL", err.text());
    ASSERT_EQ(before + 1, CSurface::slotCount()) << "names after the failing one must not be tried";
    CSurface::keepSlots(before);
}

TEST_F(Drawing, EnlargingMakesEveryPixelASquareAndLeavesOutWhatDoesNotFit) {
    const SDL_PixelFormat* format = source->format;
    SDL_Surface* target = SDL_CreateRGBSurface(SDL_SWSURFACE, 11, 8, 32, format->Rmask, format->Gmask, format->Bmask, 0);
    ASSERT_NE(nullptr, target);
    SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 1, 2, 3));
    ASSERT_TRUE(pixelScale::enlarge(source, target, 3));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 11; ++x) {
            // Three whole columns and two whole rows of squares fit; the rest stays as it was.
            const SDL_Color expected = x < 9 && y < 6 ? sourceColour(x / 3, y / 3) : rgb(1, 2, 3);
            EXPECT_TRUE(sameColour(expected, pixelAt(target, x, y))) << x << "," << y;
        }
    // Only an area: its squares land at three times its place, and nothing else changes.
    SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 1, 2, 3));
    const SDL_Rect area = makeRect(1, 1, 5, 1);
    ASSERT_TRUE(pixelScale::enlarge(source, target, 3, &area));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 11; ++x) {
            const bool inside = x >= 3 && x < 9 && y >= 3 && y < 6;
            const SDL_Color expected = inside ? sourceColour(x / 3, y / 3) : rgb(1, 2, 3);
            EXPECT_TRUE(sameColour(expected, pixelAt(target, x, y))) << "area " << x << "," << y;
        }
    SDL_Surface* narrow = SDL_CreateRGBSurface(SDL_SWSURFACE, 8, 8, 16, 0, 0, 0, 0);
    EXPECT_FALSE(pixelScale::enlarge(source, narrow, 2)) << "only 32-bit pixels";
    SDL_FreeSurface(narrow);
    SDL_FreeSurface(target);
}

// Dirty blocks become rectangles that cover each of them once and nothing
// else, within a window whose size is no multiple of the blocks.
TEST(DirtyGridTest, RectanglesCoverExactlyTheMarkedBlocksAndMergeWhenThereAreTooMany) {
    DirtyGrid grid;
    grid.resize(200, 100);  // 4 x 4 blocks, the last column and row cut short
    EXPECT_TRUE(grid.isAll()) << "a new grid is dirty all over";
    grid.clear();
    EXPECT_TRUE(grid.isEmpty());
    EXPECT_TRUE(grid.rects().empty());
    grid.mark(makeRect(60, 30, 10, 40));   // blocks (0..1, 0..2)
    grid.mark(makeRect(195, 97, 50, 50));  // the corner block, cut by the window
    grid.mark(makeRect(-20, 200, 10, 10)); // outside: nothing
    std::vector<int> covered(16, 0);
    long area = 0;
    for (const SDL_Rect& rect : grid.rects()) {
        EXPECT_LE(rect.x + rect.w, 200);
        EXPECT_LE(rect.y + rect.h, 100);
        area += rect.w * rect.h;
        for (int row = 0; row < 4; ++row)
            for (int column = 0; column < 4; ++column)
                if (column * 64 >= rect.x && column * 64 < rect.x + rect.w && row * 32 >= rect.y &&
                    row * 32 < rect.y + rect.h)
                    ++covered[static_cast<size_t>(row * 4 + column)];
    }
    const std::vector<int> expected = {1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 0, 0, 0, 1};
    EXPECT_EQ(expected, covered);
    EXPECT_EQ(128 * 96 + 8 * 4, area);
    EXPECT_EQ(2u, grid.rects().size()) << "the two columns of three blocks are one rectangle";
    // A chequer of single blocks is too many pieces: row by row, and with
    // more rows than rectangles allowed, one.
    grid.resize(64 * 60, 32 * 60);
    grid.clear();
    for (int row = 0; row < 60; ++row)
        for (int column = row % 2; column < 60; column += 2) grid.markBlock(column, row);
    ASSERT_EQ(1u, grid.rects().size());
    EXPECT_EQ(64 * 60, grid.rects()[0].w);
    EXPECT_EQ(32 * 60, grid.rects()[0].h);
    grid.clear();
    for (int column = 0; column < 60; column += 3) grid.markBlock(column, 7);
    EXPECT_EQ(20u, grid.rects().size()) << "one row's scattered blocks, each its own";
    for (int column = 1; column < 60; column += 3) grid.markBlock(column, 7);
    for (int column = 0; column < 60; column += 2) grid.markBlock(column, 8);
    ASSERT_EQ(2u, grid.rects().size()) << "two rows' too many pieces, a rectangle a row";
    EXPECT_EQ(7 * 32, grid.rects()[0].y);
    EXPECT_EQ(64 * 59, grid.rects()[0].w);
}

// The people's frames are found by the generated geometry alone: the last
// frame ends where the sheet does, and in every frame the feet stand on the
// feet row with nothing below it, by day and by night.
TEST(SheetGeometry, PeopleFramesCoverTheSheetAndStandOnTheFeetRow) {
    using namespace sheet::people;
    for (const char* name : {"assets/people.png", "assets/people-night.png"}) {
        SCOPED_TRACE(name);
        SurfacePtr sheet(CSurface::loadPNGFile(name));
        ASSERT_NE(nullptr, sheet);
        ASSERT_EQ(4u, static_cast<unsigned>(sheet->format->BytesPerPixel));
        const SDL_Rect last = frame(Look(looks - 1), Facing(facings - 1), Step(steps - 1));
        EXPECT_EQ(sheet->w, last.x + last.w);
        EXPECT_EQ(sheet->h, last.y + last.h);
        SDL_LockSurface(sheet.get());
        auto opaque = [&sheet](int x, int y) {
            const Uint32 pixel = static_cast<const Uint32*>(sheet->pixels)[y * sheet->pitch / 4 + x];
            Uint8 r, g, b, a;
            SDL_GetRGBA(pixel, sheet->format, &r, &g, &b, &a);
            return a == SDL_ALPHA_OPAQUE;
        };
        for (int look = 0; look < looks; ++look) {
            for (int facing = 0; facing < facings; ++facing) {
                for (int step = 0; step < steps; ++step) {
                    const SDL_Rect at = frame(Look(look), Facing(facing), Step(step));
                    bool footLeft = false, footRight = false, below = false;
                    for (int x = 0; x < frameWidth; ++x) {
                        if (opaque(at.x + x, at.y + feet.y)) (x < feet.x ? footLeft : footRight) = true;
                        for (int y = feet.y + 1; y < frameHeight; ++y) below = below || opaque(at.x + x, at.y + y);
                    }
                    EXPECT_TRUE(footLeft && footRight && !below) << look << " " << facing << " " << step;
                }
            }
        }
        SDL_UnlockSurface(sheet.get());
    }
}

class SoundBank : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(0, Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 4096)) << Mix_GetError();
    }
    void TearDown() override {
        Mix_HaltChannel(-1);
        bank.OnCleanup();
        Mix_CloseAudio();
    }
    // Channels stay busy while the mixer is held, so what Play started can be counted.
    int playingAfter(void (*play)(CSoundBank&)) {
        SDL_LockAudio();
        const int before = Mix_Playing(-1);
        play(bank);
        const int after = Mix_Playing(-1);
        SDL_UnlockAudio();
        return after - before;
    }

    CSoundBank bank;
};

TEST_F(SoundBank, AnEmptySlotKeepsTheIdsOfLaterSounds) {
    // As the engine fills the bank: a sound that is missing leaves its id empty.
    EXPECT_EQ(sounds::BUILD, bank.OnLoad("assets//build.wav"));
    {
        CapturedOutput out(stdout);
        EXPECT_EQ(-1, bank.OnLoad("assets//no_such_sound.wav"));
        EXPECT_EQ("Sound Not Loaded!\n", out.text());
    }
    EXPECT_EQ(1u, bank.size()) << "a sound that failed to load must not take an id by itself";
    bank.addEmptySlot();
    EXPECT_EQ(sounds::BULLDOZE, bank.OnLoad("assets//bulldoze.wav"));
    EXPECT_NE(nullptr, bank.chunkAt(sounds::BUILD));
    EXPECT_EQ(nullptr, bank.chunkAt(sounds::SELECT));
    EXPECT_NE(nullptr, bank.chunkAt(sounds::BULLDOZE));
}

TEST_F(SoundBank, PlayIgnoresIdsWithoutASampleAndOverlapsRepeats) {
    EXPECT_EQ(0, playingAfter([](CSoundBank& b) { b.Play(sounds::BUILD); })) << "an empty bank plays nothing";
    ASSERT_EQ(sounds::BUILD, bank.OnLoad("assets//build.wav"));
    bank.addEmptySlot();
    EXPECT_EQ(0, playingAfter([](CSoundBank& b) {
        b.Play(-1);
        b.Play(sounds::SELECT);
        b.Play(sounds::BULLDOZE);
        b.Play(5);
    }));
    EXPECT_EQ(2, playingAfter([](CSoundBank& b) {
        b.Play(sounds::BUILD);
        b.Play(sounds::BUILD);
    })) << "two quick plays of one sound use two channels";
}

TEST_F(SoundBank, SwitchedOffBankIsSilentUntilSwitchedOnAgain) {
    ASSERT_EQ(sounds::BUILD, bank.OnLoad("assets//build.wav"));
    bank.setSound(false);
    EXPECT_EQ(0, playingAfter([](CSoundBank& b) { b.Play(sounds::BUILD); }));
    bank.setSound(true);
    EXPECT_EQ(1, playingAfter([](CSoundBank& b) { b.Play(sounds::BUILD); }));
}

TEST_F(SoundBank, MusicPlaysOnlyWhileTheSwitchIsOnAndAMissingPieceIsOneMessage) {
    {
        CapturedOutput out(stdout);
        CapturedOutput err(stderr);
        EXPECT_FALSE(bank.loadMusic("assets/no_such_music.ogg"));
        EXPECT_EQ("", out.text());
        EXPECT_EQ(0u, err.text().find("Music not loaded from assets/no_such_music.ogg: ")) << err.text();
        EXPECT_EQ(std::string::npos, err.text().find('\n'));
    }
    bank.playMusic();
    EXPECT_FALSE(Mix_PlayingMusic()) << "nothing loaded, nothing to play";
    {
        CapturedOutput out(stdout);
        ASSERT_TRUE(bank.loadMusic("assets/music.ogg")) << Mix_GetError();
        EXPECT_EQ("Loaded music assets/music.ogg\n", out.text());
    }
    bank.setSound(false);
    bank.playMusic();
    EXPECT_FALSE(Mix_PlayingMusic()) << "the switch is off";
    bank.setSound(true);
    bank.playMusic();
    EXPECT_TRUE(Mix_PlayingMusic());
    bank.setSound(false);
    EXPECT_FALSE(Mix_PlayingMusic()) << "switching off stops the music";
}

class Animation : public ::testing::Test {
protected:
    void SetUp() override { ticks::freeze(10000); }
    void TearDown() override { ticks::thaw(); }

    // The frames shown after each of `steps` advances one interval apart.
    static std::vector<int> run(CAnimation& animation, int steps) {
        std::vector<int> frames;
        for (int i = 0; i < steps; ++i) {
            ticks::advance(static_cast<Uint32>(animation.frameRate));
            animation.OnAnimate();
            frames.push_back(animation.GetCurrentFrame());
        }
        return frames;
    }
};

TEST_F(Animation, LoopsWrapOnTheLastFrameAndSwingsTurnAtBothEnds) {
    CAnimation looping;
    looping.maxFrames = 4;
    EXPECT_EQ((std::vector<int>{1, 2, 0, 1, 2, 0}), run(looping, 6)) << "a loop leaves out its last frame";
    CAnimation swinging;
    swinging.maxFrames = 4;
    swinging.oscillate = true;
    EXPECT_EQ((std::vector<int>{1, 2, 3, 2, 1, 0, 1, 2, 3}), run(swinging, 9));
    CAnimation empty;
    EXPECT_EQ((std::vector<int>{0, 0, 0}), run(empty, 3)) << "without frames the frame stays at 0";
}

TEST_F(Animation, AdvancesOnceAnIntervalHowMuchTimeSoEverPassed) {
    CAnimation animation;
    animation.maxFrames = 10;
    animation.SetFrameRate(50);
    animation.OnAnimate();
    ASSERT_EQ(1, animation.GetCurrentFrame());
    ticks::advance(49);
    animation.OnAnimate();
    EXPECT_EQ(1, animation.GetCurrentFrame()) << "advanced before the interval was over";
    ticks::advance(1);
    animation.OnAnimate();
    EXPECT_EQ(2, animation.GetCurrentFrame());
    ticks::advance(1000);
    animation.OnAnimate();
    animation.OnAnimate();
    EXPECT_EQ(3, animation.GetCurrentFrame()) << "a long pause must not be caught up in several steps";
}

TEST_F(Animation, SetCurrentFrameTakesOnlyExistingFrames) {
    CAnimation animation;
    animation.maxFrames = 4;
    animation.SetCurrentFrame(3);
    EXPECT_EQ(3, animation.GetCurrentFrame());
    animation.SetCurrentFrame(4);
    animation.SetCurrentFrame(-1);
    EXPECT_EQ(3, animation.GetCurrentFrame());
    animation.SetCurrentFrame(0);
    EXPECT_EQ(0, animation.GetCurrentFrame());
}

}  // namespace
