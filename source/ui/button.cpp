#include "button.h"

#include <cstdio>

#include "CSurface.h"
#include "RoomDefs.h"
#include "Soundbank.h"
#include "protocol.h"

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
    clip = sheet::buttons::cell[sheet::buttons::highlight];
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
    const SDL_Rect* cell = sheet::buttons::cell;
    using Cell = sheet::buttons::Cell;
    switch (event.code) {
    case events::PAUSE: clip = cell[clip.y == cell[Cell::pause].y ? Cell::play : Cell::pause]; break;
    case events::EXIT_TO_MENU: clip = cell[Cell::exitToMenu]; break;
    case events::SAVE_GAME: clip = cell[Cell::save]; break;
    case events::LOAD_GAME: clip = cell[Cell::load]; break;
    case events::BUILD_FLOOR: clip = cell[Cell::floor]; break;
    case events::BUILD_LOBBY: clip = cell[Cell::lobby]; break;
    case events::QUERY_TOOL: clip = cell[Cell::query]; break;
    case events::BULLDOZE: clip = cell[Cell::bulldoze]; break;
    case events::SHOW_FINANCES: clip = cell[Cell::finances]; break;
    default: clip = cell[Cell::highlight]; break;
    }
}

void Button::show(SDL_Surface* target) {
    if (event.data1) {
        const aRoom* definition = static_cast<const aRoom*>(event.data1);
        CSurface::OnDraw(target, definition->icon.get(), rect.x, rect.y, nullptr);
    } else {
        CSurface::OnDraw(target, slots::BUTTONS, rect.x, rect.y, &clip);
    }
    const SDL_Rect& highlight = sheet::buttons::cell[sheet::buttons::highlight];
    if (active) CSurface::OnDraw(target, slots::BUTTONS, rect.x, rect.y, &highlight);
}
