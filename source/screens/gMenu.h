#ifndef ZENTROVA_GMENU_H
#define ZENTROVA_GMENU_H

#include <memory>

#include "CEvent.h"
#include "FramePainter.h"
#include "gTextMenu.h"

// The main menu: the title image and New Game, Load Game, Quit Game.
class gMenu final : public gGame, private FramePainter::Scene {
public:
    gMenu();

    void ProcessEvent(SDL_Event* event) override { CEvent::ProcessEvent(event); }
    void OnKeyDown(SDLKey sym, SDLMod mod, Uint16 unicode) override;
    void OnLButtonDown(int x, int y) override;
    void OnResize(int width, int height) override;
    void OnExit() override;
    void Loop() override;
    void Render() override;
    void selectOption(int option);
    void cleanUp();

    int getLogoX() const { return logoX; }
    int getLogoY() const { return logoY; }
    const gTextMenu* getTextMenu() const { return textMenu.get(); }
    // What each frame draws, for a painter of another mode (the tests' reference).
    FramePainter::Scene& scene() { return *this; }

private:
    // The title and the options, centred across the window.
    void layOut();
    // The title and the options, as each frame draws them.
    void draw() override;

    int frameCount = 0;
    Uint32 lastCaptionTime;
    Uint32 startTime;
    int logoX = 0;
    int logoY = 50;
    SDL_Event loadEvent;
    std::unique_ptr<gTextMenu> textMenu;
    FramePainter painter;
};

#endif
