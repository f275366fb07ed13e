#ifndef ZENTROVA_GMAP_H
#define ZENTROVA_GMAP_H

#include "CEvent.h"
#include "FramePainter.h"
#include "point.h"

class Game;
class GUI;

// The screen the game is played on: keeps the camera and turns keys, mouse
// and user events into calls on the game, the GUI and the view settings.
class gMap final : public gGame, private FramePainter::Scene {
public:
    using ClickAction = void (Game::*)(short floor);

    gMap();
    ~gMap() override = default;

    void ProcessEvent(SDL_Event* event) override;
    void OnKeyDown(SDLKey sym, SDLMod mod, Uint16 unicode) override;
    void OnKeyUp(SDLKey sym, SDLMod mod, Uint16 unicode) override;
    void OnMouseMove(int x, int y, int relX, int relY, bool left, bool right, bool middle) override;
    void OnMouseWheel(bool up, bool down, int x, int y) override;
    void OnLButtonDown(int x, int y) override;
    void OnRButtonDown(int x, int y) override;
    void OnResize(int width, int height) override;
    void OnExit() override;
    void OnUser(Uint8 type, int code, void* data1, void* data2) override;
    void Loop() override;
    void Render() override;

    enum CameraField { CAMERA_X, CAMERA_Y, CAMERA_FLOOR };
    void moveCamera(CameraField field, bool direction, int amount);

    // Arrow keys move the view this far per 1/60 s held (twice that with Shift).
    static constexpr int scrollStep = 4;
    static constexpr int scrollStepsPerSecond = 60;

    // Camera bounds that keep the tower on screen. The near ones are fixed;
    // the far ones follow the window's size (in 800 x 600, x from -480 and y
    // from -704), and a window larger than the tower holds it still.
    struct CameraBounds {
        int minX, maxX, minY, maxY;
    };
    static CameraBounds boundsFor(int width, int height);

    const point& getCamera() const { return camera; }
    FramePainter& getPainter() { return painter; }
    // What each frame draws, for a painter of another mode (the tests' reference).
    FramePainter::Scene& scene() { return *this; }
    const CameraBounds& getBounds() const { return bounds; }
    ClickAction getClickAction() const { return clickAction; }

private:
    void runClickAction();
    void chooseTool(ClickAction action);
    // Held arrow keys move the view by held time, whatever the frame rate.
    void scrollByHeldKeys(Uint32 now);
    // The tower and the interface over it, as each frame draws them.
    void draw() override;

    int frames = 0;
    Uint32 nextCaptionTime;
    Uint32 startTime;
    int lastWidth;  // the window's size the view was laid out for
    int lastHeight;
    unsigned short scrollKeys = 0;
    Uint32 lastScrollTime;
    Uint32 scrollCarry = 0;  // held time not yet scrolled, in 1/60000 s
    point camera;
    point limits[4];
    CameraBounds bounds;
    int mouseX = 0;
    int mouseY = 0;
    FramePainter painter;
    Game* game;
    GUI* gui;
    ClickAction clickAction;
};

#endif
