#include "displayStart.h"

#include <SDL.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;  // SDL's own counter restarts with SDL_Init
using Milliseconds = std::chrono::milliseconds;

// A reset takes about 0.2 s on an idle machine and more than a second on a
// busy one. Meanwhile new connections are dropped, or accepted and left
// without a greeting until the reset is over (a few never get one). No
// server at all refuses for good, so a refused display is given up after
// about a second; a server that accepts is waited for longer.
constexpr Milliseconds refusedFor(1000);
constexpr Milliseconds silentFor(5000);
constexpr Milliseconds greetingTimeout(500);  // then a fresh connection is tried
constexpr Uint32 pauseBetweenTries = 50;

// The display number of a local display (":0", ":1.0", "unix:2"); -1 for
// one that is reached otherwise (over the network, say).
int localDisplayNumber(const char* display) {
    std::string name = display;
    if (name.compare(0, 5, "unix:") == 0) name.erase(0, 4);
    if (name.size() < 2 || name[0] != ':' || !isdigit(static_cast<unsigned char>(name[1]))) return -1;
    return atoi(name.c_str() + 1);
}

int connectLocal(int number) {
    const std::string path = "/tmp/.X11-unix/X" + std::to_string(number);
    // The file in /tmp first, then the same name in the abstract namespace.
    for (bool abstract : {false, true}) {
        const int socketFd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (socketFd < 0) return -1;
        sockaddr_un address;
        memset(&address, 0, sizeof address);
        address.sun_family = AF_UNIX;
        const size_t offset = abstract ? 1 : 0;
        memcpy(address.sun_path + offset, path.c_str(), path.size());
        const socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size());
        if (connect(socketFd, reinterpret_cast<sockaddr*>(&address), length) == 0) return socketFd;
        close(socketFd);
    }
    return -1;
}

// A connection of the game's own to a local X server, held until the probe
// goes. While it is open after the server's greeting, the server has a
// client and cannot reset.
class DisplayProbe {
public:
    enum Outcome { REFUSED, SILENT, GREETED };

    DisplayProbe(int number, Milliseconds timeout) : socketFd(number < 0 ? -1 : connectLocal(number)) {
        if (socketFd < 0) return;
        // Connection set-up, little-endian, protocol 11.0, no authorisation:
        // a server that wants one still answers, with a refusal.
        static const unsigned char setup[12] = {'l', 0, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        if (send(socketFd, setup, sizeof setup, MSG_NOSIGNAL) != static_cast<ssize_t>(sizeof setup)) return;
        pollfd wait = {socketFd, POLLIN, 0};
        if (poll(&wait, 1, static_cast<int>(timeout.count())) != 1) {
            outcome = SILENT;
            return;
        }
        unsigned char status = 0;
        if (recv(socketFd, &status, 1, 0) == 1) outcome = GREETED;
    }
    ~DisplayProbe() {
        if (socketFd >= 0) close(socketFd);
    }
    DisplayProbe(const DisplayProbe&) = delete;
    DisplayProbe& operator=(const DisplayProbe&) = delete;

    Outcome result() const { return outcome; }

private:
    int socketFd;
    Outcome outcome = REFUSED;
};

}  // namespace

// Everything but SDL's timers: the game reads the tick counter and sleeps,
// which need none, and the timer subsystem's thread would wake a thousand
// times a second for nothing.
constexpr Uint32 subsystems = SDL_INIT_EVERYTHING & ~SDL_INIT_TIMER;

bool startMediaLibrary() {
    const char* display = getenv("DISPLAY");
    if (!display || !*display) return SDL_Init(subsystems) >= 0;
    if (!getenv("SDL_VIDEODRIVER")) setenv("SDL_VIDEODRIVER", "x11", 1);

    const int number = localDisplayNumber(display);
    const Clock::time_point start = Clock::now();
    Clock::time_point giveUp = start + refusedFor;
    for (;;) {
        {
            const Milliseconds left = std::chrono::duration_cast<Milliseconds>(giveUp - Clock::now());
            const DisplayProbe probe(number, std::max(Milliseconds(1), std::min(left, greetingTimeout)));
            if (probe.result() == DisplayProbe::SILENT) giveUp = start + silentFor;
            if (number < 0 || probe.result() == DisplayProbe::GREETED) {
                if (SDL_Init(subsystems) >= 0) return true;
                SDL_Quit();
            }
        }
        if (Clock::now() >= giveUp) return false;
        SDL_Delay(pauseBetweenTries);
    }
}
