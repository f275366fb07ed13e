#include "testSupport.h"

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "CEvent.h"
#include "CSurface.h"
#include "Clock.h"
#include "Elevator.h"
#include "RoomDefs.h"
#include "freshStart.h"
#include "gEngine.h"
#include "game.h"
#include "gui.h"
#include "protocol.h"
#include "ticks.h"

namespace testing_support {

SDL_Color pixelAt(SDL_Surface* surface, int x, int y) {
    SDL_LockSurface(surface);
    const Uint8* row = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch;
    const Uint32 value = reinterpret_cast<const Uint32*>(row)[x];
    SDL_UnlockSurface(surface);
    SDL_Color colour;
    SDL_GetRGB(value, surface->format, &colour.r, &colour.g, &colour.b);
    colour.unused = 0;
    return colour;
}

void fillScreen(Uint8 r, Uint8 g, Uint8 b) {
    SDL_Surface* screen = CSurface::slot(slots::WINDOW);
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, r, g, b));
}

int runCommand(const std::string& command) {
    const int status = system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

CapturedOutput::CapturedOutput(FILE* captured) : stream(captured) {
    fflush(stream);
    char name[] = "/tmp/zentrova-capture-XXXXXX";
    const int descriptor = mkstemp(name);
    path = name;
    savedDescriptor = dup(fileno(stream));
    dup2(descriptor, fileno(stream));
    close(descriptor);
}

CapturedOutput::~CapturedOutput() {
    fflush(stream);
    dup2(savedDescriptor, fileno(stream));
    close(savedDescriptor);
    unlink(path.c_str());
}

std::string CapturedOutput::text() {
    fflush(stream);
    return readFile(path);
}

bool loadShippedRoomDefs() {
    clearRoomDefs();
    loadRoomDefs();
    return rooms.size() == 5;
}

void endGame() { freshStart::endGame(); }

void resetGame() { freshStart::newGame(100000); }

SDL_Event keyEvent(SDLKey key, bool down) {
    SDL_Event event;
    memset(&event, 0, sizeof event);
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.type = event.type;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    return event;
}

SDL_Event motionEvent(int x, int y, int relX, int relY, Uint8 buttons) {
    SDL_Event event;
    memset(&event, 0, sizeof event);
    event.type = SDL_MOUSEMOTION;
    event.motion.type = SDL_MOUSEMOTION;
    event.motion.x = static_cast<Uint16>(x);
    event.motion.y = static_cast<Uint16>(y);
    event.motion.xrel = static_cast<Sint16>(relX);
    event.motion.yrel = static_cast<Sint16>(relY);
    event.motion.state = buttons;
    return event;
}

SDL_Event buttonEvent(Uint8 button, int x, int y, bool down) {
    SDL_Event event;
    memset(&event, 0, sizeof event);
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.type = event.type;
    event.button.button = button;
    event.button.x = static_cast<Uint16>(x);
    event.button.y = static_cast<Uint16>(y);
    return event;
}

SDL_Event userEvent(int code, void* data1) {
    SDL_Event event;
    memset(&event, 0, sizeof event);
    event.type = SDL_USEREVENT;
    event.user.type = SDL_USEREVENT;
    event.user.code = code;
    event.user.data1 = data1;
    return event;
}

void pumpEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        currentState->ProcessEvent(&event);
        change_state();
    }
}

}  // namespace testing_support
