#ifndef ZENTROVA_CEVENT_H
#define ZENTROVA_CEVENT_H

#include <SDL.h>

// Turns one SDL event into one call of a handler with ready-made arguments,
// so a screen overrides only what it cares about.
class CEvent {
public:
    CEvent() = default;
    virtual ~CEvent() = default;

    virtual void ProcessEvent(SDL_Event* event);

    virtual void OnInputFocus() {}
    virtual void OnInputBlur() {}
    virtual void OnKeyDown(SDLKey sym, SDLMod mod, Uint16 unicode);
    virtual void OnKeyUp(SDLKey sym, SDLMod mod, Uint16 unicode);
    virtual void OnMouseFocus() {}
    virtual void OnMouseBlur() {}
    virtual void OnMouseMove(int x, int y, int relX, int relY, bool left, bool right, bool middle);
    virtual void OnMouseWheel(bool up, bool down, int x, int y);
    virtual void OnLButtonDown(int x, int y);
    virtual void OnLButtonUp(int x, int y);
    virtual void OnRButtonDown(int x, int y);
    virtual void OnRButtonUp(int x, int y);
    virtual void OnMButtonDown(int x, int y);
    virtual void OnMButtonUp(int x, int y);
    virtual void OnJoyAxis(Uint8 which, Uint8 axis, Sint16 value);
    virtual void OnJoyButtonDown(Uint8 which, Uint8 button);
    virtual void OnJoyButtonUp(Uint8 which, Uint8 button);
    virtual void OnJoyHat(Uint8 which, Uint8 hat, Uint8 value);
    virtual void OnJoyBall(Uint8 which, Uint8 ball, Sint16 relX, Sint16 relY);
    virtual void OnMinimize() {}
    virtual void OnRestore() {}
    virtual void OnResize(int width, int height);
    virtual void OnExpose() {}
    virtual void OnExit() {}
    virtual void OnUser(Uint8 type, int code, void* data1, void* data2);
};

// A screen the engine drives: events, then Loop, then Render, every frame.
class gGame : public CEvent {
public:
    void OnExit() override = 0;
    virtual void Loop() = 0;
    virtual void Render() = 0;
};

#endif
