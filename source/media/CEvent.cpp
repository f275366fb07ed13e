#include "CEvent.h"

void CEvent::ProcessEvent(SDL_Event* event) {
    switch (event->type) {
    case SDL_ACTIVEEVENT:
        switch (event->active.state) {
        case SDL_APPMOUSEFOCUS:
            if (event->active.gain) OnMouseFocus(); else OnMouseBlur();
            break;
        case SDL_APPINPUTFOCUS:
            if (event->active.gain) OnInputFocus(); else OnInputBlur();
            break;
        case SDL_APPACTIVE:
            if (event->active.gain) OnRestore(); else OnMinimize();
            break;
        default:
            break;  // several focus bits at once: nobody asked for that
        }
        break;
    case SDL_KEYDOWN:
        OnKeyDown(event->key.keysym.sym, event->key.keysym.mod, event->key.keysym.unicode);
        break;
    case SDL_KEYUP:
        OnKeyUp(event->key.keysym.sym, event->key.keysym.mod, event->key.keysym.unicode);
        break;
    case SDL_MOUSEMOTION: {
        const Uint8 state = event->motion.state;
        OnMouseMove(event->motion.x, event->motion.y, event->motion.xrel, event->motion.yrel,
                    (state & SDL_BUTTON(SDL_BUTTON_LEFT)) != 0, (state & SDL_BUTTON(SDL_BUTTON_RIGHT)) != 0,
                    (state & SDL_BUTTON(SDL_BUTTON_MIDDLE)) != 0);
        break;
    }
    case SDL_MOUSEBUTTONDOWN: {
        const int x = event->button.x, y = event->button.y;
        switch (event->button.button) {
        case SDL_BUTTON_LEFT: OnLButtonDown(x, y); break;
        case SDL_BUTTON_MIDDLE: OnMButtonDown(x, y); break;
        case SDL_BUTTON_RIGHT: OnRButtonDown(x, y); break;
        // A wheel turn is a press and a release; reporting down on the press
        // and up on the release gives exactly one call per turn.
        case SDL_BUTTON_WHEELDOWN: OnMouseWheel(false, true, x, y); break;
        default: break;
        }
        break;
    }
    case SDL_MOUSEBUTTONUP: {
        const int x = event->button.x, y = event->button.y;
        switch (event->button.button) {
        case SDL_BUTTON_LEFT: OnLButtonUp(x, y); break;
        case SDL_BUTTON_MIDDLE: OnMButtonUp(x, y); break;
        case SDL_BUTTON_RIGHT: OnRButtonUp(x, y); break;
        case SDL_BUTTON_WHEELUP: OnMouseWheel(true, false, x, y); break;
        default: break;
        }
        break;
    }
    case SDL_JOYAXISMOTION:
        OnJoyAxis(event->jaxis.which, event->jaxis.axis, event->jaxis.value);
        break;
    case SDL_JOYBALLMOTION:
        OnJoyBall(event->jball.which, event->jball.ball, event->jball.xrel, event->jball.yrel);
        break;
    case SDL_JOYHATMOTION:
        OnJoyHat(event->jhat.which, event->jhat.hat, event->jhat.value);
        break;
    case SDL_JOYBUTTONDOWN:
        OnJoyButtonDown(event->jbutton.which, event->jbutton.button);
        break;
    case SDL_JOYBUTTONUP:
        OnJoyButtonUp(event->jbutton.which, event->jbutton.button);
        break;
    case SDL_QUIT:
        OnExit();
        break;
    case SDL_SYSWMEVENT:
        break;
    case SDL_VIDEORESIZE:
        OnResize(event->resize.w, event->resize.h);
        break;
    case SDL_VIDEOEXPOSE:
        OnExpose();
        break;
    default:
        OnUser(event->user.type, event->user.code, event->user.data1, event->user.data2);
        break;
    }
}

void CEvent::OnKeyDown(SDLKey, SDLMod, Uint16) {}
void CEvent::OnKeyUp(SDLKey, SDLMod, Uint16) {}
void CEvent::OnMouseMove(int, int, int, int, bool, bool, bool) {}
void CEvent::OnMouseWheel(bool, bool, int, int) {}
void CEvent::OnLButtonDown(int, int) {}
void CEvent::OnLButtonUp(int, int) {}
void CEvent::OnRButtonDown(int, int) {}
void CEvent::OnRButtonUp(int, int) {}
void CEvent::OnMButtonDown(int, int) {}
void CEvent::OnMButtonUp(int, int) {}
void CEvent::OnJoyAxis(Uint8, Uint8, Sint16) {}
void CEvent::OnJoyButtonDown(Uint8, Uint8) {}
void CEvent::OnJoyButtonUp(Uint8, Uint8) {}
void CEvent::OnJoyHat(Uint8, Uint8, Uint8) {}
void CEvent::OnJoyBall(Uint8, Uint8, Sint16, Sint16) {}
void CEvent::OnResize(int, int) {}
void CEvent::OnUser(Uint8, int, void*, void*) {}
