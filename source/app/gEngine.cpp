#include "gEngine.h"

#include <SDL_mixer.h>
#include <sys/stat.h>
#include <tinyxml.h>
#include <cstdio>
#include <cstdlib>

#include "CEvent.h"
#include "CScreen.h"
#include "CSurface.h"
#include "Soundbank.h"
#include "displayStart.h"
#include "framePacer.h"
#include "gamePaths.h"
#include "gMap.h"
#include "gMenu.h"
#include "game.h"
#include "gui.h"
#include "xmlGuard.h"

std::unique_ptr<gGame> currentState;

namespace {

// Carries out a pending screen request between two events.
void changeScreen() {
    if (nextState == NONE) return;
    // The old screen goes before the new one is made: their constructors and
    // destructors touch the same game and interface.
    if (nextState != EXIT) currentState.reset();
    switch (nextState) {
    case MENU:
        currentState = std::make_unique<gMenu>();
        puts("state change successful: MENU");
        break;
    case MAP:
        currentState = std::make_unique<gMap>();
        puts("state change successful: MAP");
        break;
    case EXIT:
        puts("state change successful: EXIT");
        break;
    default:
        break;
    }
    stateID = nextState;
    nextState = NONE;
}

// Missing attributes read as 0, as atoi would read text without digits.
int intAttribute(const TiXmlElement* element, const char* name) {
    const char* value = element->Attribute(name);
    return value ? atoi(value) : 0;
}

bool onAttribute(const TiXmlElement* element, const char* name) {
    const char* value = element->Attribute(name);
    return value && std::string(value) == "on";
}

Uint8 channel(const TiXmlElement* element, const char* name) {
    return static_cast<Uint8>(intAttribute(element, name) & 0xFF);
}

void readColour(const TiXmlElement* element, SDL_Color& colour) {
    colour.r = channel(element, "red");
    colour.g = channel(element, "green");
    colour.b = channel(element, "blue");
}

const TiXmlElement* nextElement(const TiXmlElement* element) {
    return element ? element->NextSiblingElement() : nullptr;
}

int frameCap = 0;  // frames a second; 0 runs the loop free

}  // namespace

gEngine::gEngine() { installStateChanger(changeScreen); }

bool gEngine::loadXMLSettings(const char* settingsFile) {
    switch (checkXmlFile(settingsFile)) {
    case XmlCheck::SAFE: break;
    case XmlCheck::TOO_LARGE: fputs("The settings file is larger than 1 MiB or nested too deeply. ", stderr); return false;
    case XmlCheck::BROKEN_LETTER: fputs("The settings file holds a character cut short. ", stderr); return false;
    }
    TiXmlDocument document(settingsFile);
    if (!document.LoadFile()) return false;

    bool result = true;
    const TiXmlElement* element = document.FirstChildElement();
    if (element) {
        setResolution(intAttribute(element, "width"), intAttribute(element, "height"));
        // Like the size, a scale the file leaves out (or gives as 0) is the command line's.
        const int scale = intAttribute(element, "scale");
        if (scale > 0 && !setScale(scale)) {
            fprintf(stderr, "The window's scale %d in the settings file is not 1 to %d; it was not used. ", scale,
                    CScreen::maximumScale);
        }
    } else {
        fputs("Error finding <window> element in settings.xml", stderr);
        result = false;
    }

    element = nextElement(element);
    if (element) {
        setSound(onAttribute(element, "effects"));
        setMusic(onAttribute(element, "music"));
    } else {
        fputs("Error finding <sound> element in settings.xml", stderr);
        result = false;
    }

    element = nextElement(element);
    if (element) {
        for (const TiXmlElement* file = element->FirstChildElement(); file; file = file->NextSiblingElement()) {
            const char* name = file->GetText();
            if (!name || !*name) {
                // An empty name would only fail later as a file that cannot be opened.
                fputs("Error: empty file name in <required> element in settings.xml", stderr);
                result = false;
                continue;
            }
            requiredFiles.emplace_back(name);
        }
    } else {
        fputs("Error finding <required> element in settings.xml", stderr);
        result = false;
    }

    element = nextElement(element);
    if (!element) {
        fputs("Error finding <plugins> element in settings.xml", stderr);
        result = false;
    }

    element = nextElement(element);
    if (element) {
        SDL_Color* colours[] = {&gui_background, &gui_border, &gui_text};
        const TiXmlElement* colour = element->FirstChildElement();
        for (SDL_Color* target : colours) {
            if (!colour) break;
            readColour(colour, *target);
            colour = colour->NextSiblingElement();
        }
    } else {
        fputs("Error finding <background> element in settings.xml", stderr);
        result = false;
    }

    // After the five read by their place, the optional ones by their name.
    for (element = nextElement(element); element; element = element->NextSiblingElement()) {
        if (element->ValueStr() == "tower" && !lifeFromCommandLine) Game::setLife(onAttribute(element, "life"));
    }
    return result;
}

bool gEngine::Init(const char* settingsFile) {
    if (!loadXMLSettings(settingsFile)) {
        fputs("Failed to load settings from config.xml, exiting", stderr);
        return false;
    }
    if (requiredFiles.size() < requiredImageCount) {
        fprintf(stderr, "The <required> list of the settings file names %u images; the game needs %u, exiting",
                static_cast<unsigned>(requiredFiles.size()), static_cast<unsigned>(requiredImageCount));
        return false;
    }
    if (!startMediaLibrary()) {
        fputs("SDL init failed, exiting", stderr);
        return false;
    }
    CScreen::readDesktopSize();
    if (!CScreen::open(startFullScreen)) {
        fputs("SDL display failed to render, exiting", stderr);
        return false;
    }
    std::vector<std::string> imageFiles;
    for (const std::string& name : requiredFiles) imageFiles.push_back(gamePaths::data(name));
    if (!CSurface::loadSurfaces(imageFiles)) {
        fputs("Failed to load surfaces, exiting", stderr);
        return false;
    }
    requiredFiles.clear();

    if (Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 4096) == -1) {
        fputs("Sound and music failed to intilize", stderr);
        return true;
    }
    // In the order of the sound ids.
    static const char* const effects[] = {"assets//build.wav", "assets//select.wav", "assets//bulldoze.wav",
                                          "assets//elevator_arrive.wav", "assets//elevator_move.wav"};
    for (const char* effect : effects) {
        if (CSoundBank::SoundControl.OnLoad(gamePaths::data(effect).c_str()) < 0) {
            CSoundBank::SoundControl.addEmptySlot();
        }
    }
    // With the switch off the file is not even read; a file that will not
    // load leaves the game running without music.
    CSoundBank& music = CSoundBank::MusicControl;
    if (music.isEnabled() && music.loadMusic(gamePaths::data("assets/music.ogg").c_str())) music.playMusic();
    return true;
}

namespace {

// F11 and Alt+Enter switch between the window and full screen on every screen.
bool isFullScreenKey(const SDL_Event& event) {
    if (event.type != SDL_KEYDOWN) return false;
    const SDLKey key = event.key.keysym.sym;
    return key == SDLK_F11 || (key == SDLK_RETURN && (event.key.keysym.mod & KMOD_ALT));
}

// A window manager sends a stream of sizes while the border is dragged; only
// the last one queued is worth a new mode.
bool anotherResizeQueued() {
    SDL_Event later;
    return SDL_PeepEvents(&later, 1, SDL_PEEKEVENT, SDL_VIDEORESIZEMASK) > 0;
}

// Carries out what the window manager and the window keys ask of the window,
// and has the screen laid out for the new size; false for every other event.
bool changesTheWindow(const SDL_Event& event) {
    if (isFullScreenKey(event)) {
        // Even a switch that failed may have left another mode in place.
        CScreen::toggleFullScreen();
        currentState->OnResize(resolutionX, resolutionY);
        return true;
    }
    if (event.type != SDL_VIDEORESIZE) return false;
    if (!anotherResizeQueued() && CScreen::resize(event.resize.w, event.resize.h)) {
        currentState->OnResize(resolutionX, resolutionY);
    }
    return true;
}

}  // namespace

bool gEngine::runFrame() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (changesTheWindow(event)) continue;
        CScreen::toGamePixels(event);
        currentState->ProcessEvent(&event);
        change_state();
    }
    if (stateID == EXIT) return false;
    currentState->Loop();
    currentState->Render();
    return true;
}

int gEngine::execute(const char* settingsFile) {
    if (!Init(settingsFile)) {
        puts("something went horribly wrong");
        return -1;
    }
    puts("everything started correctly");
    if (loadFile.empty()) {
        stateID = MENU;
        currentState = std::make_unique<gMenu>();
    } else {
        stateID = MAP;
        currentState = std::make_unique<gMap>();
        struct stat status;
        const std::string path = stat(loadFile.c_str(), &status) == 0 ? loadFile : gamePaths::player(loadFile);
        if (Game::Instance()->loadFile(path, loadFile)) {
            printf("Game loaded from %s\n", loadFile.c_str());
        } else {
            printf("%s could not be loaded; the game starts on an empty lot\n", loadFile.c_str());
        }
    }
    FramePacer pacer(frameCap);
    while (stateID != EXIT && runFrame()) pacer.wait();
    Cleanup();
    return 0;
}

void gEngine::Cleanup() {
    puts("Cleaning up");
    currentState.reset();
    // Leaving from the menu after a game leaves the game and its GUI alive;
    // they hold surfaces that must go before the video system does.
    if (Game::exists()) Game::Instance()->onExit();
    if (GUI::exists()) GUI::Instance()->onExit();
    CSurface::cleanUp();
    CSoundBank::SoundControl.OnCleanup();
    CSoundBank::MusicControl.OnCleanup();
    Mix_CloseAudio();
    SDL_Quit();
}

void gEngine::setResolution(int width, int height) {
    if (width > 0) resolutionX = width;
    if (height > 0) resolutionY = height;
}

void gEngine::setFrameCap(int framesPerSecond) { frameCap = framesPerSecond; }

void gEngine::setLife(bool on) {
    Game::setLife(on);
    lifeFromCommandLine = true;
}

bool gEngine::setScale(int scale) { return CScreen::setScale(scale); }

void gEngine::setSound(bool on) { CSoundBank::SoundControl.setSound(on); }

void gEngine::setMusic(bool on) { CSoundBank::MusicControl.setSound(on); }
