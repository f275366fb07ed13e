#ifndef ZENTROVA_GINTRO_H
#define ZENTROVA_GINTRO_H

#include "CEvent.h"

// A title screen that gives way to the main menu on any input or after two
// seconds. The game starts at the menu; the screen is kept for a later intro,
// as the documented interfaces describe it.
class gIntro final : public gGame {
public:
    gIntro();

    void ProcessEvent(SDL_Event* event) override { CEvent::ProcessEvent(event); }
    void OnKeyDown(SDLKey sym, SDLMod mod, Uint16 unicode) override;
    void OnLButtonUp(int x, int y) override;
    void OnRButtonUp(int x, int y) override;
    void OnExit() override;
    void Loop() override;
    void Render() override;

private:
    int frameCount = 0;
    Uint32 lastCaptionTime = 1000;
    Uint32 startTime = 0;  // the moment SDL started, not the screen
};

#endif
