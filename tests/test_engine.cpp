#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "CEvent.h"
#include "CScreen.h"
#include "CSurface.h"
#include "Soundbank.h"
#include "gEngine.h"
#include "gIntro.h"
#include "gMap.h"
#include "gMenu.h"
#include "framePacer.h"
#include "gameSettings.h"
#include "installation.h"
#include "gui.h"
#include "main.h"
#include "protocol.h"
#include "testSupport.h"
#include "ticks.h"

using testing_support::CapturedOutput;
using testing_support::pixelAt;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

void drainEvents() {
    SDL_Event pending;
    while (SDL_PollEvent(&pending)) {
    }
}

// A fresh directory under /tmp that the test works in; the previous working
// directory comes back and the directory goes when the test ends, even after a
// failed assertion.
class WorkInTemporaryDirectory {
public:
    WorkInTemporaryDirectory() {
        char name[] = "/tmp/zentrova-work-XXXXXX";
        if (mkdtemp(name)) path = name;
        char* cwd = getcwd(nullptr, 0);
        previous = cwd ? cwd : ".";
        free(cwd);
        entered = !path.empty() && chdir(path.c_str()) == 0;
    }
    ~WorkInTemporaryDirectory() {
        if (entered && chdir(previous.c_str()) != 0) {
            ADD_FAILURE() << "could not return to " << previous;
        }
        if (!path.empty()) testing_support::runCommand("rm -rf '" + path + "'");
    }
    WorkInTemporaryDirectory(const WorkInTemporaryDirectory&) = delete;
    WorkInTemporaryDirectory& operator=(const WorkInTemporaryDirectory&) = delete;
    bool ok() const { return entered; }

private:
    std::string path;
    std::string previous;
    bool entered = false;
};

// A screen that writes down every handler the dispatcher calls, with its arguments.
class RecordingScreen : public gGame {
public:
    std::vector<std::string> calls;
    short requestOnKeyDown = NONE;
    bool* deleted = nullptr;

    ~RecordingScreen() override {
        if (deleted) *deleted = true;
    }

    void note(const std::string& call) { calls.push_back(call); }
    static std::string args(std::initializer_list<long> values) {
        std::string text;
        for (long value : values) text += " " + std::to_string(value);
        return text;
    }

    void OnInputFocus() override { note("InputFocus"); }
    void OnInputBlur() override { note("InputBlur"); }
    void OnKeyDown(SDLKey sym, SDLMod mod, Uint16 unicode) override {
        note("KeyDown" + args({sym, mod, unicode}));
        if (requestOnKeyDown != NONE) setNextState(requestOnKeyDown);
    }
    void OnKeyUp(SDLKey sym, SDLMod mod, Uint16 unicode) override { note("KeyUp" + args({sym, mod, unicode})); }
    void OnMouseFocus() override { note("MouseFocus"); }
    void OnMouseBlur() override { note("MouseBlur"); }
    void OnMouseMove(int x, int y, int relX, int relY, bool left, bool right, bool middle) override {
        note("MouseMove" + args({x, y, relX, relY, left, right, middle}));
    }
    void OnMouseWheel(bool up, bool down, int x, int y) override { note("MouseWheel" + args({up, down, x, y})); }
    void OnLButtonDown(int x, int y) override { note("LButtonDown" + args({x, y})); }
    void OnLButtonUp(int x, int y) override { note("LButtonUp" + args({x, y})); }
    void OnRButtonDown(int x, int y) override { note("RButtonDown" + args({x, y})); }
    void OnRButtonUp(int x, int y) override { note("RButtonUp" + args({x, y})); }
    void OnMButtonDown(int x, int y) override { note("MButtonDown" + args({x, y})); }
    void OnMButtonUp(int x, int y) override { note("MButtonUp" + args({x, y})); }
    void OnMinimize() override { note("Minimize"); }
    void OnRestore() override { note("Restore"); }
    void OnResize(int width, int height) override { note("Resize" + args({width, height})); }
    void OnExpose() override { note("Expose"); }
    void OnExit() override { note("Exit"); }
    void OnUser(Uint8 type, int code, void* data1, void* data2) override {
        note("User" + args({type, code, data1 != nullptr, data2 != nullptr}));
    }
    void Loop() override { note("Loop"); }
    void Render() override { note("Render"); }
};

SDL_Event blankEvent(Uint8 type) {
    SDL_Event event;
    memset(&event, 0, sizeof event);
    event.type = type;
    return event;
}

SDL_Event activeEvent(Uint8 gain, Uint8 state) {
    SDL_Event event = blankEvent(SDL_ACTIVEEVENT);
    event.active.gain = gain;
    event.active.state = state;
    return event;
}

// What one event makes the dispatcher call: "" for nothing.
std::string dispatched(SDL_Event event) {
    RecordingScreen screen;
    screen.ProcessEvent(&event);
    if (screen.calls.empty()) return "";
    std::string all = screen.calls[0];
    for (size_t i = 1; i < screen.calls.size(); ++i) all += " | " + screen.calls[i];
    return all;
}

TEST(EventDispatch, EachEventReachesOneHandlerWithItsArguments) {
    using namespace testing_support;
    SDL_Event shiftedKey = keyEvent(SDLK_n);
    shiftedKey.key.keysym.mod = KMOD_LSHIFT;
    SDL_Event resize = blankEvent(SDL_VIDEORESIZE);
    resize.resize.w = 1024;
    resize.resize.h = 700;

    const std::pair<SDL_Event, std::string> cases[] = {
        {activeEvent(1, SDL_APPMOUSEFOCUS), "MouseFocus"},
        {activeEvent(0, SDL_APPMOUSEFOCUS), "MouseBlur"},
        {activeEvent(1, SDL_APPINPUTFOCUS), "InputFocus"},
        {activeEvent(0, SDL_APPINPUTFOCUS), "InputBlur"},
        {activeEvent(1, SDL_APPACTIVE), "Restore"},
        {activeEvent(0, SDL_APPACTIVE), "Minimize"},
        {shiftedKey, "KeyDown 110 1 0"},
        {keyEvent(SDLK_ESCAPE, false), "KeyUp 27 0 0"},
        {motionEvent(65535, 2, -5, 6, SDL_BUTTON(1) | SDL_BUTTON(3)), "MouseMove 65535 2 -5 6 1 1 0"},
        {motionEvent(3, 4, 0, 0, SDL_BUTTON(2)), "MouseMove 3 4 0 0 0 0 1"},
        {buttonEvent(SDL_BUTTON_LEFT, 10, 11), "LButtonDown 10 11"},
        {buttonEvent(SDL_BUTTON_MIDDLE, 12, 13), "MButtonDown 12 13"},
        {buttonEvent(SDL_BUTTON_RIGHT, 14, 15), "RButtonDown 14 15"},
        {buttonEvent(SDL_BUTTON_WHEELDOWN, 16, 17), "MouseWheel 0 1 16 17"},
        {buttonEvent(SDL_BUTTON_LEFT, 20, 21, false), "LButtonUp 20 21"},
        {buttonEvent(SDL_BUTTON_MIDDLE, 22, 23, false), "MButtonUp 22 23"},
        {buttonEvent(SDL_BUTTON_RIGHT, 24, 25, false), "RButtonUp 24 25"},
        {buttonEvent(SDL_BUTTON_WHEELUP, 26, 27, false), "MouseWheel 1 0 26 27"},
        {blankEvent(SDL_QUIT), "Exit"},
        {resize, "Resize 1024 700"},
        {blankEvent(SDL_VIDEOEXPOSE), "Expose"},
        {userEvent(35), "User 24 35 0 0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.second, dispatched(c.first)) << "event type " << int(c.first.type);
    }
}

TEST(EventDispatch, CombinedFocusBitsAndTheOtherHalvesOfAWheelTurnCallNothing) {
    using namespace testing_support;
    const std::pair<SDL_Event, const char*> cases[] = {
        {activeEvent(1, SDL_APPMOUSEFOCUS | SDL_APPINPUTFOCUS), "mouse and input focus together"},
        {activeEvent(0, SDL_APPINPUTFOCUS | SDL_APPACTIVE), "input focus and activity together"},
        {activeEvent(1, 0), "no focus bit"},
        {buttonEvent(SDL_BUTTON_WHEELUP, 1, 1, true), "wheel up is reported on release only"},
        {buttonEvent(SDL_BUTTON_WHEELDOWN, 1, 1, false), "wheel down is reported on press only"},
        {buttonEvent(6, 1, 1, true), "unknown button pressed"},
        {buttonEvent(6, 1, 1, false), "unknown button released"},
        {blankEvent(SDL_SYSWMEVENT), "window manager event"},
    };
    for (const auto& c : cases) EXPECT_EQ("", dispatched(c.first)) << c.second;
}

TEST(EventDispatch, UnknownTypesArriveAsUserEventsWithTypeAndCode) {
    for (Uint8 type : {0, 14, 15, 18, 24, 31}) {
        SDL_Event event = blankEvent(type);
        event.user.code = 40 + type;
        int marker = 0;
        event.user.data1 = &marker;
        EXPECT_EQ("User" + RecordingScreen::args({type, 40 + type, 1, 0}), dispatched(event)) << "type " << int(type);
    }
}

// Keeps the engine's globals as the other suites expect them.
class ScreenSwitching : public ::testing::Test {
protected:
    void SetUp() override {
        drainEvents();
        savedState = stateID;
        stateID = MENU;
        nextState = NONE;
        currentState.reset();
    }
    void TearDown() override {
        drainEvents();
        currentState.reset();
        stateID = savedState;
        nextState = NONE;
        testing_support::endGame();
        ticks::thaw();
    }
    // The engine owns the screen it shows; the test keeps a look at it.
    static RecordingScreen* showRecordingScreen() {
        currentState = std::make_unique<RecordingScreen>();
        return static_cast<RecordingScreen*>(currentState.get());
    }
    short savedState = NONE;
};

TEST_F(ScreenSwitching, AnExitRequestCannotBeReplaced) {
    bool deleted = false;
    auto* screen = showRecordingScreen();
    screen->deleted = &deleted;
    setNextState(EXIT);
    setNextState(MENU);
    setNextState(MAP);
    EXPECT_EQ(EXIT, nextState);
    CapturedOutput out(stdout);
    change_state();
    EXPECT_EQ("state change successful: EXIT\n", out.text());
    EXPECT_EQ(EXIT, stateID);
    EXPECT_EQ(NONE, nextState);
    EXPECT_FALSE(deleted) << "the exit keeps the screen; shut-down deletes it";
    EXPECT_EQ(screen, currentState.get());
    change_state();
    EXPECT_EQ("state change successful: EXIT\n", out.text()) << "no request left, nothing to do";
}

TEST_F(ScreenSwitching, AMenuRequestReplacesTheScreenWithANewMenu) {
    bool deleted = false;
    auto* screen = showRecordingScreen();
    screen->deleted = &deleted;
    stateID = MAP;
    setNextState(MENU);
    CapturedOutput out(stdout);
    change_state();
    EXPECT_TRUE(deleted);
    EXPECT_NE(nullptr, dynamic_cast<gMenu*>(currentState.get()));
    EXPECT_EQ(MENU, stateID);
    EXPECT_EQ(NONE, nextState);
    EXPECT_EQ("state change successful: MENU\n", out.text());
}

TEST_F(ScreenSwitching, AFrameFeedsEveryEventThenLoopsAndRenders) {
    auto* screen = showRecordingScreen();
    SDL_Event first = testing_support::keyEvent(SDLK_a);
    SDL_Event second = testing_support::userEvent(7);
    SDL_PushEvent(&first);
    SDL_PushEvent(&second);
    EXPECT_TRUE(gEngine::runFrame());
    EXPECT_EQ((std::vector<std::string>{"KeyDown 97 0 0", "User 24 7 0 0", "Loop", "Render"}), screen->calls);
}

TEST_F(ScreenSwitching, AfterAnExitRequestTheOldScreenGetsTheRestButNoFrame) {
    auto* screen = showRecordingScreen();
    screen->requestOnKeyDown = EXIT;
    SDL_Event key = testing_support::keyEvent(SDLK_q);
    SDL_Event later = testing_support::userEvent(9);
    SDL_PushEvent(&key);
    SDL_PushEvent(&later);
    CapturedOutput out(stdout);
    EXPECT_FALSE(gEngine::runFrame()) << "the main loop should end";
    EXPECT_EQ((std::vector<std::string>{"KeyDown 113 0 0", "User 24 9 0 0"}), screen->calls)
        << "the waiting event still goes to the old screen, and no Loop or Render follows";
    EXPECT_EQ("state change successful: EXIT\n", out.text());
}

// The window's modes on the dummy driver, which gives any size asked for.
// Each test ends with the suite's 800 x 600 window at scale 1 again.
class WindowModes : public ScreenSwitching {
protected:
    void TearDown() override {
        CScreen::setDesktopSize(0, 0);
        CScreen::setScale(1);
        resolutionX = 800;
        resolutionY = 600;
        {
            CapturedOutput quiet(stdout);
            CScreen::open(false);
        }
        ScreenSwitching::TearDown();
    }
    static SDL_Surface* shown() { return SDL_GetVideoSurface(); }
    static std::string sizes() {
        return "window " + std::to_string(shown()->w) + "x" + std::to_string(shown()->h) + ", game " +
               std::to_string(resolutionX) + "x" + std::to_string(resolutionY) +
               (CScreen::isFullScreen() ? ", full screen" : "");
    }
    static void openAt(int width, int height) {
        resolutionX = width;
        resolutionY = height;
        ASSERT_NE(nullptr, CScreen::open(false));
    }
};

TEST_F(WindowModes, AScaledWindowShowsEveryPixelAsASquareAndThePointerMapsBackExactly) {
    ASSERT_TRUE(CScreen::setScale(2));
    openAt(640, 480);
    EXPECT_EQ("window 1280x960, game 640x480", sizes());
    SDL_Surface* game = CSurface::slot(slots::WINDOW);
    ASSERT_EQ(640, game->w);
    SDL_FillRect(game, nullptr, SDL_MapRGB(game->format, 0, 0, 0));
    SDL_Rect dot = makeRect(100, 50, 1, 1);
    SDL_FillRect(game, &dot, SDL_MapRGB(game->format, 255, 0, 0));
    CSurface::flip();
    for (int y = 99; y <= 102; ++y)
        for (int x = 199; x <= 202; ++x) {
            const bool inside = x >= 200 && x <= 201 && y >= 100 && y <= 101;
            EXPECT_EQ(inside ? 255 : 0, pixelAt(shown(), x, y).r) << x << "," << y;
        }

    SDL_Event motion = testing_support::motionEvent(201, 101, 3, -1);  // from (198, 102)
    CScreen::toGamePixels(motion);
    EXPECT_EQ(RecordingScreen::args({100, 50, 1, -1}),
              RecordingScreen::args({motion.motion.x, motion.motion.y, motion.motion.xrel, motion.motion.yrel}))
        << "the red pixel, reached from the game pixel left of it and below it";
    SDL_Event click = testing_support::buttonEvent(SDL_BUTTON_LEFT, 1279, 959);
    CScreen::toGamePixels(click);
    EXPECT_EQ(RecordingScreen::args({639, 479}), RecordingScreen::args({click.button.x, click.button.y}));

    EXPECT_FALSE(CScreen::setScale(5));
    EXPECT_FALSE(CScreen::setScale(0));
    EXPECT_EQ(2, CScreen::getScale());

    CScreen::setDesktopSize(1280, 1024);
    CapturedOutput out(stdout);
    openAt(800, 600);
    EXPECT_EQ("window 1280x960, game 640x480", sizes()) << "as much as fits the screen beside a frame and a panel";
    EXPECT_EQ("At scale 2 a game of 800 x 600 needs a window of 1600 x 1200, larger than the screen's 1280 x 1024; "
              "the game is laid out for 640 x 480\n",
              out.text());
}

TEST_F(WindowModes, ASizeBelowTheLeastIsRaisedWithALine) {
    CapturedOutput out(stdout);
    openAt(320, 900);
    EXPECT_EQ("window 640x900, game 640x900", sizes()) << "only what is too small";
    EXPECT_FALSE(CScreen::resize(640, 900)) << "the size it has already";
    EXPECT_EQ("A window of 320 x 900 is too small for the game; it is raised to 640 x 900\n", out.text());
}

TEST_F(WindowModes, FullScreenTakesTheScreensSizeAndTheWindowsSizeComesBack) {
    CScreen::setScale(2);
    openAt(640, 480);
    CScreen::setDesktopSize(1280, 1024);
    CapturedOutput out(stdout);
    EXPECT_TRUE(CScreen::toggleFullScreen());
    EXPECT_EQ("window 1280x1024, game 640x512, full screen", sizes());
    EXPECT_FALSE(CScreen::resize(800, 600)) << "a full screen keeps the screen's size";
    EXPECT_TRUE(CScreen::toggleFullScreen());
    EXPECT_EQ("window 1280x960, game 640x480", sizes());

    CScreen::setDesktopSize(1024, 768);
    CScreen::toggleFullScreen();
    EXPECT_EQ("window 1024x768, game 1024x768, full screen", sizes()) << "too small for scale 2";
    CScreen::toggleFullScreen();
    CScreen::setDesktopSize(0, 0);
    CScreen::toggleFullScreen();
    EXPECT_EQ("window 1280x960, game 640x480, full screen", sizes()) << "the screen's size unknown";
    CScreen::toggleFullScreen();
    EXPECT_EQ("Full screen\nWindow\n"
              "The screen's 1024 x 768 is too small for scale 2; full screen is drawn at scale 1\nFull screen\nWindow\n"
              "The screen's size is not known; full screen keeps the window's size\nFull screen\nWindow\n",
              out.text());
}

TEST_F(WindowModes, TheEngineLaysTheScreenOutForTheLastSizeAndAfterASwitch) {
    openAt(800, 600);
    auto* screen = showRecordingScreen();
    SDL_Event dragged = blankEvent(SDL_VIDEORESIZE);
    dragged.resize.w = 900;
    dragged.resize.h = 650;
    SDL_Event released = dragged;
    released.resize.w = 1000;
    released.resize.h = 700;
    SDL_Event f11 = testing_support::keyEvent(SDLK_F11);
    SDL_Event click = testing_support::buttonEvent(SDL_BUTTON_LEFT, 10, 20);
    for (SDL_Event* event : {&dragged, &released, &f11, &f11, &click}) SDL_PushEvent(event);
    CapturedOutput out(stdout);
    EXPECT_TRUE(gEngine::runFrame());
    EXPECT_EQ((std::vector<std::string>{"Resize 1000 700", "Resize 1000 700", "Resize 1000 700", "LButtonDown 10 20",
                                        "Loop", "Render"}),
              screen->calls)
        << "one layout for the drag's last size, one for each switch; F11 goes no further";
    EXPECT_EQ("window 1000x700, game 1000x700", sizes());
}

class MainMenu : public ScreenSwitching {
protected:
    void SetUp() override {
        ScreenSwitching::SetUp();
        CapturedOutput quiet(stdout);
        testing_support::resetGame();  // the tower screen reaches for the game controller
        currentState = std::make_unique<gMenu>();
        menu = static_cast<gMenu*>(currentState.get());
    }
    void pointAt(int x, int y) {
        SDL_WarpMouse(static_cast<Uint16>(x), static_cast<Uint16>(y));
        drainEvents();
    }
    gMenu* menu = nullptr;
};

TEST_F(MainMenu, TitleAndOptionsArePlacedFromTheTitleImage) {
    SDL_Surface* title = CSurface::slot(slots::MENU_TITLE);
    ASSERT_NE(nullptr, title);
    EXPECT_EQ(resolutionX / 2 - title->w / 2, menu->getLogoX());
    EXPECT_EQ(50, menu->getLogoY());
    const gTextMenu* options = menu->getTextMenu();
    ASSERT_NE(nullptr, options);
    ASSERT_EQ(3u, options->optionCount());
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(resolutionX / 2 - 50, options->option(i).getArea().x);
        EXPECT_EQ(title->h + 50 - 100 + 25 * static_cast<int>(i), options->option(i).getArea().y)
            << "the menu starts 100 pixels above the title's bottom edge";
        EXPECT_EQ(static_cast<int>(i) + 1, options->option(i).getId());
    }

    pointAt(0, 0);
    menu->Loop();
    menu->Render();
    SDL_Surface* screen = CSurface::slot(slots::WINDOW);
    const SDL_Rect& plate = options->option(0).getArea();
    const SDL_Color onPlate = testing_support::pixelAt(screen, plate.x + 1, plate.y + 1);
    EXPECT_EQ(gui_background.r, onPlate.r) << "option plates are drawn over the title";
    EXPECT_EQ(gui_background.g, onPlate.g);
    EXPECT_EQ(gui_background.b, onPlate.b);
}

TEST_F(MainMenu, CaptionShowsTheAverageFrameRateFromTwoSecondsOn) {
    SDL_WM_SetCaption("unchanged", nullptr);
    const Uint32 start = ticks::now();
    for (int i = 0; i < 10; ++i) menu->Render();
    char* caption = nullptr;
    ticks::freeze(start + 1999);
    menu->Loop();
    SDL_WM_GetCaption(&caption, nullptr);
    EXPECT_STREQ("unchanged", caption);
    ticks::freeze(start + 2000);
    menu->Loop();
    SDL_WM_GetCaption(&caption, nullptr);
    EXPECT_STREQ("Zentrova--FPS: 5", caption) << "10 frames over 2 whole seconds";
    for (int i = 0; i < 5; ++i) menu->Render();
    ticks::freeze(start + 2999);
    menu->Loop();
    SDL_WM_GetCaption(&caption, nullptr);
    EXPECT_STREQ("Zentrova--FPS: 5", caption) << "the caption changes about once a second";
    ticks::freeze(start + 4000);
    menu->Loop();
    SDL_WM_GetCaption(&caption, nullptr);
    EXPECT_STREQ("Zentrova--FPS: 3", caption) << "15 frames over 4 whole seconds, rounded down";
}

TEST_F(MainMenu, ShiftNLeavesForTheTowerScreen) {
    SDL_Event key = testing_support::keyEvent(SDLK_n);
    key.key.keysym.mod = KMOD_LSHIFT;
    SDL_PushEvent(&key);
    CapturedOutput out(stdout);
    testing_support::pumpEvents();
    EXPECT_NE(std::string::npos, out.text().find("state change successful: MAP\n")) << out.text();
    EXPECT_NE(nullptr, dynamic_cast<gMap*>(currentState.get()));
    EXPECT_EQ(MAP, stateID);
}

TEST_F(MainMenu, LoadGameHandsTheLoadRequestToTheNewTowerScreen) {
    // No save file in an empty directory: the tower screen's answer to the
    // load request then shows in the GUI's message line.
    WorkInTemporaryDirectory empty;
    ASSERT_TRUE(empty.ok());
    ASSERT_EQ(nullptr, GUI::Instance()->getMessageText());
    SDL_Event key = testing_support::keyEvent(SDLK_l);
    currentState->ProcessEvent(&key);
    EXPECT_EQ(MAP, nextState);
    SDL_Event queued[2];
    ASSERT_EQ(1, SDL_PeepEvents(queued, 2, SDL_PEEKEVENT, SDL_ALLEVENTS)) << "exactly one load request is queued";
    EXPECT_EQ(SDL_USEREVENT, queued[0].type);
    EXPECT_EQ(events::LOAD_CONFIRMED, queued[0].user.code);
    EXPECT_EQ(nullptr, queued[0].user.data1);
    EXPECT_EQ(nullptr, queued[0].user.data2);
    {
        CapturedOutput out(stdout);
        change_state();  // as the engine does straight after the key, before the queue is read again
        testing_support::pumpEvents();
        EXPECT_NE(std::string::npos, out.text().find("state change successful: MAP\n")) << out.text();
    }
    EXPECT_NE(nullptr, dynamic_cast<gMap*>(currentState.get()));
    ASSERT_NE(nullptr, GUI::Instance()->getMessageText()) << "the tower screen never saw the load request";
    EXPECT_STREQ("Could not open save file.", GUI::Instance()->getMessageText());
}

TEST_F(MainMenu, EscapeEndsTheProgramWithOneMessage) {
    SDL_Event key = testing_support::keyEvent(SDLK_ESCAPE);
    CapturedOutput out(stdout);
    currentState->ProcessEvent(&key);
    change_state();
    EXPECT_EQ("OMG, EXIT PROGRAM!\nstate change successful: EXIT\n", out.text());
    EXPECT_EQ(EXIT, stateID);
    EXPECT_EQ(menu, currentState.get()) << "the menu stays until shut-down";
    EXPECT_EQ(nullptr, menu->getTextMenu());
}

TEST_F(MainMenu, AClickChoosesTheOptionUnderThePointerAtTheLastFrame) {
    const SDL_Rect& quit = menu->getTextMenu()->option(2).getArea();
    const SDL_Rect& newGame = menu->getTextMenu()->option(0).getArea();
    pointAt(10, 10);
    menu->Loop();
    menu->OnLButtonDown(quit.x + 5, quit.y + 5);
    EXPECT_EQ(NONE, nextState) << "the click's own position must not choose";
    ASSERT_NE(nullptr, menu->getTextMenu());

    pointAt(newGame.x + 50, newGame.y + 10);
    menu->Loop();
    menu->OnLButtonDown(0, 0);
    EXPECT_EQ(MAP, nextState);
    EXPECT_EQ(nullptr, menu->getTextMenu());
}

TEST_F(MainMenu, AnUnknownOptionStartsANewGameWithAnError) {
    CapturedOutput err(stderr);
    menu->selectOption(9);
    EXPECT_EQ("error: menu option not found", err.text());
    EXPECT_EQ(MAP, nextState);
}

class Intro : public ScreenSwitching {};

TEST_F(Intro, AnyInputOrTwoSecondsGiveWayToTheMenu) {
    ticks::freeze(500);
    gIntro intro;
    char* caption = nullptr;
    SDL_WM_GetCaption(&caption, nullptr);
    EXPECT_STREQ("Zentrova", caption);

    intro.OnKeyDown(SDLK_SPACE, KMOD_NONE, 0);
    EXPECT_EQ(MENU, nextState);
    nextState = NONE;
    intro.OnLButtonUp(1, 1);
    EXPECT_EQ(MENU, nextState);
    nextState = NONE;
    intro.OnRButtonUp(1, 1);
    EXPECT_EQ(MENU, nextState);
    nextState = NONE;

    CapturedOutput quiet(stdout);
    for (int i = 0; i < 9; ++i) intro.Render();
    ticks::freeze(2000);
    intro.Loop();
    EXPECT_EQ(NONE, nextState) << "the menu is due only after 2000 ms";
    SDL_WM_GetCaption(&caption, nullptr);
    EXPECT_STREQ("Zentrova--FPS: 4", caption) << "9 frames over the 2 seconds since SDL started";
    ticks::freeze(2001);
    intro.Loop();
    EXPECT_EQ(MENU, nextState);
}

TEST_F(Intro, EscapeEndsTheProgramWithOneMessage) {
    gIntro intro;
    CapturedOutput out(stdout);
    intro.OnKeyDown(SDLK_ESCAPE, KMOD_NONE, 0);
    EXPECT_EQ("OMG, EXIT PROGRAM!\nstate change successful: EXIT\n", out.text());
    EXPECT_EQ(EXIT, stateID);
}

// Settings are global; every test here puts back what it changed.
class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/zentrova-settings-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(name));
        directory = name;
        savedWidth = resolutionX;
        savedHeight = resolutionY;
        savedColours[0] = gui_background;
        savedColours[1] = gui_border;
        savedColours[2] = gui_text;
        savedSound = CSoundBank::SoundControl.isEnabled();
        savedMusic = CSoundBank::MusicControl.isEnabled();
    }
    void TearDown() override {
        testing_support::runCommand("rm -rf '" + directory + "'");
        resolutionX = savedWidth;
        resolutionY = savedHeight;
        gui_background = savedColours[0];
        gui_border = savedColours[1];
        gui_text = savedColours[2];
        CSoundBank::SoundControl.setSound(savedSound);
        CSoundBank::MusicControl.setSound(savedMusic);
        CScreen::setScale(1);
    }
    std::string file(const std::string& name, const std::string& text) {
        const std::string path = directory + "/" + name;
        writeFile(path, text);
        return path;
    }
    // Loads a file and returns what went to stderr.
    std::string load(gEngine& engine, const std::string& path, bool expected) {
        CapturedOutput err(stderr);
        EXPECT_EQ(expected, engine.loadXMLSettings(path.c_str())) << readFile(path);
        return err.text();
    }
    static std::string colour(const SDL_Color& c) {
        return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
    }

    std::string directory;
    int savedWidth = 0, savedHeight = 0;
    SDL_Color savedColours[3];
    bool savedSound = true, savedMusic = true;
};

const char* const twoElements = "<window width=\"0\" height=\"0\"/><sound effects=\"on\" music=\"on\"/>";
const char* const missingThree =
    "Error finding <required> element in settings.xml"
    "Error finding <plugins> element in settings.xml"
    "Error finding <background> element in settings.xml";

TEST_F(SettingsFile, ElementsAreFoundByPositionNotByName) {
    gEngine engine;
    const std::string path = file("any.xml",
                                  "<?xml version=\"1.0\"?>\n<first width=\"1024\" height=\"700\" scale=\"3\"/>\n<!-- between -->\n"
                                  "<second effects=\"off\" music=\"on\"/>\n"
                                  "<third><a>one.png</a><b>two.png</b><a>three.png</a></third>\n<fourth><x/></fourth>\n"
                                  "<fifth><p red=\"300\" green=\"-1\" blue=\"7\"/><q red=\"1\" green=\"2\" blue=\"3\"/>"
                                  "<r red=\"4\" green=\"5\" blue=\"6\"/></fifth>\n");
    EXPECT_EQ("", load(engine, path, true));
    EXPECT_EQ(1024, resolutionX);
    EXPECT_EQ(700, resolutionY);
    EXPECT_EQ(3, CScreen::getScale());
    EXPECT_FALSE(CSoundBank::SoundControl.isEnabled());
    EXPECT_TRUE(CSoundBank::MusicControl.isEnabled());
    EXPECT_EQ((std::vector<std::string>{"one.png", "two.png", "three.png"}), engine.getRequiredFiles());
    EXPECT_EQ("44,255,7", colour(gui_background)) << "channels keep their low 8 bits";
    EXPECT_EQ("1,2,3", colour(gui_border));
    EXPECT_EQ("4,5,6", colour(gui_text));
}

TEST_F(SettingsFile, EveryMissingElementIsReportedInOrder) {
    gEngine engine;
    EXPECT_EQ(missingThree, load(engine, file("two.xml", twoElements), false));
    EXPECT_EQ("Error finding <window> element in settings.xml"
              "Error finding <sound> element in settings.xml" +
                  std::string(missingThree),
              load(engine, file("none.xml", "<?xml version=\"1.0\"?><!-- only a comment -->"), false));
}

TEST_F(SettingsFile, MissingOrOddValuesReadAsZeroOrOff) {
    gEngine::setResolution(640, 480);
    gEngine engine;
    const std::string path = file("odd.xml",
                                  "<window width=\"0\" height=\"-20\"/><sound effects=\"On\" music=\"ON\"/>"
                                  "<required/><plugins/><background><c green=\"9\"/><c/></background>");
    EXPECT_EQ("", load(engine, path, true));
    EXPECT_EQ(640, resolutionX) << "a width of 0 keeps the size set before";
    EXPECT_EQ(480, resolutionY) << "a negative height keeps the size set before";
    EXPECT_FALSE(CSoundBank::SoundControl.isEnabled()) << "only \"on\" switches sound on";
    EXPECT_FALSE(CSoundBank::MusicControl.isEnabled());
    EXPECT_TRUE(engine.getRequiredFiles().empty());
    EXPECT_EQ("0,9,0", colour(gui_background));
    EXPECT_EQ("0,0,0", colour(gui_border));

    gEngine other;
    CSoundBank::SoundControl.setSound(true);
    CScreen::setScale(2);
    EXPECT_EQ("The window's scale 9 in the settings file is not 1 to 4; it was not used. ",
              load(other, file("bare.xml", "<window width=\"900\" scale=\"9\"/><sound/><required/><plugins/><background/>"),
                   true));
    EXPECT_EQ(2, CScreen::getScale()) << "a scale out of range changes nothing";
    EXPECT_EQ(900, resolutionX);
    EXPECT_EQ(480, resolutionY);
    EXPECT_FALSE(CSoundBank::SoundControl.isEnabled()) << "a missing switch reads as off";
}

TEST_F(SettingsFile, RequiredNamesAreKeptWholeAndEmptyOnesAreAnError) {
    const std::string longName = "assets/" + std::string(70, 'n') + ".png";
    gEngine engine;
    const std::string path = file("names.xml", "<window/><sound/><required><f>a.png</f><f></f><f>" + longName +
                                                   "</f></required><plugins/><background/>");
    EXPECT_EQ("Error: empty file name in <required> element in settings.xml", load(engine, path, false));
    EXPECT_EQ((std::vector<std::string>{"a.png", longName}), engine.getRequiredFiles())
        << "a name longer than 49 characters must be kept at its full length";
}

TEST_F(SettingsFile, AFileThatCannotBeReadFailsQuietly) {
    gEngine engine;
    EXPECT_EQ("", load(engine, directory + "/missing.xml", false));
    EXPECT_EQ("", load(engine, file("broken.xml", "<window width=\"1\"><sound>"), false));
}

TEST_F(SettingsFile, StartUpFailuresReportAndReturnMinusOne) {
    const std::string twoPath = file("two.xml", twoElements);
    std::string shortList = "<window/><sound/><required>";
    for (int i = 0; i < 3; ++i) shortList += "<f>assets/tiles.png</f>";
    shortList += "</required><plugins/><background/>";
    const std::string shortPath = file("short.xml", shortList);
    const struct {
        std::string path, errors;
    } cases[] = {
        {twoPath, std::string(missingThree) + "Failed to load settings from config.xml, exiting"},
        {shortPath, "The <required> list of the settings file names 3 images; the game needs 7, exiting"},
    };
    for (const auto& c : cases) {
        gEngine engine;
        CapturedOutput out(stdout);
        CapturedOutput err(stderr);
        EXPECT_EQ(-1, engine.execute(c.path.c_str()));
        EXPECT_EQ(c.errors, err.text());
        EXPECT_EQ("something went horribly wrong\n", out.text()) << "the shut-down sequence must not run";
    }
}

class CommandLine : public SettingsFile {
protected:
    int run(std::vector<std::string> args) {
        args.insert(args.begin(), "zentrova");
        std::vector<char*> argv;
        for (std::string& arg : args) argv.push_back(&arg[0]);
        argv.push_back(nullptr);
        CapturedOutput out(stdout);
        CapturedOutput err(stderr);
        const int status = SDL_main(static_cast<int>(args.size()), argv.data());
        lastOut = out.text();
        lastErr = err.text();
        return status;
    }
    std::string lastOut, lastErr;
};

TEST_F(CommandLine, SizeAndSoundOptionsApplyOnlyWhereTheFileIsSilent) {
    resolutionX = 800;
    resolutionY = 600;
    const std::string onlyWindow = file("window.xml", "<window width=\"0\" height=\"0\"/>");
    CSoundBank::MusicControl.setSound(false);
    EXPECT_EQ(-1, run({"-w", "1024", "-h", "abc", "-sounds", "off", "-music", "on", "-config", onlyWindow}));
    EXPECT_EQ(1024, resolutionX);
    EXPECT_EQ(600, resolutionY) << "a height that is not a number reads as 0";
    EXPECT_FALSE(CSoundBank::SoundControl.isEnabled());
    EXPECT_FALSE(CSoundBank::MusicControl.isEnabled()) << "only \"off\" acts";

    EXPECT_EQ(-1, run({"-config", file("sized.xml", "<window width=\"640\"/>"), "-w", "1000"}));
    EXPECT_EQ(640, resolutionX) << "the file's positive width wins over -w";
    EXPECT_EQ(-1, run({"-config", onlyWindow, "-w", "1000", "-w"}));
    EXPECT_EQ(1000, resolutionX) << "a -w without a value does nothing";

    EXPECT_EQ(-1, run({"-scale", "3", "-config", onlyWindow}));
    EXPECT_EQ(3, CScreen::getScale());
    EXPECT_EQ(-1, run({"-scale", "5", "-config", onlyWindow}));
    EXPECT_EQ("-scale 5: the scale is a number from 1 to 4; it was not used", lastErr.substr(0, lastErr.find("Error")));
    EXPECT_EQ(3, CScreen::getScale());
    EXPECT_EQ(-1, run({"-config", file("scaled.xml", "<window scale=\"2\"/>"), "-scale", "4"}));
    EXPECT_EQ(2, CScreen::getScale()) << "the file's scale wins over -scale, as its size does over -w";
}

TEST_F(CommandLine, AConfigNameOfAnyLengthIsUsedWhole) {
    std::string path = directory;
    for (int i = 0; i < 3; ++i) {
        path += "/" + std::string(40, static_cast<char>('a' + i));
        ASSERT_EQ(0, mkdir(path.c_str(), 0700));
    }
    path += "/settings.xml";
    writeFile(path, twoElements);
    ASSERT_GT(path.size(), 99u);
    EXPECT_EQ(-1, run({"-config", path}));
    EXPECT_EQ(std::string(missingThree) + "Failed to load settings from config.xml, exiting", lastErr)
        << "the settings should have come from the long-named file";
}

TEST_F(CommandLine, IconConversionWritesTheIconElement) {
    WorkInTemporaryDirectory work;  // the conversion writes into the working directory
    ASSERT_TRUE(work.ok());
    writeFile("three.bin", "abc");
    writeFile("empty.bin", "");
    EXPECT_EQ(0, run({"-config", "-iconconvert", "three.bin", "-w"}))
        << "an option's value is examined as an argument of its own";
    EXPECT_EQ("Icon filename: three.bin\nIcon file size: 3 bytes.\nConverted file size: 4 bytes.\n"
              "Converted file information (copy this into the xml):\n\n<icon>YWJj</icon>",
              readFile("icon_result.txt"));
    EXPECT_EQ("", lastOut);

    EXPECT_EQ(0, run({"-iconconvert", "empty.bin"}));
    EXPECT_EQ("Icon filename: empty.bin\nIcon file size: 0 bytes.\nThere was an error in the encoding allocation.\n",
              readFile("icon_result.txt"));
}

TEST_F(CommandLine, IconConversionReportsWhatItCannotDo) {
    WorkInTemporaryDirectory work;
    ASSERT_TRUE(work.ok());
    EXPECT_EQ(0, run({"-iconconvert"}));
    EXPECT_NE(0, access("icon_result.txt", F_OK)) << "without a path nothing is written";

    EXPECT_EQ(0, run({"-iconconvert", "no_such_file.png"}));
    EXPECT_EQ("ERROR\n", lastOut);
    EXPECT_EQ(0, access("icon_result.txt", F_OK)) << "the output is created before the input is read";
    EXPECT_EQ("", readFile("icon_result.txt"));

    ASSERT_EQ(0, unlink("icon_result.txt"));
    ASSERT_EQ(0, mkdir("icon_result.txt", 0700));
    writeFile("one.bin", "x");
    EXPECT_EQ(0, run({"-iconconvert", "one.bin"}));
    EXPECT_EQ("Could not create icon_result.txt", lastErr);
    EXPECT_EQ("", lastOut);
}

TEST_F(CommandLine, AFrameCapOutsideOneToAThousandIsReportedAndNotApplied) {
    const std::string onlyWindow = file("window.xml", "<window width=\"0\" height=\"0\"/>");
    for (const char* rate : {"0", "1001", "60x", "abc"}) {
        EXPECT_EQ(-1, run({"-fps", rate, "-config", onlyWindow}));
        EXPECT_EQ(std::string("-fps ") + rate + ": the frame cap is a number from 1 to 1000; running without one",
                  lastErr.substr(0, lastErr.find("Error finding")));
    }
    for (const char* rate : {"1", "1000"}) {
        EXPECT_EQ(-1, run({"-fps", rate, "-config", onlyWindow}));
        EXPECT_EQ(std::string::npos, lastErr.find("-fps")) << rate;
    }
    gEngine::setFrameCap(0);
}

TEST(PlayerDirectory, IsXdgDataHomeWhenAbsoluteElseUnderHome) {
    EXPECT_EQ("/data/zentrova", installation::playerDirectory("/data", "/home/p"));
    EXPECT_EQ("/home/p/.local/share/zentrova", installation::playerDirectory("data", "/home/p"))
        << "a relative XDG_DATA_HOME is ignored";
    EXPECT_EQ("/home/p/.local/share/zentrova", installation::playerDirectory("", "/home/p"));
    EXPECT_EQ("", installation::playerDirectory(nullptr, ""));
}

// Frozen time moves on only by what the frames cost and what the pacer sleeps.
class FrameCap : public ::testing::Test {
protected:
    void SetUp() override {
        ticks::freeze(10000);
        sleeps.clear();
        FramePacer::sleep = [](Uint32 milliseconds) {
            sleeps.push_back(milliseconds);
            ticks::advance(milliseconds);
        };
    }
    void TearDown() override {
        FramePacer::sleep = SDL_Delay;
        ticks::thaw();
    }
    static std::vector<Uint32> sleeps;
};
std::vector<Uint32> FrameCap::sleeps;

TEST_F(FrameCap, SixtyFramesTakeOneSecondExactlyWhateverEachFrameCosts) {
    FramePacer pacer(60);
    for (int frame = 0; frame < 120; ++frame) {
        ticks::advance(frame % 3 == 0 ? 11 : 2);
        pacer.wait();
    }
    EXPECT_EQ(12000u, ticks::now()) << "16 2/3 ms a frame, rounded each frame, must not drift";
    EXPECT_EQ(120u, sleeps.size());
    for (Uint32 slept : sleeps) EXPECT_GT(slept, 0u) << "a frame that is due returns without sleeping";
}

TEST_F(FrameCap, ALateFrameIsMadeUpAndAStallStartsANewSchedule) {
    FramePacer pacer(50);
    ticks::advance(70);
    pacer.wait();
    EXPECT_TRUE(sleeps.empty()) << "50 ms behind: no sleep";
    pacer.wait();
    pacer.wait();
    EXPECT_TRUE(sleeps.empty()) << "10 ms behind: still none";
    pacer.wait();
    EXPECT_EQ(std::vector<Uint32>{10}, sleeps) << "back on the schedule";
    EXPECT_EQ(10080u, ticks::now());

    ticks::advance(500);
    sleeps.clear();
    pacer.wait();
    ticks::advance(500);
    sleeps.clear();
    pacer.wait();
    EXPECT_TRUE(sleeps.empty());
    const Uint32 restart = ticks::now();
    for (int frame = 0; frame < 50; ++frame) pacer.wait();
    EXPECT_EQ(restart + 1000, ticks::now()) << "the frames after a stall come at the full rate, not at once";
}

TEST_F(FrameCap, WithoutACapTheLoopNeverSleeps) {
    for (int rate : {0, -5, 1001}) {
        FramePacer pacer(rate);
        for (int frame = 0; frame < 10; ++frame) pacer.wait();
    }
    EXPECT_TRUE(sleeps.empty());
    EXPECT_EQ(10000u, ticks::now());
}

TEST(ViewSettings, StartWithCeilingsAndRoomsAndTogglesAreTheirOwnInverse) {
    gameSettings view;
    gameSettings* settings = &view;
    EXPECT_TRUE(settings->isCeilingVisible());
    EXPECT_FALSE(settings->isGridOn());
    EXPECT_TRUE(settings->areRoomsOn());
    EXPECT_EQ(1, settings->getTotalWallTypes());

    settings->toggleGrid();
    EXPECT_TRUE(settings->isGridOn());
    EXPECT_TRUE(settings->isCeilingVisible()) << "the flags are independent";
    settings->toggleGrid();
    EXPECT_FALSE(settings->isGridOn());

    CapturedOutput out(stdout);
    settings->dumpSettings();
    settings->toggleCeilings();
    settings->toggleRooms();
    EXPECT_FALSE(settings->areRoomsOn());
    settings->dumpSettings();
    settings->toggleCeilings();
    settings->toggleRooms();
    EXPECT_EQ("Ceilings visible: 1\nCeilings visible: 0\n", out.text());
    EXPECT_TRUE(settings->isCeilingVisible());
    EXPECT_TRUE(settings->areRoomsOn());
}

}  // namespace
