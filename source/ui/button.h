#ifndef ZENTROVA_BUTTON_H
#define ZENTROVA_BUTTON_H

#include <SDL.h>
#include <string>

#include "sheetGeometry.h"

namespace button {
constexpr int width = sheet::buttons::cell[sheet::buttons::highlight].w;
constexpr int height = sheet::buttons::cell[sheet::buttons::highlight].h;
}  // namespace button

// One 32 x 32 icon of the button bar; a click pushes its prepared user event.
class Button {
public:
    Button(int slot, int code, bool momentary, const char* text, int roomNumber);

    SDL_Rect getRect() const { return rect; }
    const char* getStatusBar() const { return statusText.c_str(); }
    void click();
    void activate();
    void reset(bool force);
    void setAttributes(int code, bool momentary, const char* text);
    void generateClip();
    void show(SDL_Surface* target);

    // Tool buttons put out the other tools' buttons when clicked; commands do not.
    void setSelectsTool(bool on) { tool = on; }
    bool selectsTool() const { return tool; }

    bool isActive() const { return active; }
    int getCode() const { return event.code; }
    void* getData() const { return event.data1; }
    const SDL_Rect& getClip() const { return clip; }

private:
    SDL_Rect clip;
    SDL_Rect rect;
    std::string statusText;
    SDL_UserEvent event;
    bool momentary;
    bool active = false;
    bool tool = true;
};

#endif
