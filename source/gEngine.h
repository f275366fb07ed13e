#ifndef ZENTROVA_GENGINE_H
#define ZENTROVA_GENGINE_H

#include <SDL.h>
#include <string>
#include <vector>

class gGame;

// Screen states; 1 is not used.
enum : short { NONE = 0, MENU = 2, MAP = 3, EXIT = 4 };

extern int resolutionX;
extern int resolutionY;
extern short stateID;
extern short nextState;
extern gGame* currentState;
extern SDL_Color gui_background;
extern SDL_Color gui_border;
extern SDL_Color gui_text;

// Records a request for another screen; an exit request cannot be replaced.
void setNextState(short id);
// Carries out a pending request between two events.
void change_state();

// Sets the window caption to the average frame rate over whole seconds.
void showFrameRate(int frames, Uint32 elapsedMilliseconds);

// The program's spine: settings, start-up, the main loop and shut-down.
class gEngine {
public:
    gEngine() = default;
    gEngine(const gEngine&) = delete;
    gEngine& operator=(const gEngine&) = delete;

    int execute(const char* settingsFile);
    bool Init(const char* settingsFile);
    bool loadXMLSettings(const char* settingsFile);
    static void Cleanup();
    static void setResolution(int width, int height);
    static void setSound(bool on);
    static void setMusic(bool on);

    // One pass of the main loop: every pending event, then Loop and Render.
    // False once the program is to end.
    static bool runFrame();

    // The screens draw these slots; a shorter list cannot run the game.
    static constexpr size_t requiredImageCount = 7;

    const std::vector<std::string>& getRequiredFiles() const { return requiredFiles; }

private:
    std::vector<std::string> requiredFiles;
};

#endif
