#ifndef ZENTROVA_FRAME_SCENES_H
#define ZENTROVA_FRAME_SCENES_H

#include <SDL.h>

#include <string>
#include <vector>

#include "FramePainter.h"
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
    bool night = false;  // at 23:00, in the night look; else at noon
    bool terraces = false;  // with fullTower false: storeys stepping back, built a click a cell
};

// A new game from storey 0; the full tower from storeys 0, 5 and 9, the same
// three views with the grid on, the top view with the ceilings off (only
// the top storey of the full tower has roofs to hide), all by day; and the
// full tower from storeys 0 and 5 by night; terraces seen from storeys 1 and 2.
const std::vector<Scene>& all();

// Ends the game, the GUI and the room table of an earlier scene, if any.
void endGame();

// A fresh game with time frozen and the clock, the view settings and the
// elevators' shared goal where every scene starts, at noon or, when asked, at
// night; the full tower built when asked. Repeating it with the same
// arguments gives the same game.
void startGame(bool fullTower, bool night = false, bool terraces = false);

// Every cell of storeys 0 to 8 floored, a lobby on the ground, rooms of
// every kind and elevators spread over all of them.
void buildFullTower(Map& map);

// A storey of a tower built the way a player who minds the elevators builds
// it: every cell floored, nine shafts rising from the ground (a floor over a
// shaft grows it), rooms of every kind along corridors that reach them, and
// on the ground a lobby along one side.
void buildServedStorey(Map& map, int z);
// The same storey's floors and, on the ground, its lobby and shafts.
void buildServedFloors(Map& map, int z);

// The kind of room the towers put with its anchor at (x, y, z) (every kind
// in turn, along corridors), or -1 where none goes or its cells are taken.
int roomKindAt(const Map& map, int x, int y, int z);
bool buildRoomAt(Map& map, int kind, int x, int y, int z);  // true: built

// The living tower at its busiest: with the people on, the tower runs
// headless, an hour a step, to 08:00 of the third day, when the offices
// have their companies and the workers are on their way in. Time stays
// frozen there, the people caught up with the clock.
void liveUntilBusyMorning();
// The same, on to the hour of the day given (17: the evening rush, workers
// leaving and guests coming).
void liveUntil(int day, int hour);

// Three storeys of floors, each smaller than the one below, built one cell a
// click with the cursor crossing the cells in every direction: the back walls
// along each storey's edges show, as a player builds them.
void buildTerraces(Map& map);

// Sets the view switches and puts the cursor on a cell of the viewed storey;
// returns the camera that shows that storey in the middle of the window.
point viewScene(const Scene& scene);

// One pass of the tower screen: Game::loop, GUI::update, Game::render,
// GUI::show and the flip, as the screen runs them. Clears first when asked.
void drawFrame(const point& camera, bool clearFirst);

// What the tower screen draws each frame (the game's picture and the
// interface over it), for a FramePainter.
struct TowerPicture : FramePainter::Scene {
    point camera;
    void draw() override;
};

// One pass of the tower screen as the screen runs it, painted by the painter:
// Game::loop, GUI::update, then the picture.
void paintFrame(FramePainter& painter, TowerPicture& picture);

// What a scene looks like: the scene started, a frame drawn on a cleared
// window and a second one over it, as a player's screen shows it.
void renderScene(const Scene& scene);

// How two frames of the same size differ, channel by channel.
struct FrameDifference {
    long pixels = 0;  // pixels with any channel different
    int largest = 0;  // the largest difference of one channel
    int firstX = -1;  // the first differing pixel, row by row
    int firstY = -1;
    bool sizesDiffer = false;
    bool missing = false;  // no reference to compare with
};
FrameDifference compareFrames(SDL_Surface* frame, SDL_Surface* reference);
// "N pixels differ, by up to M in a channel; the first at (X, Y)", or why
// nothing could be compared.
std::string describe(const FrameDifference& difference);
bool same(const FrameDifference& difference);

// What the window shows now against the same scene painted whole over it:
// a painting that missed a change leaves pixels of an older frame.
FrameDifference compareWithWhole(FramePainter::Scene& scene);

// The window's drawing keeps encoded copies of the pictures (CSurface), which
// must change no pixel: draws the scene with the copies off, then with them
// on after another scene, so that they carry what that one left, and
// compares the two frames.
FrameDifference compareWithoutPictureCopies(const Scene& scene);

// One scene is kept as a recorded picture per window size, to notice when
// the art or the drawing as a whole changes: SCENE-WxH.png in
// tests/data/frames.
const Scene& recordedScene();
std::string recordingName(int width, int height);
const char* const recordingDirectory = "tests/data/frames";

// Draws the recorded scene and compares it with the recording of the
// window's size in the directory. When they differ, or no recording loads,
// the frame drawn is written as a BMP picture to drawnPath for a look.
FrameDifference compareWithRecording(const std::string& directory, const std::string& drawnPath);

}  // namespace frame_scenes

#endif
