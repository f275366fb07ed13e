#ifndef ZENTROVA_GENGINE_H
#define ZENTROVA_GENGINE_H

#include <SDL.h>
#include <memory>
#include <string>
#include <vector>

#include "display.h"
#include "protocol.h"
#include "screenState.h"

class gGame;

extern std::unique_ptr<gGame> currentState;  // the screen showing now

// The program's spine: settings, start-up, the main loop and shut-down.
class gEngine {
public:
    // Installs the engine as the one that carries out the screens' requests.
    gEngine();
    gEngine(const gEngine&) = delete;
    gEngine& operator=(const gEngine&) = delete;

    int execute(const char* settingsFile);
    bool Init(const char* settingsFile);
    bool loadXMLSettings(const char* settingsFile);
    static void Cleanup();
    static void setResolution(int width, int height);
    static void setSound(bool on);
    static void setMusic(bool on);
    // -fullscreen: the window opens in full screen where the display allows it.
    static void setFullScreen(bool on) { startFullScreen = on; }
    // -scale and the window element's scale: every pixel drawn N x N. False
    // for a number outside 1 to CScreen::maximumScale, which changes nothing.
    static bool setScale(int scale);
    // -load: the game starts in the tower loaded from this save file, looked
    // for where the game was started, then among the player's files.
    static void setLoadFile(const std::string& name) { loadFile = name; }
    // Frames a second the main loop is held to; 0 runs it free.
    static void setFrameCap(int framesPerSecond);
    // -life on|off: the living tower or the classic one, whatever the settings file says.
    static void setLife(bool on);

    // One pass of the main loop: every pending event, then Loop and Render.
    // False once the program is to end.
    static bool runFrame();

    // The screens draw these slots; a shorter list cannot run the game.
    static constexpr size_t requiredImageCount = slots::REQUIRED_IMAGES;

    const std::vector<std::string>& getRequiredFiles() const { return requiredFiles; }

private:
    std::vector<std::string> requiredFiles;
    static inline bool startFullScreen = false;
    static inline bool lifeFromCommandLine = false;
    static inline std::string loadFile;
};

#endif
