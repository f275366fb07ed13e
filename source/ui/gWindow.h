#ifndef ZENTROVA_GWINDOW_H
#define ZENTROVA_GWINDOW_H

#include <SDL.h>

#include "CSurface.h"
#include "gTextMenu.h"

// A framed box with a short text and OK (and Cancel); a choice pushes the
// window's id with the OK or Cancel bit of the event codes as a user event.
class gWindow {
public:
    static constexpr size_t textRoom = 52;  // 51 characters and the terminator

    gWindow(int x, int y, const char* text, SDL_Rect size, int buttons, int id);
    gWindow(const gWindow&) = delete;
    gWindow& operator=(const gWindow&) = delete;

    bool checkMouse(int mouseX, int mouseY, bool clicked) const;
    void loop();
    void update();
    void show();

    const SDL_Rect& getFrame() const { return frame; }
    int getX() const { return x; }
    int getY() const { return y; }
    const char* getText() const { return text; }
    int getCode() const { return event.code; }
    const gTextMenu& getMenu() const { return menu; }

private:
    SurfacePtr surface;
    SurfacePtr textSurface;
    SDL_UserEvent event;
    gTextMenu menu;
    SDL_Rect inner;
    SDL_Rect frame;
    int x;
    int y;
    char text[textRoom];
    Uint32 backgroundColour = 0;
    Uint32 borderColour = 0;
};

#endif
