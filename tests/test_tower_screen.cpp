// Plays the tower screen through synthesized SDL events, as a player would,
// and checks the map, the money, the messages and the saved file.
#include <SDL.h>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "Autosaves.h"
#include "CScreen.h"
#include "CSurface.h"
#include "Clock.h"
#include "Elevator.h"
#include "Lobby.h"
#include "Map.h"
#include "RoomDefs.h"
#include "frameScenes.h"
#include "freshStart.h"
#include "gEngine.h"
#include "gMap.h"
#include "gMenu.h"
#include "game.h"
#include "gui.h"
#include "keyModifiers.h"
#include "protocol.h"
#include "testSupport.h"
#include "ticks.h"
#include "toolbar.h"

using namespace testing_support;

namespace {

// The bar cells of the buttons, as the bar's table lays them out.
constexpr int barCell(int code) {
    for (const ToolbarButton& button : toolbarButtons)
        if (button.code == code) return button.cell;
    return -1;
}
constexpr int saveButton = barCell(events::SAVE_GAME);
constexpr int loadButton = barCell(events::LOAD_GAME);
constexpr int floorButton = barCell(events::BUILD_FLOOR);
constexpr int lobbyButton = barCell(events::BUILD_LOBBY);
constexpr int hotelButton = firstRoomCell + 1;  // the one-cell hotel room, the kind after the elevator
constexpr int bulldozeButton = barCell(events::BULLDOZE);
constexpr int exitButton = barCell(events::EXIT_TO_MENU);

class TowerScreen : public ::testing::Test {
protected:
    void SetUp() override {
        // Each test plays in a directory of its own, so save.txt starts absent.
        char name[] = "/tmp/zentrova-tower-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(name));
        workDir = name;
        ASSERT_NE(nullptr, getcwd(repoDir, sizeof repoDir));
        ASSERT_EQ(0, symlink((std::string(repoDir) + "/assets").c_str(), (workDir + "/assets").c_str()));
        ASSERT_EQ(0, chdir(workDir.c_str()));

        resetGame();
        stateID = MAP;
        nextState = NONE;
        currentState = std::make_unique<gMap>();
        screen = static_cast<gMap*>(currentState.get());
        game = Game::Instance();
        gui = GUI::Instance();
    }

    void TearDown() override {
        currentState.reset();
        nextState = NONE;
        endGame();
        Game::openForWriting = [](const char* path) { return fopen(path, "w"); };
        ticks::thaw();
        keyModifiers::release();
        ASSERT_EQ(0, chdir(repoDir));
        runCommand("rm -rf '" + workDir + "'");
    }

    void send(SDL_Event event) {
        SDL_PushEvent(&event);
        pumpEvents();
        screen = dynamic_cast<gMap*>(currentState.get());
    }

    // The pointer position over the centre of a cell with the starting camera.
    static int cellX(int x, int y) { return 384 + (x - y) * 64; }
    static int cellY(int x, int y, int z = 0) { return (x + y) * 32 + 32 - 64 * z; }

    // Two moves, since the cursor follows one motion late after the bar.
    void pointAt(int x, int y, int z = 0) {
        send(motionEvent(cellX(x, y) + 1, cellY(x, y, z) + 1));
        send(motionEvent(cellX(x, y), cellY(x, y, z)));
    }

    void clickCell(int x, int y, int z = 0) {
        pointAt(x, y, z);
        send(buttonEvent(SDL_BUTTON_LEFT, cellX(x, y), cellY(x, y, z)));
    }

    void clickButton(int cell) {
        send(motionEvent(cell * 32 + 16, 16));
        send(buttonEvent(SDL_BUTTON_LEFT, cell * 32 + 16, 16));
    }

    void frame() {
        if (!currentState) return;
        currentState->Loop();
        currentState->Render();
    }

    Map& map() { return game->getMap(); }

    // Puts an amount in the bank the way a player could: in a saved game, loaded.
    void setFunds(double amount) {
        game->save();
        std::string text = readFile("save.txt");
        text.replace(0, text.find('\n'), std::to_string(amount));
        writeFile("save.txt", text);
        game->load();
        ASSERT_DOUBLE_EQ(amount, game->getFunds());
    }

    std::string workDir;
    char repoDir[4096];
    gMap* screen = nullptr;
    Game* game = nullptr;
    GUI* gui = nullptr;
};

TEST_F(TowerScreen, BuildingAFloorThenALobbyChargesTheirPrices) {
    clickCell(3, 3);
    EXPECT_TRUE(map().tileAt(3, 3, 0)->hasFloor()) << "the floor tool is selected from the start";
    EXPECT_DOUBLE_EQ(Game::STARTING_FUNDS - Game::FLOOR_COST, game->getFunds());

    clickButton(lobbyButton);
    EXPECT_EQ("Build Lobby: Cost $100", std::string(gui->getHelpText())) << "the label states what is charged";
    clickCell(3, 3);
    ASSERT_NE(nullptr, map().getLobby());
    EXPECT_EQ(map().getLobby(), map().roomAt(3, 3, 0));
    EXPECT_DOUBLE_EQ(Game::STARTING_FUNDS - Game::FLOOR_COST - rooms[0].cost, game->getFunds())
        << "a lobby cell costs the lobby definition's price, not its button's label";

    // Funds of exactly the price build and leave nothing; a cent less builds nothing.
    for (const auto& [button, price] : {std::pair{floorButton, Game::FLOOR_COST}, {lobbyButton, rooms[0].cost}}) {
        clickButton(button);
        setFunds(price - 0.01);
        clickCell(4, 3);
        EXPECT_STREQ("You don't have enough money to build that.", gui->getMessageText());
        EXPECT_DOUBLE_EQ(price - 0.01, game->getFunds());
        setFunds(price);
        clickCell(4, 3);
        EXPECT_DOUBLE_EQ(0, game->getFunds()) << "the price of button " << button << " is affordable";
    }
    EXPECT_EQ(map().getLobby(), map().roomAt(4, 3, 0));

    setFunds(1000);
    send(keyEvent(SDLK_SPACE));
    frame();
    clickButton(floorButton);
    clickCell(5, 5);
    frame();
    EXPECT_EQ(0u, gui->getInfoText().rfind("Funds: 990.00\n", 0)) << "paused, the read-out still follows the funds";
}

TEST_F(TowerScreen, RefusalsAreShownAndLastTwoAndAHalfSeconds) {
    clickCell(4, 4);
    const double funds = Game::STARTING_FUNDS - Game::FLOOR_COST;
    // Each refusal leaves the funds as they were; the bulldozer refuses silently.
    const struct {
        int button, x, z;
        const char* message;
    } refusals[] = {{hotelButton, 4, 0, "You must build a lobby first."}, {lobbyButton, 3, 0, "You can't build there."},
                    {floorButton, 4, 0, "There is a floor here already."}, {bulldozeButton, 3, 0, nullptr},
                    {hotelButton, 3, 0, "You can't build there."},
                    {floorButton, 3, 1, "There is nothing below to build on."}};
    for (const auto& refusal : refusals) {
        clickButton(refusal.button);
        if (refusal.z != screen->getCamera().z) send(keyEvent(SDLK_PAGEUP));
        gui->setMessageText(nullptr);
        clickCell(refusal.x, 4, refusal.z);
        EXPECT_STREQ(refusal.message, gui->getMessageText()) << "by button " << refusal.button;
        EXPECT_DOUBLE_EQ(funds, game->getFunds()) << "after a refusal by button " << refusal.button;
    }

    ticks::advance(2400);
    gui->setInfoText("repaint");
    gui->update();
    EXPECT_NE(nullptr, gui->getMessageText()) << "a message stays at least 2.5 seconds";
    ticks::advance(200);
    gui->setInfoText("repaint");
    gui->update();
    EXPECT_EQ(nullptr, gui->getMessageText()) << "the first repaint after 2.5 seconds clears it";
}

TEST_F(TowerScreen, ToolButtonsFormOneSelectionGroup) {
    clickButton(floorButton);
    clickButton(bulldozeButton);
    size_t floorIndex = 4, bulldozeIndex = gui->buttonCount() - 3;
    EXPECT_FALSE(gui->buttonAt(floorIndex).isActive()) << "choosing the bulldozer clears the floor tool";
    EXPECT_TRUE(gui->buttonAt(bulldozeIndex).isActive());
    EXPECT_EQ(&Game::bulldoze, screen->getClickAction());

    clickButton(saveButton);
    EXPECT_TRUE(gui->buttonAt(bulldozeIndex).isActive()) << "save is not a tool and leaves the tool selected";
    EXPECT_TRUE(gui->buttonAt(2).isActive());

    send(keyEvent(SDLK_ESCAPE));
    EXPECT_EQ(&Game::buildEmptyFloor, screen->getClickAction()) << "plain Escape returns to building floors";
    EXPECT_EQ(1, map().getCursorSpanX());
}

TEST_F(TowerScreen, TheCursorHidesOverTheBarAndBuildsNothingThere) {
    send(motionEvent(200, 16));
    EXPECT_FALSE(game->isCursorVisible());
    send(buttonEvent(SDL_BUTTON_LEFT, cellX(0, 0), 20));
    for (int x = 0; x < Map::capacityX; ++x)
        for (int y = 0; y < Map::capacityY; ++y) EXPECT_FALSE(map().tileAt(x, y, 0)->hasFloor());
    EXPECT_DOUBLE_EQ(Game::STARTING_FUNDS, game->getFunds());

    // Straight from the bar onto the map in one motion: the cursor shows
    // under the pointer, and the click builds there, not where it was.
    pointAt(2, 2);
    send(motionEvent(200, 16));
    send(motionEvent(cellX(6, 6), cellY(6, 6)));
    EXPECT_EQ(6, map().getCursorPosition().x);
    EXPECT_EQ(6, map().getCursorPosition().y);
    send(buttonEvent(SDL_BUTTON_LEFT, cellX(6, 6), cellY(6, 6)));
    EXPECT_TRUE(map().tileAt(6, 6, 0)->hasFloor());
    EXPECT_FALSE(map().tileAt(2, 2, 0)->hasFloor());
}

TEST_F(TowerScreen, DraggingWithTheLeftButtonBuildsAlongTheWay) {
    pointAt(2, 2);
    for (int x = 2; x <= 6; ++x) send(motionEvent(cellX(x, 2), cellY(x, 2), 64, 32, SDL_BUTTON(SDL_BUTTON_LEFT)));
    for (int x = 2; x <= 6; ++x) EXPECT_TRUE(map().tileAt(x, 2, 0)->hasFloor()) << "cell (" << x << ", 2)";
    EXPECT_DOUBLE_EQ(Game::STARTING_FUNDS - 5 * Game::FLOOR_COST, game->getFunds());
}

TEST_F(TowerScreen, CameraStopsAtItsBoundsAndFloorsClamp) {
    keyModifiers::hold(KMOD_LSHIFT);
    send(motionEvent(300, 300, 10, -5, SDL_BUTTON(SDL_BUTTON_RIGHT)));
    keyModifiers::release();
    EXPECT_EQ(384 + 20, screen->getCamera().x) << "a right drag pulls the tower, twice as far with Shift";
    EXPECT_EQ(-10, screen->getCamera().y);
    send(motionEvent(300, 300, -20, 10, SDL_BUTTON(SDL_BUTTON_RIGHT)));
    EXPECT_EQ(384, screen->getCamera().x);

    send(keyEvent(SDLK_LEFT));
    ticks::advance(500);
    frame();
    EXPECT_EQ(384 + 120, screen->getCamera().x) << "half a second held scrolls 120 pixels, however many frames";
    for (int i = 0; i < 400; ++i) {
        ticks::advance(17);
        frame();
    }
    EXPECT_EQ(1280, screen->getCamera().x) << "starting from 384, steps of 4 reach the bound exactly";
    send(keyEvent(SDLK_LEFT, false));

    send(keyEvent(SDLK_PAGEDOWN));
    EXPECT_EQ(0, screen->getCamera().z);
    for (int i = 0; i < 12; ++i) send(keyEvent(SDLK_PAGEUP));
    EXPECT_EQ(game->getMaxFloors() - 1, screen->getCamera().z);
    frame();
    EXPECT_TRUE(gui->showsTens() && gui->getTensClip().x == 12 && gui->getDigitClip().x == 0)
        << "the tenth storey reads 10";
    send(buttonEvent(SDL_BUTTON_WHEELDOWN, 400, 300));
    EXPECT_EQ(game->getMaxFloors() - 2, screen->getCamera().z) << "a wheel turn down is one floor down";
}

TEST_F(TowerScreen, ExitWindowOkReturnsToTheMenuAndTheTowerWaits) {
    clickCell(4, 4);
    const double funds = game->getFunds();
    clickButton(exitButton);
    ASSERT_NE(nullptr, gui->getWindow()) << "the exit button asks first";
    const gWindow& window = *gui->getWindow();
    const int okX = window.getX() + 10 + 50, okY = window.getY() + window.getFrame().h - 50 + 10;
    // The window reads the pointer from SDL itself, so move the real one.
    SDL_WarpMouse(static_cast<Uint16>(okX), static_cast<Uint16>(okY));
    pumpEvents();
    send(buttonEvent(SDL_BUTTON_LEFT, okX, okY));
    // gMenu's constructor runs inside the switch; the pointer is where we left it.
    EXPECT_EQ(MENU, stateID);
    EXPECT_NE(nullptr, dynamic_cast<gMenu*>(currentState.get()));

    currentState->Loop();
    currentState->Render();
    const SDL_Color below = pixelAt(CSurface::slot(slots::WINDOW), 5, 590);
    EXPECT_EQ(0, below.r + below.g + below.b) << "the menu stands on black, not on the tower's sky";
    EXPECT_EQ(0, access("autosave-1.txt", F_OK)) << "leaving the tower autosaves it";
    EXPECT_NE(0, access("save.txt", F_OK)) << "an autosave never writes save.txt";

    setNextState(MAP);
    change_state();
    ASSERT_TRUE(Game::exists());
    EXPECT_DOUBLE_EQ(funds, Game::Instance()->getFunds()) << "coming back finds the same game";
    EXPECT_TRUE(Game::Instance()->getMap().tileAt(4, 4, 0)->hasFloor());
    currentState->Loop();
    currentState->Render();
    const SDL_Color sky = pixelAt(CSurface::slot(slots::WINDOW), 5, 100);
    EXPECT_EQ(64, sky.b) << "back in the tower, the night sky";
}

// Day after day at 06:00 an autosave goes to the file written longest ago;
// save.txt is the player's alone.
TEST_F(TowerScreen, AutosavesComeEveryDawnInThreeFilesInTurn) {
    clickCell(5, 5);
    game->save();
    const std::string saved = readFile("save.txt");
    keyModifiers::hold(KMOD_LCTRL);  // an hour a step, from 23:00 of day 1 to 22:00 of day 5
    {
        CapturedOutput out(stdout);
        for (int step = 0; step < 4 * 24 - 1; ++step) {
            ticks::advance(1000);
            frame();
        }
        EXPECT_EQ("Autosaved to autosave-1.txt\nAutosaved to autosave-2.txt\nAutosaved to autosave-3.txt\n"
                  "Autosaved to autosave-1.txt\n",
                  out.text());
    }
    keyModifiers::release();
    EXPECT_EQ(saved, readFile("save.txt"));
    for (const auto& [file, clock] : {std::pair{"autosave-1.txt", "0 6 5 1 1"}, {"autosave-2.txt", "0 6 3 1 1"},
                                     {"autosave-3.txt", "0 6 4 1 1"}}) {
        const std::string text = readFile(file);
        EXPECT_EQ(clock, text.substr(text.find('\n') + 1, 9)) << file;
    }
    EXPECT_TRUE(game->loadFile("autosave-2.txt", "autosave-2.txt"));
    EXPECT_EQ(3, game->getClock().getDay());
    EXPECT_TRUE(game->getMap().tileAt(5, 5, 0)->hasFloor());
    ASSERT_EQ(0, mkdir("autosave-2.txt.tmp", 0755));
    CapturedOutput out(stdout);
    EXPECT_FALSE(game->loadFile("autosave-2.txt.tmp", "that folder"));
    game->autosave();
    EXPECT_EQ("that folder is not a file; it was not read\nThe autosave to autosave-2.txt could not be written\n",
              out.text())
        << "the next in turn, which cannot be written beside a folder of its temporary name";
    EXPECT_STREQ("ERROR autosaving game.", gui->getMessageText());
}

// A game started again goes on with a missing autosave, else the oldest.
TEST_F(TowerScreen, AfterARestartTheAutosavesGoOnWithTheMissingOrTheOldest) {
    EXPECT_EQ("autosave-1.txt", Autosaves().next());
    for (int number : {1, 2, 3}) writeFile(Autosaves::fileName(number), "");
    const auto age = [](int number, time_t seconds) {
        const timespec times[2] = {{seconds, 0}, {seconds, 0}};
        return utimensat(AT_FDCWD, Autosaves::fileName(number).c_str(), times, 0);
    };
    ASSERT_EQ(0, age(1, 3000) + age(2, 1000) + age(3, 2000));
    Autosaves turns;
    EXPECT_EQ("autosave-2.txt", turns.next());
    EXPECT_EQ("autosave-3.txt", turns.next());
    EXPECT_EQ("autosave-1.txt", turns.next());
    ASSERT_EQ(0, remove("autosave-3.txt"));
    EXPECT_EQ("autosave-3.txt", Autosaves().next());
}

// The window manager resizes the window through the engine's loop, as a player drags its border.
TEST_F(TowerScreen, AResizeLaysTheBarsTheWindowsAndTheViewOutAgain) {
    const auto resizeTo = [](int width, int height) {
        SDL_Event resize;
        resize.type = SDL_VIDEORESIZE;
        resize.resize.w = width;
        resize.resize.h = height;
        SDL_PushEvent(&resize);
        gEngine::runFrame();
    };
    clickButton(exitButton);
    game->showFinances();
    const SDL_Rect panel = gui->getPanel()->getFrame();
    CapturedOutput out(stdout);
    resizeTo(1000, 700);
    ASSERT_EQ(1000, resolutionX);
    ASSERT_EQ(700, resolutionY);
    SDL_Surface* window = CSurface::slot(slots::WINDOW);
    const auto is = [&](const SDL_Color& colour, int x, int y) {
        const SDL_Color pixel = pixelAt(window, x, y);
        return pixel.r == colour.r && pixel.g == colour.g && pixel.b == colour.b;
    };
    EXPECT_TRUE(is(gui_border, 0, 699) && is(gui_background, 6, 680) && !is(gui_border, 0, 675))
        << "the status line along the new bottom edge";
    EXPECT_TRUE(is(gui_background, 990, 2)) << "the bar across the whole width";
    EXPECT_EQ(1000 / 2 - 244 / 2, gui->getWindow()->getX()) << "the exit window in the middle again";
    EXPECT_EQ(700 / 2 - 68 / 2, gui->getWindow()->getY());
    EXPECT_EQ(panel.x + 100, gui->getPanel()->getFrame().x) << "and the finances";
    EXPECT_EQ(panel.y + 50, gui->getPanel()->getFrame().y);
    EXPECT_EQ(384 + 100, screen->getCamera().x) << "the view keeps its middle";
    EXPECT_EQ(0 + 50, screen->getCamera().y);
    EXPECT_EQ(1000 - 1280, screen->getBounds().minX);

    resizeTo(300, 200);
    EXPECT_EQ(640, resolutionX);
    EXPECT_EQ(480, resolutionY);
    EXPECT_EQ(640 - 1280, screen->getBounds().minX);
    resizeTo(800, 600);
    EXPECT_EQ(384, screen->getCamera().x) << "back where it started";
    EXPECT_EQ(0, screen->getCamera().y);
    EXPECT_EQ(panel.x, gui->getPanel()->getFrame().x);
    EXPECT_EQ("A window of 300 x 200 is too small for the game; it is raised to 640 x 480\n", out.text());
}

TEST_F(TowerScreen, InputAfterExitInTheSameBatchIsDropped) {
    SDL_Event quit;
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    SDL_Event later[] = {keyEvent(SDLK_SPACE), motionEvent(300, 300, 1, 1, SDL_BUTTON(SDL_BUTTON_LEFT)),
                         buttonEvent(SDL_BUTTON_LEFT, 300, 300), buttonEvent(SDL_BUTTON_WHEELDOWN, 300, 300),
                         userEvent(events::EXIT_TO_MENU), userEvent(events::SAVE_GAME),
                         userEvent(events::LOAD_CONFIRMED), keyEvent(SDLK_d)};
    for (SDL_Event& event : later) SDL_PushEvent(&event);
    CapturedOutput out(stdout);
    pumpEvents();
    EXPECT_EQ(EXIT, stateID);
    EXPECT_FALSE(Game::exists());
    EXPECT_FALSE(GUI::exists());
    const std::string text = out.text();
    EXPECT_NE(std::string::npos, text.find("OMG, EXIT PROGRAM!\n"));
    EXPECT_EQ(text.find("OMG, EXIT PROGRAM!"), text.rfind("OMG, EXIT PROGRAM!")) << "exit ran twice";
    EXPECT_EQ(std::string::npos, text.find("Room Type")) << "the debug key after exit reached the game";
    stateID = MAP;  // TearDown deletes the screen that is still current
}

TEST_F(TowerScreen, QueryToolAndFinancesTellWhatTheTowerHoldsAndEarns) {
    for (int x = 2; x <= 6; ++x) clickCell(x, 2);
    clickCell(6, 4);
    clickButton(lobbyButton);
    clickCell(2, 2);
    clickButton(hotelButton);
    clickCell(6, 2);  // at the end of the lobby's floors
    clickCell(6, 4);  // on a floor of its own, apart
    clickButton(barCell(events::QUERY_TOOL));
    clickCell(6, 2);
    ASSERT_NE(nullptr, gui->getPanel());
    std::vector<std::string> lines = gui->getPanel()->getLines();
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ("Storey 1, cell 6, 2", lines[0]);
    EXPECT_EQ("Single Room 1", lines[2]);
    EXPECT_EQ("Cost $500, rent $40 every day", lines[3]);
    EXPECT_EQ("Next rent on day 2", lines[4]);
    EXPECT_EQ("Borders the lobby's walkable area", lines[5]);
    EXPECT_DOUBLE_EQ(game->getFunds(), Game::STARTING_FUNDS - 60 - rooms[0].cost - 2 * rooms[2].cost)
        << "the query costs nothing";
    for (int x = 0; x < Map::capacityX; ++x)
        for (int y = 0; y < Map::capacityY; ++y) ASSERT_FALSE(map().tileAt(x, y, 0)->pathHasBeenChecked());

    clickCell(9, 9);
    EXPECT_EQ(nullptr, gui->getPanel()) << "a click outside closes the window, and does nothing else";
    clickCell(6, 4);
    ASSERT_NE(nullptr, gui->getPanel());
    EXPECT_EQ("Does not border the lobby's walkable area", gui->getPanel()->getLines().back());
    const SDL_Rect ok = gui->getPanel()->getOkPlate();
    send(buttonEvent(SDL_BUTTON_LEFT, ok.x + 5, ok.y + 5));
    EXPECT_EQ(nullptr, gui->getPanel()) << "OK closes it";
    clickCell(2, 2);
    EXPECT_EQ("1 cell", gui->getPanel()->getLines().back());
    send(keyEvent(SDLK_ESCAPE));

    game->getClock().set(59, 23, 1, 1, 1);
    ticks::advance(10000);
    frame();
    clickButton(barCell(events::SHOW_FINANCES));
    ASSERT_NE(nullptr, gui->getPanel());
    lines = gui->getPanel()->getLines();
    EXPECT_EQ("Balance: $" + moneyText(game->getFunds()), lines[0]);
    EXPECT_EQ("Construction: $" + moneyText(60 + rooms[0].cost + 2 * rooms[2].cost) + " this month, $0 last month",
              lines[1]);
    EXPECT_EQ("  2 Single Room, $40 every day", lines[4]);
    EXPECT_EQ("Rent of the last 14 days: $80, today $80", lines.back());
    EXPECT_EQ(14u, gui->getPanel()->getChartArea().w / (gPanel::barWidth + gPanel::barGap));
    send(keyEvent(SDLK_ESCAPE));
    for (size_t i = 0; i < gui->buttonCount(); ++i) {
        const Button& button = gui->buttonAt(i);
        if (button.getCode() == events::QUERY_TOOL) {
            EXPECT_TRUE(button.isActive()) << "the tool stays chosen";
        } else if (button.getCode() == events::SHOW_FINANCES) {
            EXPECT_FALSE(button.isActive()) << "the finances button goes out with its window";
        }
    }
}

TEST_F(TowerScreen, UndoTakesBackBuildingAndBulldozingWithTheirCost) {
    auto undo = [this] {
        keyModifiers::hold(KMOD_LCTRL);
        send(keyEvent(SDLK_z));
        keyModifiers::release();
    };
    game->save();
    const std::string fresh = readFile("save.txt");
    clickCell(3, 3);
    undo();
    EXPECT_DOUBLE_EQ(Game::STARTING_FUNDS, game->getFunds());
    game->save();
    EXPECT_EQ(fresh.substr(0, fresh.find("\nledger ")), readFile("save.txt").substr(0, fresh.find("\nledger ")))
        << "the floor, its roof, masks and shadows are gone as if never built";

    for (int x = 2; x <= 7; ++x)
        for (int y = 2; y <= 4; ++y) clickCell(x, y);
    clickButton(lobbyButton);
    clickCell(2, 2);
    clickButton(hotelButton);
    clickCell(3, 2);
    clickButton(firstRoomCell);  // the elevator over (6..7, 3..4)
    clickCell(7, 4);
    clickButton(floorButton);
    send(keyEvent(SDLK_PAGEUP));
    clickCell(7, 4, 1);  // the shaft grows to storey 1
    send(keyEvent(SDLK_PAGEDOWN));
    Room* shaft = map().roomAt(7, 4, 0);
    const std::string shaftName = shaft->getRoomInfo();
    const std::string roomName = map().roomAt(3, 2, 0)->getRoomInfo();
    const double built = game->getFunds();

    clickButton(bulldozeButton);
    clickCell(3, 2);
    clickCell(7, 4);  // the shaft's storey 0; storey 1 still holds it
    ASSERT_EQ(nullptr, map().roomAt(3, 2, 0));
    ASSERT_EQ(nullptr, map().roomAt(6, 3, 0));
    undo();
    ASSERT_NE(nullptr, map().roomAt(6, 3, 0));
    EXPECT_EQ(map().roomAt(7, 4, 1), map().roomAt(6, 3, 0)) << "the shaft is one object again on both storeys";
    EXPECT_EQ(shaftName, map().roomAt(6, 3, 0)->getRoomInfo());
    EXPECT_STREQ("Undone: the bulldozing, $5 back", gui->getMessageText());
    undo();
    ASSERT_NE(nullptr, map().roomAt(3, 2, 0));
    EXPECT_EQ(roomName, map().roomAt(3, 2, 0)->getRoomInfo()) << "the room comes back as it was";
    EXPECT_DOUBLE_EQ(built, game->getFunds()) << "both fees given back";

    undo();  // the floor on storey 1, the same day
    EXPECT_EQ(nullptr, map().roomAt(7, 4, 1));
    EXPECT_FALSE(map().tileAt(7, 4, 1)->hasFloor());
    EXPECT_DOUBLE_EQ(built + Game::FLOOR_COST, game->getFunds());

    game->getClock().set(59, 23, 1, 1, 1);  // the room earns its rent at midnight...
    ticks::advance(10000);
    frame();
    const double paid = game->getFunds();
    EXPECT_DOUBLE_EQ(built + Game::FLOOR_COST + rooms[2].rentIncome, paid);
    undo();  // ...so the steps of the day before give nothing back
    EXPECT_STREQ("That can't be undone any more.", gui->getMessageText());
    undo();
    EXPECT_NE(nullptr, map().roomAt(6, 3, 0)) << "the elevator stays";
    EXPECT_NE(nullptr, map().roomAt(3, 2, 0)) << "the Single Room stays";
    EXPECT_DOUBLE_EQ(paid, game->getFunds()) << "no price back for a room that earned its rent";

    for (int i = 0; i < 30; ++i) undo();
    EXPECT_STREQ("Nothing to undo.", gui->getMessageText()) << "only the last 20 steps are kept";
    EXPECT_EQ(0u, game->undoSteps());
    EXPECT_TRUE(map().tileAt(2, 2, 0)->hasFloor()) << "steps older than 20 stay";
    clickCell(9, 9);
    game->load();
    undo();
    EXPECT_STREQ("Nothing to undo.", gui->getMessageText()) << "loading clears the history";
}

TEST_F(TowerScreen, UnknownCodesOnlyPrintTheirError) {
    CapturedOutput err(stderr);
    send(userEvent(events::QUERY_TOOL));
    EXPECT_EQ(&Game::query, screen->getClickAction());
    send(userEvent(events::SHOW_FINANCES));
    ASSERT_NE(nullptr, gui->getPanel());
    send(keyEvent(SDLK_ESCAPE));
    EXPECT_EQ(nullptr, gui->getPanel()) << "Escape closes the window";
    EXPECT_EQ(&Game::query, screen->getClickAction()) << "and only that";
    send(userEvent(events::EXIT_CONFIRMED | events::EXIT_CANCELLED));
    EXPECT_EQ("Error: Unknown event code", err.text());
}

TEST_F(TowerScreen, RentArrivesAtMidnight) {
    clickCell(3, 3);
    clickButton(lobbyButton);
    clickCell(3, 3);
    clickButton(floorButton);
    clickCell(4, 4);
    clickButton(hotelButton);
    clickCell(4, 4);
    const double before = game->getFunds();
    ASSERT_DOUBLE_EQ(Game::STARTING_FUNDS - 20 - rooms[0].cost - rooms[2].cost, before) << "the hotel room was not built";
    game->getClock().set(59, 23, 3, 1, 1);
    ticks::advance(10000);
    frame();
    EXPECT_EQ(4, game->getClock().getDay());
    EXPECT_DOUBLE_EQ(before + rooms[2].rentIncome, game->getFunds()) << "a one-day room pays every midnight";
    EXPECT_STREQ("Rent collected: $40", gui->getMessageText());
    EXPECT_DOUBLE_EQ(rooms[2].rentIncome, game->getLedger().on(game->getClock().dayNumber(), Ledger::RENT));
    EXPECT_DOUBLE_EQ(-(20 + rooms[0].cost + rooms[2].cost),
                     game->getLedger().between(0, game->getClock().dayNumber(), Ledger::CONSTRUCTION))
        << "every change of the funds is in the ledger";

    gui->setMessageText(nullptr);
    game->getClock().set(59, 23, 4, 1, 1);
    Room* room = map().roomAt(4, 4, 0);
    ASSERT_NE(nullptr, room);
    send(userEvent(events::BULLDOZE));
    clickCell(4, 4);
    ASSERT_EQ(nullptr, map().roomAt(4, 4, 0));
    ticks::advance(10000);
    frame();
    EXPECT_EQ(nullptr, gui->getMessageText()) << "no word when no rent was due";
}

TEST_F(TowerScreen, SaveChangeLoadRestoresTheTower) {
    clickCell(2, 2);
    clickCell(2, 3);
    clickButton(saveButton);
    ASSERT_STREQ("Game saved.", gui->getMessageText());
    const std::string first = readFile("save.txt");
    ASSERT_EQ(0u, first.rfind("4980.000000\n", 0)) << first.substr(0, 40);
    const std::string tiles = first.substr(0, first.find("\nrooms ") + 1);
    EXPECT_EQ(2 + 1 + 10 * 20 * 20, std::count(tiles.begin(), tiles.end(), '\n'))
        << "funds, clock, the grid's extents and a line for every tile of every storey, then the rooms";

    clickButton(floorButton);
    clickCell(9, 9);
    clickButton(loadButton);
    ASSERT_NE(nullptr, gui->getWindow());
    send(userEvent(events::LOAD_CONFIRMED));
    EXPECT_EQ(nullptr, gui->getWindow());
    EXPECT_STREQ("Game loaded.", gui->getMessageText());
    EXPECT_FALSE(map().tileAt(9, 9, 0)->hasFloor());
    EXPECT_DOUBLE_EQ(4980.0, game->getFunds());

    game->save();
    EXPECT_EQ(first, readFile("save.txt")) << "time was frozen, so the clock line matches too";
}

// Everything after the tile records: the sections the rooms came in.
std::string sectionsOf(const std::string& save) {
    size_t at = 0;
    for (int line = 0; line < 3 + 4000 && at != std::string::npos; ++line) at = save.find('\n', at) + 1;
    return at == std::string::npos ? std::string() : save.substr(at);
}

TEST_F(TowerScreen, SaveLoadSaveKeepsEveryRoomLobbyCellAndElevatorCarMidTrip) {
    frame_scenes::buildFullTower(map());
    // Cars on their way: the tower steps them every 100 ms.
    for (int step = 0; step < 7; ++step) {
        ticks::advance(100);
        map().OnLoop();
    }
    // A fresh start sends the shuttle to floor 1 next, so 0 must come from the file.
    ASSERT_TRUE(map().shuttle().setNextGoal(0));
    game->save();
    const std::string first = readFile("save.txt");
    ASSERT_EQ(0u, sectionsOf(first).rfind("rooms ", 0)) << "the rooms follow the 4000 tile records";

    freshStart::newGame(100000);
    game = Game::Instance();
    {
        CapturedOutput out(stdout);
        game->load();
        EXPECT_EQ(std::string::npos, out.text().find("save.txt:")) << "no complaint about our own file";
    }
    EXPECT_STREQ("Game loaded.", GUI::Instance()->getMessageText());
    game->save();
    EXPECT_EQ(first, readFile("save.txt")) << "a loaded tower is saved again byte for byte";

    // The tower came back whole: shared objects, counts and the shafts' storeys.
    ASSERT_NE(nullptr, map().getLobby());
    EXPECT_EQ(map().getLobby(), map().roomAt(19, 2, 0)) << "every lobby cell refers to the one lobby";
    Room* shaft = map().roomAt(4, 5, 0);
    ASSERT_NE(nullptr, dynamic_cast<Elevator*>(shaft));
    EXPECT_EQ(shaft, map().roomAt(3, 4, 8)) << "the shaft reaches every storey built over it";
    EXPECT_EQ(4 * 9, shaft->references());
}

TEST_F(TowerScreen, LoadedRoomsPayTheirRentAndCannotBeBuiltOver) {
    for (int x = 2; x <= 5; ++x) clickCell(x, 2);
    clickButton(lobbyButton);
    clickCell(5, 2);
    clickButton(hotelButton);
    clickCell(2, 2);
    clickButton(hotelButton + 1);  // the suite covers (4, 2) and (3, 2)
    clickCell(4, 2);
    game->save();
    const double saved = game->getFunds();

    freshStart::newGame(100000);
    game = Game::Instance();
    game->load();
    ASSERT_DOUBLE_EQ(saved, game->getFunds());
    EXPECT_FALSE(map().tileAt(2, 2, 0)->isBuildable()) << "the loaded room still covers its cell";
    game->getClock().set(59, 23, 1, 1, 1);  // one minute before day 2: both rooms pay
    ticks::advance(1000);
    game->loop(0);
    EXPECT_DOUBLE_EQ(saved + rooms[2].rentIncome + rooms[3].rentIncome, game->getFunds());
}

TEST_F(TowerScreen, AFileWithoutRoomsLoadsWithoutHoles) {
    for (int x = 2; x <= 3; ++x) clickCell(x, 2);
    clickButton(lobbyButton);
    clickCell(3, 2);
    clickButton(hotelButton);
    clickCell(2, 2);
    game->save();
    const std::string withRooms = readFile("save.txt");
    writeFile("save.txt", withRooms.substr(0, withRooms.size() - sectionsOf(withRooms).size()));

    game->load();
    EXPECT_EQ(nullptr, map().getLobby()) << "a file without room records holds no rooms";
    for (int x = 2; x <= 3; ++x) {
        const Tile* tile = map().tileAt(x, 2, 0);
        EXPECT_TRUE(tile->hasFloor());
        EXPECT_TRUE(tile->isBuildable()) << x;
        EXPECT_FALSE(tile->isTileOff()) << x;
    }
    clickButton(lobbyButton);
    clickCell(3, 2);
    EXPECT_NE(nullptr, map().getLobby()) << "the cell takes a lobby again";
}

// A small tower saved, then loaded again with other sections after its tile
// records: floors at (2..6, 2..4), a two-cell lobby from (2, 2), a single room
// at (3, 2), a shaft over (5..6, 3..4) reaching storey 1.
class HostileRecords : public TowerScreen {
protected:
    void SetUp() override {
        TowerScreen::SetUp();
        for (int x = 2; x <= 6; ++x)
            for (int y = 2; y <= 4; ++y) clickCell(x, y);
        clickButton(lobbyButton);
        clickCell(2, 2);
        clickCell(2, 3);
        clickButton(hotelButton);
        clickCell(3, 2);
        clickButton(hotelButton - 1);  // the elevator covers (5..6, 3..4)
        clickCell(6, 4);
        clickButton(floorButton);
        send(keyEvent(SDLK_PAGEUP));
        clickCell(5, 4, 1);  // over the shaft's corner, so it reaches storey 1
        game->save();
        const std::string save = readFile("save.txt");
        sections = sectionsOf(save);
        tiles = save.substr(0, save.size() - sections.size());
    }
    // Loads the tile records followed by these sections; returns what the load printed.
    std::string loadWith(const std::string& text) {
        writeFile("save.txt", tiles + text);
        CapturedOutput out(stdout);
        game->load();
        return out.text();
    }
    // The name of the room at a cell, or "" for none.
    std::string roomAt(int x, int y, int z = 0) {
        Room* room = map().roomAt(x, y, z);
        return room ? room->getRoomInfo() : "";
    }
    std::string tiles, sections;
};

// Every record is either taken whole or skipped with its reason.
TEST_F(HostileRecords, LoadingSaysWhichRecordsCameInAndWhichWereSkipped) {
    ASSERT_NE(std::string::npos, sections.find("elevator 6 4 0 0 1 5 ")) << sections;
    const std::string skipped = "save.txt: room record ";
    const struct {
        const char* records;
        std::vector<std::string> printed;                      // in this order
        std::vector<std::pair<point, std::string>> rooms;      // the rooms afterwards, cell and name
    } cases[] = {
        {"rooms 2\nhotel1 3 2 0 0 1 1 3 2 0\nhotel1 3 2 0 0 2 1 3 2 0\n",
         {skipped + "2 skipped: it covers a cell another room covers"},
         {{point(3, 2, 0), "Single Room 1"}}},
        {"rooms 2\nlobby 2 2 0 0 1 1 2 2 0\nlobby 2 3 0 0 1 1 2 3 0\n",
         {skipped + "2 skipped: the tower has a lobby already"},
         {{point(2, 2, 0), "Lobby 1"}, {point(2, 3, 0), ""}}},
        {"rooms 3\nhotel1 -3 2 0 0 1 1 -3 2 0\nhotel1 99999999999 2 0 0 1 1 3 2 0\nhotel1 3 2 0 -1 1 1 3 2 0\n",
         {skipped + "1 skipped: it lies outside the grid", skipped + "2 skipped: it is cut short",
          skipped + "3 skipped: its kind has no such picture"},
         {{point(3, 2, 0), ""}}},
        {"rooms 2\ncastle 3 2 0 0 1 1 3 2 0\n? 3 2 0 0 1 1 3 2 0\n",
         {skipped + "1 skipped: its kind is not one of the game's", skipped + "2 skipped: its kind is not one of the game's"},
         {{point(3, 2, 0), ""}}},
        {"rooms 1\nhotel1 9 9 0 0 1 1 9 9 0\n", {skipped + "1 skipped: it covers a cell without a floor"}, {}},
        {"rooms 1\nhotel1 3 2 0 0 1 4001 3 2 0\n", {skipped + "1 skipped: its number of cells is impossible"}, {}},
        {"rooms 1\nelevator 6 4 0 0 1 4 5 3 0 5 4 0 6 3 0 6 4 0 640 9 0 0 1 6 1\n",
         {"save.txt: the car of the elevator at 6 4 0 starts again from its lowest floor"},
         {{point(5, 3, 0), "Elevator 1"}, {point(6, 4, 0), "Elevator 1"}, {point(5, 4, 1), ""}}},
        {"rooms 1\nlobby 2 2 0 0 1 1 2 2 0 7\nkinds 2\nhotel1 9 -4\nnowhere 0 1\nshuttle 1\n7\n",
         {skipped + "1 skipped: it holds more than a record of its kind",
          "save.txt: a kind record was passed over: hotel1 9 -4", "save.txt: a kind record was passed over: nowhere 0 1",
          "save.txt: the shuttle's next floor is not 0 or 1; it was left as it was"},
         {{point(2, 2, 0), ""}}},
        {"lobby 2 2 0 0 1 1 2 2 0\nhotel1 3 2 0 0 1 1 3 2 0\n",
         {"save.txt: a line outside any section was passed over: lobby 2 2 0 0 1 1 2 2 0",
          "save.txt: a line outside any section was passed over: hotel1 3 2 0 0 1 1 3 2 0"},
         {{point(2, 2, 0), ""}, {point(3, 2, 0), ""}}},
    };
    for (const auto& c : cases) {
        const std::string printed = loadWith(c.records);
        size_t at = 0;
        for (const std::string& line : c.printed) {
            at = printed.find(line + "\n", at);
            ASSERT_NE(std::string::npos, at) << "missing or out of order: " << line << "\nafter " << c.records;
        }
        EXPECT_EQ(c.printed.size(), static_cast<size_t>(std::count(printed.begin(), printed.end(), '\n')) - 1)
            << "one line for each skipped record besides \"loading map floor\":\n" << printed;
        for (const auto& room : c.rooms)
            EXPECT_EQ(room.second, roomAt(room.first.x, room.first.y, room.first.z)) << c.records;
        EXPECT_EQ(nullptr, map().roomCountProblem()) << c.records;
    }
}

TEST_F(HostileRecords, TheLedgerKeepsExactlyTheDaysItCouldRead) {
    const std::string printed =
        loadWith("ledger 5\n3 40.00 -500.00 0.00\n5 x\n7 120.00 0.00 -5.00\n2 1e13 0 0\n-1 40 0 0\n");
    const Ledger& ledger = game->getLedger();
    EXPECT_DOUBLE_EQ(40, ledger.on(3, Ledger::RENT));
    EXPECT_DOUBLE_EQ(-500, ledger.on(3, Ledger::CONSTRUCTION));
    EXPECT_DOUBLE_EQ(120, ledger.on(7, Ledger::RENT));
    EXPECT_DOUBLE_EQ(-5, ledger.on(7, Ledger::BULLDOZING));
    EXPECT_DOUBLE_EQ(160, ledger.between(0, 1000, Ledger::RENT)) << "only days 3 and 7 were read";
    for (const char* passedOver : {"5 x", "2 1e13 0 0", "-1 40 0 0"})
        EXPECT_NE(std::string::npos, printed.find(std::string("save.txt: a ledger record was passed over: ") + passedOver))
            << printed;
}

TEST_F(HostileRecords, AnyCutOrCraftedRecordLeavesAConsistentTowerThatPlaysOn) {
    std::vector<std::string> files;
    // Cut short at every byte: inside every field of every record.
    for (size_t cut = 0; cut < sections.size(); ++cut) files.push_back(sections.substr(0, cut));
    for (const char* text : {"rooms 2000000000\nhotel1 3 2 0 0 1 1 3 2 0\n",
                             "rooms 1\nelevator 6 4 0 0 1 4 5 3 0 5 4 0 6 3 0 6 4 0 3 1 1 0 0 -6 0\n",
                             "rooms 0\nkinds 0\nshuttle 0\n", "rooms\nlobby 2 2 0 0 1 1 2 2 0\n"})
        files.push_back(text);
    for (const std::string& text : files) {
        loadWith(text);
        ASSERT_EQ(nullptr, map().roomCountProblem()) << text;
        EXPECT_LE(map().shuttle().nextGoal(), Shuttle::topFloor);
        for (size_t kind = 0; kind < rooms.size(); ++kind)
            ASSERT_GE(map().counters().peek(static_cast<int>(kind)).serial, 1);
        ticks::advance(100);
        frame();
        clickCell(6, 6);
    }
}

// Fails every write after the first n bytes, like a disk that fills up.
struct FailingWriter {
    static size_t budget;
    static ssize_t write(void*, const char*, size_t size) {
        if (size > budget) return -1;
        budget -= size;
        return static_cast<ssize_t>(size);
    }
    static FILE* open(const char*) {
        cookie_io_functions_t io = {nullptr, &FailingWriter::write, nullptr, nullptr};
        return fopencookie(nullptr, "w", io);
    }
};
size_t FailingWriter::budget = 0;

TEST_F(TowerScreen, AFailedSaveLeavesThePreviousSaveAsItWas) {
    clickCell(5, 5);
    game->save();
    const std::string previous = readFile("save.txt");
    clickCell(6, 6);
    for (size_t budget : {size_t(0), size_t(20), size_t(4096), size_t(20000)}) {
        FailingWriter::budget = budget;
        Game::openForWriting = &FailingWriter::open;
        game->save();
        EXPECT_STREQ("ERROR saving game.", gui->getMessageText()) << "with " << budget << " bytes of room";
        EXPECT_EQ(previous, readFile("save.txt")) << "with " << budget << " bytes of room";
        EXPECT_NE(0, access("save.txt.tmp", F_OK)) << "the temporary file is removed";
    }
}

// A load is all or nothing: whatever cannot be read leaves the running tower,
// its money, clock, ledger and undo history exactly as they were.
TEST_F(TowerScreen, AFailedLoadLeavesTheTowerAsItWas) {
    clickCell(5, 5);
    clickCell(6, 5);
    game->save();
    const std::string good = readFile("save.txt");
    clickCell(7, 5);  // built after the save, unsaved; three floors to undo
    game->save();
    const std::string before = readFile("save.txt");
    const size_t clockEnd = good.find('\n', good.find('\n') + 1) + 1;
    const std::string header = good.substr(0, clockEnd);
    const std::string afterGrid = good.substr(good.find('\n', clockEnd) + 1);
    const std::string files[] = {
        "",
        "\n\n\n\n",
        header,                                       // cut after the clock
        header + "10 20\n" + afterGrid,                // a bad grid line
        header + "10 21 20\n" + afterGrid,             // a grid of another shape
        "999999\n" + good.substr(good.find('\n') + 1, clockEnd - good.find('\n') - 1) + "ten twenty twenty\n",
        "plenty of money\n" + good.substr(good.find('\n') + 1),  // a junk first line
        "nan\n" + good.substr(good.find('\n') + 1),
        "-500\n" + good.substr(good.find('\n') + 1),
        good.substr(0, good.size() - good.size() / 2),  // cut among the tile records
        header + "10 20 20\n2 x 7\n" + afterGrid,
    };
    for (const std::string& text : files) {
        writeFile("save.txt", text);
        {
            CapturedOutput out(stdout);
            game->load();
        }
        EXPECT_STREQ("ERROR loading game.", gui->getMessageText()) << text.substr(0, 60);
        EXPECT_EQ(3u, game->undoSteps()) << "the undo history stays: " << text.substr(0, 60);
        game->save();
        ASSERT_EQ(before, readFile("save.txt")) << "the tower changed after loading: " << text.substr(0, 60);
    }
    // save.txt as a folder, or far larger than any tower: refused unread.
    ASSERT_EQ(0, remove("save.txt"));
    ASSERT_EQ(0, mkdir("save.txt", 0755));
    game->load();
    EXPECT_STREQ("ERROR loading game.", gui->getMessageText());
    ASSERT_EQ(0, rmdir("save.txt"));
    writeFile("save.txt", good + std::string(Tower::maxFileSize, '\n'));
    {
        CapturedOutput out(stdout);
        game->load();
        EXPECT_EQ("save.txt is larger than 4194304 bytes; it was not read\n", out.text());
    }
    EXPECT_STREQ("ERROR loading game.", gui->getMessageText());

    writeFile("save.txt", "\xEF\xBB\xBF" + good);  // as some editors save it
    game->load();
    EXPECT_STREQ("Game loaded.", gui->getMessageText()) << "a byte-order mark is passed over";
    EXPECT_EQ(0u, game->undoSteps()) << "a loaded tower starts a history of its own";
    game->save();
    EXPECT_EQ(good, readFile("save.txt"));
}

TEST_F(TowerScreen, AProtectedSaveIsNeitherReplacedNorChangedInMode) {
    clickCell(5, 5);
    game->save();
    ASSERT_EQ(0, chmod("save.txt", 0600));
    clickCell(6, 6);
    game->save();
    struct stat status;
    ASSERT_EQ(0, stat("save.txt", &status));
    EXPECT_EQ(0600u, status.st_mode & 07777) << "a new save keeps the permissions of the old";
    const std::string kept = readFile("save.txt");
    ASSERT_EQ(0, chmod("save.txt", 0444));
    clickCell(7, 7);
    game->save();
    EXPECT_STREQ("save.txt is read-only: the game was not saved.", gui->getMessageText());
    EXPECT_EQ(kept, readFile("save.txt"));
    ASSERT_EQ(0, stat("save.txt", &status));
    EXPECT_EQ(0444u, status.st_mode & 07777);
    EXPECT_NE(0, access("save.txt.tmp", F_OK)) << "nothing left beside it";
}

TEST_F(TowerScreen, LoadingAnEmptyFileReportsEachPartMissing) {
    writeFile("save.txt", "");
    std::string text;
    {
        CapturedOutput out(stdout);
        game->load();
        text = out.text();
    }
    EXPECT_EQ("MONEY LOAD ERROR\nCLOCK LOAD ERROR\nloading map floor\n"
              "save.txt has no grid line of three numbers after the clock\nMAP LOAD ERROR\n",
              text);
    EXPECT_STREQ("ERROR loading game.", gui->getMessageText());
    // Tile records cut short: the first one missing is named.
    game->save();
    const std::string good = readFile("save.txt");
    size_t at = 0;
    for (int line = 0; line < 3 + 399; ++line) at = good.find('\n', at) + 1;
    writeFile("save.txt", good.substr(0, at));
    {
        CapturedOutput out(stdout);
        game->load();
        text = out.text();
    }
    EXPECT_EQ("loading map floor\nTILE LOAD ERROR: x: 19 y: 19 z: 0MAP LOAD ERROR\n", text);
}

// At the top of every counter and amount the game keeps playing, and what it
// saves there it loads again.
TEST_F(TowerScreen, WhatIsSavedAtTheLimitsLoadsAgain) {
    clickCell(3, 3);
    clickButton(lobbyButton);
    clickCell(3, 3);
    clickButton(floorButton);
    clickCell(4, 4);
    clickCell(5, 5);
    clickButton(hotelButton);
    clickCell(4, 4);
    game->save();
    std::string text = readFile("save.txt");
    text.replace(0, text.find('\n'), "179769313486231570814527423731704356798070567525844996598917476803157260780028538760589558632766878171540458953514382464234321326889464182768467546703537516986049910576551282076245490090389328944075868508455133942304583236903222948165808559332123348274797826204144723168738177180919299881250404026184124858368");
    const size_t clock = text.find('\n') + 1;
    text.replace(clock, text.find('\n', clock) - clock, "59 23 14 12 32767");
    const size_t room = text.find("hotel1 4 4 0 ");
    ASSERT_NE(std::string::npos, room);
    text.replace(room, text.find('\n', room) - room, "hotel1 4 4 0 0 2147483647 1 4 4 0");
    const size_t kind = text.find("\nhotel1 ", text.find("\nkinds ")) + 1;
    text.replace(kind, text.find('\n', kind) - kind, "hotel1 1 2147483647");
    text += "ledger 1\n1000 1000000000000.00 -1000000000000.00 0.00\n";
    writeFile("save.txt", text);
    game->load();
    ASSERT_STREQ("Game loaded.", gui->getMessageText());
    EXPECT_STREQ("Single Room 2147483647", map().roomAt(4, 4, 0)->getRoomInfo());

    clickButton(hotelButton);
    clickCell(5, 5);
    ASSERT_NE(nullptr, map().roomAt(5, 5, 0));
    EXPECT_STREQ("Single Room 2147483647", map().roomAt(5, 5, 0)->getRoomInfo()) << "the last serial is taken again";
    ticks::advance(10000);
    frame();  // midnight of the last day of the last year: rent, and the year stays
    EXPECT_EQ(32767, game->getClock().getYear());
    EXPECT_EQ(1, game->getClock().getDay());
    game->save();
    const std::string atTheLimits = readFile("save.txt");
    game->load();
    EXPECT_STREQ("Game loaded.", gui->getMessageText()) << "what the game wrote it reads";
    game->save();
    EXPECT_EQ(atTheLimits, readFile("save.txt"));
}

TEST_F(TowerScreen, FundsTooLongToShowAreShownShort) {
    setFunds(1.5e12);
    frame();
    EXPECT_EQ(0u, gui->getInfoText().find("Funds: 1.5e12\n")) << gui->getInfoText();
    game->save();
    std::string text = readFile("save.txt");
    text.replace(0, text.find('\n'), "179769313486231570814527423731704356798070567525844996598917476803157260780028538760589558632766878171540458953514382464234321326889464182768467546703537516986049910576551282076245490090389328944075868508455133942304583236903222948165808559332123348274797826204144723168738177180919299881250404026184124858368");
    writeFile("save.txt", text);
    game->load();
    frame();
    EXPECT_EQ(0u, gui->getInfoText().find("Funds: 1.8e308\n")) << "loaded while paused or not, the read-out shows it";
    game->showFinances();
    EXPECT_EQ("Balance: $1.8e308", gui->getPanel()->getLines()[0]);
}

TEST_F(TowerScreen, TheFirstFrameShowsFundsAndNightSkyAndEachPartOfTheDaySetsItsPace) {
    frame();
    SDL_Surface* info = gui->getInfoSurface();
    ASSERT_NE(nullptr, info) << "the read-out is rendered on the first frame";
    EXPECT_EQ(19u * 8, static_cast<unsigned>(info->w)) << "\"Time:  23:00 Day:1 \" is the widest line";
    const SDL_Color sky = pixelAt(CSurface::slot(slots::WINDOW), 5, 100);
    EXPECT_EQ(0, sky.r);
    EXPECT_EQ(0, sky.g);
    EXPECT_EQ(64, sky.b) << "hour 23 is night";

    // A game minute lasts ten times the pace in milliseconds. Each part of
    // the day sets its pace as it begins, but the day keeps the one it finds.
    Clock* clock = &game->getClock();
    EXPECT_EQ(25, clock->getSpeed()) << "night";
    // The tower lights up from evening on: the night sheets are drawn then.
    SDL_Surface* const nightTiles = CSurface::nightSlot(slots::TILES);
    ASSERT_NE(nullptr, nightTiles) << "assets/tiles-night.png loaded with the tile sheet";
    EXPECT_EQ(nightTiles, CSurface::slot(slots::TILES)) << "night";
    const struct {
        short hour, before, pace;
        bool night;
    } parts[] = {{7, 25, 100, false}, {10, 60, 60, false}, {17, 60, 50, true}, {21, 50, 25, true}};
    for (const auto& part : parts) {
        clock->setSpeed(part.before);
        clock->set(59, static_cast<short>(part.hour - 1), 1, 1, 1);
        ticks::advance(10u * static_cast<Uint32>(part.before));
        frame();
        ASSERT_EQ(part.hour, clock->getHour());
        EXPECT_EQ(part.pace, clock->getSpeed()) << "from " << part.hour << ":00 on";
        EXPECT_EQ(part.night, CSurface::slot(slots::TILES) == nightTiles) << "the look from " << part.hour << ":00 on";
        EXPECT_EQ(part.night, roomPicture(rooms[2]) == rooms[2].nightSurface.get()) << "rooms from " << part.hour << ":00 on";
    }
}

}  // namespace
