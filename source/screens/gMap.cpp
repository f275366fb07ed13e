#include "gMap.h"

#include <algorithm>
#include <cstdio>

#include "CSurface.h"
#include "RoomDefs.h"
#include "display.h"
#include "game.h"
#include "gameSettings.h"
#include "gui.h"
#include "isometric.h"
#include "keyModifiers.h"
#include "protocol.h"
#include "screenState.h"
#include "ticks.h"

namespace {

enum ScrollKey : unsigned short { SCROLL_LEFT = 1, SCROLL_UP = 2, SCROLL_RIGHT = 4, SCROLL_DOWN = 8 };

bool shiftHeld() { return (keyModifiers::now() & KMOD_SHIFT) != 0; }

// In 800 x 600 the camera runs from -480 to 1280 across and from -704 to 640
// down: the lot's left corner can come to the window's left edge and its
// right corner to the right edge, its top storey to just under the bar and
// its front corner to just above the status line.
constexpr int nearCameraX = 1280;
constexpr int nearCameraY = 640;
constexpr int lotRightOfCamera = 1280;      // the lot's right corner, from the camera's x
constexpr int lotFrontBelowCamera = 1304;  // its front corner and the status line, below the camera's y

short clamped(int value, int low, int high) { return static_cast<short>(std::max(low, std::min(high, value))); }

unsigned short scrollBit(SDLKey key) {
    switch (key) {
    case SDLK_LEFT: return SCROLL_LEFT;
    case SDLK_UP: return SCROLL_UP;
    case SDLK_RIGHT: return SCROLL_RIGHT;
    case SDLK_DOWN: return SCROLL_DOWN;
    default: return 0;
    }
}

}  // namespace

gMap::gMap() : startTime(ticks::now()), lastWidth(resolutionX), lastHeight(resolutionY) {
    nextCaptionTime = startTime + 1000;
    lastScrollTime = startTime;
    bounds = boundsFor(resolutionX, resolutionY);
    // The lot's near corner a little left of the window's middle (384 in an 800-pixel window).
    camera = point(static_cast<short>(resolutionX / 2 - 16), 0, 0);
    limits[0] = isometric::cellToScreen(0, 20, 0, 0);
    limits[0].x = static_cast<short>(limits[0].x + 64);
    limits[1] = isometric::cellToScreen(11, 11, 0, 0);
    limits[2] = isometric::cellToScreen(14, 5, 0, 0);
    limits[2].x = static_cast<short>(limits[2].x - 32);
    limits[3] = point(0, 0, 0);
    puts("game create");
    printf("limit x[1](6,93): %d x[3](93, 6): %d\n", limits[1].x, limits[3].x);
    game = Game::Instance();
    // A new game or a load from the menu starts a history of its own.
    game->clearHistory();
    game->showAgain();
    puts("gui create");
    gui = GUI::Instance();
    // The window may have changed its size while the menu showed.
    gui->relayout();
    clickAction = &Game::buildEmptyFloor;
}

void gMap::ProcessEvent(SDL_Event* event) {
    // Events still queued behind the exit request would reach a game that
    // OnExit has already ended.
    if (exitRequested()) return;
    CEvent::ProcessEvent(event);
}

void gMap::runClickAction() {
    if (camera.z >= 0) (game->*clickAction)(camera.z);
}

void gMap::chooseTool(ClickAction action) {
    clickAction = action;
    game->changeCursorSize(1);
}

void gMap::OnKeyDown(SDLKey sym, SDLMod mod, Uint16) {
    switch (sym) {
    case SDLK_ESCAPE:
        // A quick Shift+Escape can be released before its events are handled;
        // the key event itself still remembers that Shift was down.
        if (shiftHeld() || (mod & KMOD_SHIFT)) {
            OnExit();
        } else if (gui->getPanel()) {
            gui->closePanel();
        } else {
            chooseTool(&Game::buildEmptyFloor);
        }
        break;
    case SDLK_SPACE:
        game->pause();
        gui->pause();
        break;
    case SDLK_MINUS:
    case SDLK_PAGEDOWN:
        moveCamera(CAMERA_FLOOR, true, 4);
        break;
    case SDLK_EQUALS:
    case SDLK_PAGEUP:
        moveCamera(CAMERA_FLOOR, false, 4);
        break;
    case SDLK_c:
        game->getView().toggleCeilings();
        break;
    case SDLK_d:
        game->dumpVars(camera.z);
        printf("camera x: %d, camera y: %d\n", camera.x, camera.y);
        game->getView().dumpSettings();
        break;
    case SDLK_g:
        game->getView().toggleGrid();
        break;
    case SDLK_p:
        game->testPathing(camera.z);
        break;
    case SDLK_r:
        game->getView().toggleRooms();
        break;
    case SDLK_s:
        game->getView().toggleService();
        break;
    case SDLK_F9:
        painter.setMode(painter.getMode() == FramePainter::Mode::CHANGED ? FramePainter::Mode::EVERYTHING
                                                                         : FramePainter::Mode::CHANGED);
        puts(painter.getMode() == FramePainter::Mode::CHANGED ? "Frames are drawn where they changed"
                                                              : "Frames are drawn whole");
        break;
    case SDLK_z:
        if ((mod | keyModifiers::now()) & KMOD_CTRL) {
            game->undo();
        }
        break;
    default:
        scrollKeys = static_cast<unsigned short>(scrollKeys | scrollBit(sym));
        break;
    }
}

void gMap::OnKeyUp(SDLKey sym, SDLMod, Uint16) { scrollKeys = static_cast<unsigned short>(scrollKeys & ~scrollBit(sym)); }

void gMap::moveCamera(CameraField field, bool direction, int amount) {
    const int factor = shiftHeld() ? 2 : 1;
    if (field == CAMERA_FLOOR) {
        int floor = camera.z + (direction ? -1 : 1);
        const int top = game->getMaxFloors() - 1;
        if (floor > top) {
            floor = top;
        } else if (floor < 0) {
            floor = 0;
        }
        camera.z = static_cast<short>(floor);
    } else {
        short& value = field == CAMERA_X ? camera.x : camera.y;
        const short old = value;
        value = static_cast<short>(direction ? value + amount * factor : value - amount * factor);
        const bool outside = field == CAMERA_Y ? (value > bounds.maxY || value < bounds.minY)
                                               : (value < bounds.minX || value > bounds.maxX);
        if (outside) value = old;
    }
    game->setCursor(camera, mouseX, mouseY);
}

void gMap::OnMouseMove(int x, int y, int relX, int relY, bool left, bool right, bool) {
    const bool cursorWasHidden = !game->isCursorVisible();
    game->setCursor(camera, x, y);
    mouseX = x;
    mouseY = y;
    // An open panel takes the clicks, dragged ones too.
    const bool acting = left && !gui->getPanel();
    if (acting) {
        runClickAction();
    } else if (right) {
        if (relX != 0) moveCamera(CAMERA_X, true, relX);
        if (relY != 0) moveCamera(CAMERA_Y, true, relY);
    }
    const bool over = gui->checkMouse(x, y, acting);
    game->toggleCursor(!over);
    // Coming back from the bar the cursor was hidden when it would have moved:
    // show it under the pointer, not where it was last seen.
    if (cursorWasHidden && !over) game->setCursor(camera, x, y);
}

void gMap::OnMouseWheel(bool up, bool down, int, int) {
    if (up) {
        moveCamera(CAMERA_FLOOR, false, 4);
    } else if (down) {
        moveCamera(CAMERA_FLOOR, true, 4);
    }
}

void gMap::OnLButtonDown(int x, int y) {
    if (gui->panelTakesClick(x, y)) return;
    if (gui->checkMouse(x, y, true)) {
        gui->checkWindow();
    } else {
        // The cursor may still stand where it was last shown, before the
        // pointer crossed the bar: the tool acts under the pointer only.
        game->toggleCursor(true);
        game->setCursor(camera, x, y);
        runClickAction();
    }
}

void gMap::OnRButtonDown(int, int) {}

gMap::CameraBounds gMap::boundsFor(int width, int height) {
    CameraBounds result;
    result.maxX = nearCameraX;
    result.maxY = nearCameraY;
    result.minX = std::min(result.maxX, width - lotRightOfCamera);
    result.minY = std::min(result.maxY, height - lotFrontBelowCamera);
    return result;
}

void gMap::OnResize(int width, int height) {
    // The view keeps its middle where it was, within the new bounds.
    camera.x = static_cast<short>(camera.x + (width - lastWidth) / 2);
    camera.y = static_cast<short>(camera.y + (height - lastHeight) / 2);
    lastWidth = width;
    lastHeight = height;
    bounds = boundsFor(width, height);
    camera.x = clamped(camera.x, bounds.minX, bounds.maxX);
    camera.y = clamped(camera.y, bounds.minY, bounds.maxY);
    gui->relayout();
    game->setCursor(camera, mouseX, mouseY);
    painter.invalidate();
}

void gMap::OnExit() {
    puts("OMG, EXIT PROGRAM!");
    game->autosave();
    game->onExit();
    gui->onExit();
    game = nullptr;
    gui = nullptr;
    setNextState(EXIT);
}

void gMap::OnUser(Uint8, int code, void* data1, void*) {
    const aRoom* definition = static_cast<const aRoom*>(data1);
    switch (code) {
    case events::PAUSE:
        game->pause();
        gui->pause();
        break;
    case events::EXIT_TO_MENU:
        gui->createWindow("This will exit to the menu.\n\tAre you sure?", 2, 28, 2, events::EXIT_WINDOW);
        break;
    case events::SAVE_GAME:
        game->save();
        break;
    case events::LOAD_GAME:
        gui->createWindow("TEST: Load Game?", 1, 16, 2, events::LOAD_WINDOW);
        break;
    case events::BUILD_FLOOR:
        chooseTool(&Game::buildEmptyFloor);
        break;
    case events::BUILD_LOBBY:
        chooseTool(&Game::buildLobby);
        break;
    case events::BUILD_ROOM:
    case events::BUILD_TRANSPORT:
        if (!definition) {
            fputs("Error: Unknown event code", stderr);
            break;
        }
        clickAction = code == events::BUILD_ROOM ? &Game::buildRoom : &Game::buildTransportation;
        game->setRoomType(camera.z, definition->id);
        break;
    case events::BULLDOZE:
        chooseTool(&Game::bulldoze);
        break;
    case events::QUERY_TOOL:
        chooseTool(&Game::query);
        break;
    case events::SHOW_FINANCES:
        game->showFinances();
        break;
    case events::EXIT_CONFIRMED:
        gui->killWindow();
        game->autosave();
        setNextState(MENU);
        break;
    case events::LOAD_CONFIRMED:
        gui->killWindow();
        game->load();
        break;
    case events::EXIT_CANCELLED:
    case events::LOAD_CANCELLED:
        gui->killWindow();
        break;
    default:
        fputs("Error: Unknown event code", stderr);
        break;
    }
}

void gMap::Loop() {
    const Uint32 now = ticks::now();
    if (now >= nextCaptionTime + 1000) {
        nextCaptionTime = now;
        showFrameRate(frames, now - startTime);
    }
    scrollByHeldKeys(now);
    game->loop(camera.z);
    gui->update();
}

void gMap::scrollByHeldKeys(Uint32 now) {
    const Uint32 elapsed = now - lastScrollTime;
    lastScrollTime = now;
    if (!(scrollKeys & (SCROLL_LEFT | SCROLL_UP | SCROLL_RIGHT | SCROLL_DOWN))) {
        scrollCarry = 0;
        return;
    }
    scrollCarry += elapsed * scrollStepsPerSecond;
    for (; scrollCarry >= 1000; scrollCarry -= 1000) {
        if (scrollKeys & SCROLL_LEFT) moveCamera(CAMERA_X, true, scrollStep);
        if (scrollKeys & SCROLL_UP) moveCamera(CAMERA_Y, true, scrollStep);
        if (scrollKeys & SCROLL_RIGHT) moveCamera(CAMERA_X, false, scrollStep);
        if (scrollKeys & SCROLL_DOWN) moveCamera(CAMERA_Y, false, scrollStep);
    }
}

void gMap::Render() {
    painter.paint(*this);
    ++frames;
}

void gMap::draw() {
    game->render(camera);
    gui->show();
}
