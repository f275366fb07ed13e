#ifndef ZENTROVA_TEST_SUPPORT_H
#define ZENTROVA_TEST_SUPPORT_H

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

// Shared set-up for the headless suites: a dummy-driver window of 800 x 600
// in slot 0 with the game's own images in slots 1 to 7, as the engine would
// leave them after start-up. Tests run from the repository root.

namespace testing_support {

// Reads one pixel of a 32-bit surface as r, g, b.
SDL_Color pixelAt(SDL_Surface* surface, int x, int y);

// Fills the window with one colour.
void fillScreen(Uint8 r, Uint8 g, Uint8 b);

// Runs a shell command and returns its exit status; output goes to files the caller names.
int runCommand(const std::string& command);

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& text);

// Captures what the code under test writes to stdout or stderr.
class CapturedOutput {
public:
    explicit CapturedOutput(FILE* stream);
    ~CapturedOutput();
    std::string text();  // everything written so far

private:
    FILE* stream;
    int savedDescriptor;
    std::string path;
};

// Empties the room table and loads the game's own definitions again;
// true when all four files came in after the lobby.
bool loadShippedRoomDefs();

// Ends any game left by an earlier test and starts a fresh one, with time frozen.
void resetGame();
void endGame();

// Posts and dispatches SDL events to a screen, as the engine's loop would.
SDL_Event keyEvent(SDLKey key, bool down = true);
SDL_Event motionEvent(int x, int y, int relX = 0, int relY = 0, Uint8 buttons = 0);
SDL_Event buttonEvent(Uint8 button, int x, int y, bool down = true);
SDL_Event userEvent(int code, void* data1 = nullptr);

// Drains the SDL queue into the active screen, switching screens between events.
void pumpEvents();

}  // namespace testing_support

#endif
