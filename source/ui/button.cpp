#include "button.h"

#include <cstdio>

#include "CSurface.h"
#include "RoomDefs.h"
#include "Soundbank.h"
#include "protocol.h"

SDL_Rect Button::activeClip = {0, 0, button::width, button::height};

namespace {
constexpr size_t statusTextRoom = 50;  // 49 characters and the terminator
}  // namespace

Button::Button(int slot, int code, bool isMomentary, const char* text, int roomNumber) : momentary(isMomentary) {
    rect.x = static_cast<Sint16>(slot * button::width);
    rect.y = 0;
    rect.w = button::width;
    rect.h = button::height;
    event.type = SDL_USEREVENT;
    event.code = code;
    event.data1 = nullptr;
    event.data2 = nullptr;

    if (roomNumber < 1 || static_cast<size_t>(roomNumber) > rooms.size()) {
        statusText = text ? text : "";
    } else {
        aRoom& definition = rooms[static_cast<size_t>(roomNumber - 1)];
        char label[512];
        snprintf(label, sizeof label, "Build %s: Cost $%4.2f", definition.title, definition.cost);
        statusText = label;
        if (statusText.size() > statusTextRoom - 1) statusText.resize(statusTextRoom - 1);
        printf("User event room ID: %d Icon Address: %d\n", roomNumber - 1,
               static_cast<int>(reinterpret_cast<intptr_t>(&definition.icon)));
        if (definition.type != BASIC) event.code = events::BUILD_TRANSPORT;
        event.data1 = &definition;
    }
    clip.x = 0;
    clip.y = 0;
    clip.w = button::width;
    clip.h = button::height;
    generateClip();
}

void Button::click() {
    if (!active) {
        active = true;
        CSoundBank::SoundControl.Play(sounds::SELECT);
    }
    SDL_Event pushed;
    pushed.user = event;
    SDL_PushEvent(&pushed);
}

void Button::activate() { active = true; }

void Button::reset(bool force) {
    if (momentary || force) active = false;
}

void Button::setAttributes(int code, bool isMomentary, const char* text) {
    event.code = code;
    statusText = text ? text : "";
    momentary = isMomentary;
    generateClip();
}

void Button::generateClip() {
    // The sheet's cells, top to bottom: highlight, pause, play, menu, save,
    // load, finances, bulldoze, query, lobby, floor.
    switch (event.code) {
    case events::PAUSE: clip.y = clip.y == 32 ? 64 : 32; break;
    case events::EXIT_TO_MENU: clip.y = 96; break;
    case events::SAVE_GAME: clip.y = 128; break;
    case events::LOAD_GAME: clip.y = 160; break;
    case events::BUILD_FLOOR: clip.y = 320; break;
    case events::BUILD_LOBBY: clip.y = 288; break;
    case events::QUERY_TOOL: clip.y = 256; break;
    case events::BULLDOZE: clip.y = 224; break;
    case events::SHOW_FINANCES: clip.y = 192; break;
    default: clip.y = 0; break;
    }
}

void Button::show(SDL_Surface* target) {
    if (event.data1) {
        const aRoom* definition = static_cast<const aRoom*>(event.data1);
        CSurface::OnDraw(target, definition->icon.get(), rect.x, rect.y, nullptr);
    } else {
        CSurface::OnDraw(target, slots::BUTTONS, rect.x, rect.y, &clip);
    }
    if (active) CSurface::OnDraw(target, slots::BUTTONS, rect.x, rect.y, &activeClip);
}
