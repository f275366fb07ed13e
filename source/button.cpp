#include "button.h"

#include <cstdio>

#include "CSurface.h"
#include "RoomDefs.h"
#include "Soundbank.h"

SDL_Rect Button::activeClip = {0, 0, button::width, button::height};

namespace {
constexpr int buttonSheet = 5;
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
        if (definition.type != BASIC) event.code = 7;
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
        CSoundBank::SoundControl.Play(1);
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
    switch (event.code) {
    case 0: clip.y = clip.y == 32 ? 64 : 32; break;
    case 1: clip.y = 96; break;
    case 2: clip.y = 128; break;
    case 3: clip.y = 160; break;
    case 4: clip.y = 320; break;
    case 5: clip.y = 288; break;
    case 16: clip.y = 256; break;
    case 17: clip.y = 224; break;
    case 18: clip.y = 192; break;
    default: clip.y = 0; break;
    }
}

void Button::show(SDL_Surface* target) {
    if (event.data1) {
        const aRoom* definition = static_cast<const aRoom*>(event.data1);
        CSurface::OnDraw(target, definition->icon, rect.x, rect.y, nullptr);
    } else {
        CSurface::OnDraw(target, buttonSheet, rect.x, rect.y, &clip);
    }
    if (active) CSurface::OnDraw(target, buttonSheet, rect.x, rect.y, &activeClip);
}
