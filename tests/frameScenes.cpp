#include "frameScenes.h"

#include <SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "CSurface.h"
#include "Clock.h"
#include "Elevator.h"
#include "Life.h"
#include "Map.h"
#include "RoomDefs.h"
#include "freshStart.h"
#include "gEngine.h"
#include "game.h"
#include "gameSettings.h"
#include "gui.h"
#include "keyModifiers.h"
#include "protocol.h"
#include "ticks.h"

namespace frame_scenes {

namespace {

// Far beyond any real start-up.
constexpr Uint32 frozenTime = 1000000000u;

constexpr int topFloored = 8;  // storeys 0 to 8 get floors; 9 shows their roofs
constexpr int lobbyKind = 0;
constexpr int elevatorKind = 1;
constexpr int firstRoomKind = 2;  // 2 single room, 3 suite, 4 office

// Moves the map's cursor onto a cell: the pointer position whose cell that is
// with the camera at the origin of the storey. Twice, because the hidden walls
// follow the cursor one move late.
void pointAt(Map& map, int x, int y, int z) {
    const point camera(0, 0, z);
    const int mouseX = 64 * (x - y);
    const int mouseY = 32 * (x + y) + 32 - 64 * z;
    map.setCursor(camera, mouseX, mouseY);
    map.setCursor(camera, mouseX, mouseY);
}

// The cursor footprint of a room kind, as the tower screen sets it.
void useKind(Map& map, int kind, short& spanY, short& spanX) {
    const aRoom* def = roomDefinition(kind);
    spanY = def ? static_cast<short>(def->sizeX) : 1;
    spanX = def ? static_cast<short>(def->sizeY) : 1;
    map.changeCursorSize(spanY, spanX);
}

// A footprint anchored at (x, y) inside the grid, clear of rooms, shafts and corridors.
bool footprintFree(const Map& map, int x, int y, int z, short spanY, short spanX) {
    for (int i = 0; i < spanY; ++i)
        for (int j = 0; j < spanX; ++j) {
            const int cx = x - j, cy = y - i;
            if (cx < 0 || cy < 0 || cx >= Map::capacityX || cy >= Map::capacityY) return false;
            if (map.roomAt(cx, cy, z)) return false;
            if (cx % 6 == 5 || cy % 7 == 3) return false;  // corridors show bare floor and walls
        }
    return true;
}

void buildElevator(Map& map, int x, int y, int z) {
    short spanY = 1, spanX = 1;
    useKind(map, elevatorKind, spanY, spanX);
    if (!footprintFree(map, x, y, z, spanY, spanX)) return;
    pointAt(map, x, y, z);
    const aRoom* def = roomDefinition(elevatorKind);
    map.buildTransportation(elevatorKind, def ? def->type : static_cast<short>(ELEVATOR));
}

}  // namespace

int roomKindAt(const Map& map, int x, int y, int z) {
    if ((x * 7 + y * 3 + z * 5) % 11 == 0) return -1;  // some floor left bare
    const int kind = firstRoomKind + (x / 2 + y / 3 + z) % 3;
    const aRoom* def = roomDefinition(kind);
    const short spanY = def ? static_cast<short>(def->sizeX) : 1, spanX = def ? static_cast<short>(def->sizeY) : 1;
    return footprintFree(map, x, y, z, spanY, spanX) ? kind : -1;
}

bool buildRoomAt(Map& map, int kind, int x, int y, int z) {
    short spanY = 1, spanX = 1;
    useKind(map, kind, spanY, spanX);
    pointAt(map, x, y, z);
    return map.buildRoom(kind) == BuildResult::BUILT;
}

namespace {

// Every cell of the storey floored; on the ground a lobby along the front rows.
void floorWithLobby(Map& map, int z) {
    map.changeCursorSize(1, 1);
    for (int x = 0; x < Map::capacityX; ++x)
        for (int y = 0; y < Map::capacityY; ++y) {
            pointAt(map, x, y, z);
            map.buildFloor();
        }
    if (z != 0) return;
    for (int x = 0; x < Map::capacityX; ++x)
        for (int y = 0; y < 3; ++y) {
            pointAt(map, x, y, z);
            map.buildLobby();
        }
}

void buildRooms(Map& map, int z) {
    for (int y = 0; y < Map::capacityY; ++y)
        for (int x = 0; x < Map::capacityX; ++x) {
            const int kind = roomKindAt(map, x, y, z);
            if (kind >= 0) buildRoomAt(map, kind, x, y, z);
        }
}

}  // namespace

const std::vector<Scene>& all() {
    static const std::vector<Scene> scenes = {
        {"new-game-storey0", false, 0, false, true}, {"tower-storey0", true, 0, false, true},
        {"tower-storey5", true, 5, false, true},     {"tower-storey9", true, 9, false, true},
        {"grid-storey0", true, 0, true, true},       {"grid-storey5", true, 5, true, true},
        {"grid-storey9", true, 9, true, true},       {"no-ceilings-storey9", true, 9, false, false},
        {"night-storey0", true, 0, false, true, true}, {"night-storey5", true, 5, false, true, true},
        {"terraces-storey1", false, 1, false, true, false, true},
        {"terraces-storey2", false, 2, false, true, false, true},
    };
    return scenes;
}

void endGame() { freshStart::endGame(); }

void startGame(bool fullTower, bool night, bool terraces) {
    Game* game = freshStart::newGame(frozenTime);
    if (!night) game->getClock().set(0, 12, 1, 1, 1);
    if (fullTower) buildFullTower(game->getMap());
    if (terraces) buildTerraces(game->getMap());
}

void buildTerraces(Map& map) {
    keyModifiers::hold(KMOD_LALT);
    map.changeCursorSize(1, 1);
    for (int z = 0; z < 3; ++z) {
        const int low = 2 + 2 * z, high = 12 - z;
        // Rows back and forth, so the cursor steps left, right and down.
        for (int x = low; x <= high; ++x)
            for (int i = 0; i <= high - low; ++i) {
                const int y = x % 2 ? high - i : low + i;
                const point camera(0, 0, z);
                map.setCursor(camera, 64 * (x - y), 32 * (x + y) + 32 - 64 * z);
                map.buildFloor();
            }
    }
    keyModifiers::release();
}

void buildFullTower(Map& map) {
    // Storeys above the ground are not buildable until roofed; Alt lets the
    // floor tool build anywhere, as the game allows.
    keyModifiers::hold(KMOD_LALT);
    for (int z = 0; z <= topFloored; ++z) {
        floorWithLobby(map, z);
        if (z == 0) {
            // Shafts from the ground reach every floored storey as the floors go up.
            buildElevator(map, 4, 5, z);
            buildElevator(map, 12, 13, z);
            buildElevator(map, 17, 9, z);
        }
        if (z == 4) buildElevator(map, 8, 18, z);
        buildRooms(map, z);
    }
    map.changeCursorSize(1, 1);
    keyModifiers::release();
}

void buildServedStorey(Map& map, int z) {
    buildServedFloors(map, z);
    buildRooms(map, z);
    map.changeCursorSize(1, 1);
}

void buildServedFloors(Map& map, int z) {
    keyModifiers::hold(KMOD_LALT);
    floorWithLobby(map, z);
    if (z == 0) {
        // Each beside a corner of two corridors.
        for (int x : {4, 10, 16})
            for (int y : {5, 12, 19}) buildElevator(map, x, y, z);
    }
    map.changeCursorSize(1, 1);
    keyModifiers::release();
}

void liveUntilBusyMorning() { liveUntil(3, 8); }

void liveUntil(int day, int hour) {
    Game* game = Game::Instance();
    game->getTower().layoutChanged(true);
    keyModifiers::hold(KMOD_LCTRL);
    const Clock& clock = game->getClock();
    for (int frame = 0; frame < 6000 && !(clock.getDay() == day && clock.getHour() == hour); ++frame) {
        ticks::advance(250);
        game->loop(0);
    }
    keyModifiers::release();
    // Ctrl left the people up to an hour behind the clock: they catch up.
    const life::Life* people = game->getTower().getLife();
    for (int frame = 0; frame < 100 && people && people->now() < game->getTower().lifeTick(); ++frame) {
        ticks::advance(1);
        game->loop(0);
    }
}

point viewScene(const Scene& scene) {
    gameSettings* settings = &Game::Instance()->getView();
    if (settings->isGridOn() != scene.grid) settings->toggleGrid();
    if (settings->isCeilingVisible() != scene.ceilings) settings->toggleCeilings();
    if (!settings->areRoomsOn()) settings->toggleRooms();
    Map& map = Game::Instance()->getMap();
    map.changeCursorSize(1, 1);
    pointAt(map, 8, 11, scene.storey);
    return point(resolutionX / 2, resolutionY / 2 - 640 + 64 * scene.storey, scene.storey);
}

void drawFrame(const point& camera, bool clearFirst) {
    Game* game = Game::Instance();
    GUI* gui = GUI::Instance();
    game->loop(camera.z);
    gui->update();
    if (clearFirst) CSurface::clearScreen();
    TowerPicture picture;
    picture.camera = camera;
    picture.draw();
    CSurface::flip();
}

void TowerPicture::draw() {
    Game::Instance()->render(camera);
    GUI::Instance()->show();
}

FrameDifference compareWithWhole(FramePainter::Scene& scene) {
    SDL_Surface* window = CSurface::slot(slots::WINDOW);
    SurfacePtr painted(SDL_ConvertSurface(window, window->format, SDL_SWSURFACE));
    FramePainter whole(FramePainter::Mode::EVERYTHING);
    whole.paint(scene);
    return compareFrames(painted.get(), window);
}

void paintFrame(FramePainter& painter, TowerPicture& picture) {
    Game::Instance()->loop(picture.camera.z);
    GUI::Instance()->update();
    painter.paint(picture);
}

void renderScene(const Scene& scene) {
    startGame(scene.fullTower, scene.night, scene.terraces);
    const point camera = viewScene(scene);
    drawFrame(camera, true);
    drawFrame(camera, false);
}

namespace {

// The colour of a pixel of a surface of any depth; the surface is locked.
void colourAt(SDL_Surface* surface, int x, int y, Uint8 rgb[3]) {
    const int bytes = surface->format->BytesPerPixel;
    const Uint8* at = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * bytes;
    Uint32 value = 0;
    for (int b = 0; b < bytes; ++b) value |= Uint32(at[b]) << (8 * b);
    SDL_GetRGB(value, surface->format, &rgb[0], &rgb[1], &rgb[2]);
}

}  // namespace

FrameDifference compareFrames(SDL_Surface* frame, SDL_Surface* reference) {
    FrameDifference difference;
    if (frame->w != reference->w || frame->h != reference->h) {
        difference.sizesDiffer = true;
        return difference;
    }
    SDL_LockSurface(frame);
    SDL_LockSurface(reference);
    for (int y = 0; y < frame->h; ++y)
        for (int x = 0; x < frame->w; ++x) {
            Uint8 ours[3], theirs[3];
            colourAt(frame, x, y, ours);
            colourAt(reference, x, y, theirs);
            int largest = 0;
            for (int c = 0; c < 3; ++c) largest = std::max(largest, std::abs(ours[c] - theirs[c]));
            if (largest == 0) continue;
            if (difference.pixels == 0) {
                difference.firstX = x;
                difference.firstY = y;
            }
            ++difference.pixels;
            difference.largest = std::max(difference.largest, largest);
        }
    SDL_UnlockSurface(reference);
    SDL_UnlockSurface(frame);
    return difference;
}

std::string describe(const FrameDifference& difference) {
    if (difference.missing) return "no reference picture to compare with";
    if (difference.sizesDiffer) return "the frames differ in size";
    char text[128];
    snprintf(text, sizeof text, "%ld pixels differ, by up to %d in a channel; the first at (%d, %d)",
             difference.pixels, difference.largest, difference.firstX, difference.firstY);
    return text;
}

bool same(const FrameDifference& difference) {
    return !difference.missing && !difference.sizesDiffer && difference.pixels == 0;
}

FrameDifference compareWithoutPictureCopies(const Scene& scene) {
    CSurface::usePictureCopies(false);
    renderScene(scene);
    SDL_Surface* screen = CSurface::slot(slots::WINDOW);
    SurfacePtr plain(SDL_ConvertSurface(screen, screen->format, SDL_SWSURFACE));
    CSurface::usePictureCopies(true);
    FrameDifference difference;
    difference.missing = plain == nullptr;
    if (!plain) return difference;
    const std::vector<Scene>& scenes = all();
    size_t index = 0;
    while (index < scenes.size() && std::string(scenes[index].name) != scene.name) ++index;
    renderScene(scenes[(index + 1) % scenes.size()]);
    renderScene(scene);
    return compareFrames(screen, plain.get());
}

const Scene& recordedScene() { return all()[1]; }

std::string recordingName(int width, int height) {
    return std::string(recordedScene().name) + "-" + std::to_string(width) + "x" + std::to_string(height) + ".png";
}

FrameDifference compareWithRecording(const std::string& directory, const std::string& drawnPath) {
    renderScene(recordedScene());
    SDL_Surface* screen = CSurface::slot(slots::WINDOW);
    SurfacePtr recording(IMG_Load((directory + "/" + recordingName(screen->w, screen->h)).c_str()));
    FrameDifference difference;
    difference.missing = recording == nullptr;
    if (recording) difference = compareFrames(screen, recording.get());
    if (!same(difference)) SDL_SaveBMP(screen, drawnPath.c_str());
    return difference;
}

}  // namespace frame_scenes
