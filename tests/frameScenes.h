#ifndef ZENTROVA_FRAME_SCENES_H
#define ZENTROVA_FRAME_SCENES_H

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "point.h"

class Map;

// The towers the frame test and the frame benchmark draw, built through the
// game's own objects so that every drawing path of the tower screen is used.
// No gtest here: the benchmark links this too.
namespace frame_scenes {

struct Scene {
    const char* name;
    bool fullTower;  // false: a new game with nothing built
    short storey;    // the storey the camera views
    bool grid;
    bool ceilings;
};

// A new game from storey 0; the full tower from storeys 0, 5 and 9; the
// same three views with the grid on and with the ceilings off.
const std::vector<Scene>& all();

// Ends the game, the GUI and the room table of an earlier scene, if any.
void endGame();

// A fresh game with time frozen and the clock, the view settings and the
// elevators' shared goal where every scene starts; the full tower built when
// asked. Repeating it with the same arguments gives the same game.
void startGame(bool fullTower);

// Every cell of storeys 0 to 8 floored, a lobby on the ground, rooms of
// every kind and elevators spread over all of them.
void buildFullTower(Map& map);

// Sets the view switches and puts the cursor on a cell of the viewed storey;
// returns the camera that shows that storey in the middle of the window.
point viewScene(const Scene& scene);

// One pass of the tower screen: Game::loop, GUI::update, Game::render,
// GUI::show and the flip, as the screen runs them. Clears first when asked.
void drawFrame(const point& camera, bool clearFirst);

// What a scene looks like: the scene started, a frame drawn on a cleared
// window and a second one over it, as a player's screen shows it.
void renderScene(const Scene& scene);

// FNV-1a over the red, green and blue of every pixel, row by row.
std::uint64_t hashPixels(SDL_Surface* surface);
std::string hex(std::uint64_t value);

// How two frames of the same size differ, channel by channel.
struct FrameDifference {
    long pixels = 0;  // pixels with any channel different
    int largest = 0;  // the largest difference of one channel
    int firstX = -1;  // the first differing pixel, row by row
    int firstY = -1;
    bool sizesDiffer = false;
};
FrameDifference compareFrames(SDL_Surface* frame, SDL_Surface* reference);

// The file names of a scene's reference frame and of the list of hashes.
std::string referenceName(const Scene& scene, int width, int height);
const char* const referenceDirectory = "tests/data/frames";
const char* const hashListName = "tests/data/frames/hashes.txt";

// The hash recorded for a scene at a window size, or false when none is.
bool recordedHash(const std::string& list, const std::string& name, std::uint64_t& hash);

}  // namespace frame_scenes

#endif
