#include "Tile.h"

#include "CSurface.h"
#include "gameSettings.h"
#include "isometric.h"
#include "sheetGeometry.h"


Tile::Tile(int x, int y, int z) : position(x, y, z), screenPosition(isometric::cellOnStorey(x, y, z)) {
    clip = makeRect(0, 0, isometric::cellWidth, isometric::cellHeight);
}

void Tile::init(int newType) {
    setBuildable(newType <= 3 && position.z == 0);
    wallOn = true;
    type = static_cast<short>(newType);
    setClip();
}

point Tile::convertToScreen(int x, int y, int offsetX, int offsetY) {
    return isometric::cellToScreen(x, y, offsetX, offsetY);
}

void Tile::setClip() {
    constexpr SDL_Rect byType[] = {sheet::tiles::street, sheet::tiles::lawn, sheet::tiles::floor, sheet::tiles::roof};
    if (type >= EMPTY && type <= ROOF) clip = byType[type];
}


bool Tile::isVisible(const point& camera) const {
    return isometric::onScreen(camera.x + screenPosition.x, camera.y + screenPosition.y, isometric::cellWidth,
                               isometric::cellHeight);
}

void Tile::draw(int sheet, const SDL_Rect* what, const point& at, const point& camera) const {
    CSurface::OnDraw(0, sheet, camera.x + at.x, camera.y + at.y, what);
}

void Tile::OnRender(const point& camera, const gameSettings& view) {
    const bool gridOn = view.isGridOn();
    if (type == EMPTY && position.z > 0) {
        if (gridOn) draw(cursorSheet, &sheet::cursor::grid, screenPosition, camera);
        return;
    }
    if (!isVisible(camera) || (hasFloor() && position.z != camera.z)) return;
    const bool hiddenRoof = type == ROOF && !view.isCeilingVisible();
    if (!hiddenRoof) {
        if (!hasFlag(tileOffBit)) {
            draw(tileSheet, &clip, screenPosition, camera);
            if (hasFlag(shadowBit)) draw(tileSheet, &sheet::tiles::shadow, screenPosition, camera);
        }
        if (gridOn) draw(cursorSheet, &sheet::cursor::grid, screenPosition, camera);
        if (hasFlag(backWallBit) && wallOn) {
            draw(wallSheet, &sheet::walls::clip[backWallClipIndex], backWallPosition, camera);
        }
    }
    if (pathChecked) draw(cursorSheet, &sheet::cursor::path, screenPosition, camera);
}

void Tile::OnRenderBelow(const point& camera, const gameSettings& view) {
    if (type == EMPTY && position.z > 0) return;
    if (!isVisible(camera)) return;
    if (hasFloor()) {
        if (hasFlag(frontWallBit)) {
            draw(wallSheet, &sheet::walls::clip[frontWallClipIndex], frontWallPosition, camera);
        }
        return;
    }
    const bool hiddenRoof = type == ROOF && !view.isCeilingVisible();
    if (!hiddenRoof && !hasFlag(tileOffBit)) {
        draw(tileSheet, &clip, screenPosition, camera);
        if (hasFlag(shadowBit)) draw(tileSheet, &sheet::tiles::shadow, screenPosition, camera);
    }
    if (pathChecked) draw(cursorSheet, &sheet::cursor::path, screenPosition, camera);
}

void Tile::renderCursor(const point& camera) {
    draw(cursorSheet, isBuildable() ? &sheet::cursor::buildable : &sheet::cursor::refused, screenPosition, camera);
}

void Tile::buildRoof(bool on) {
    type = on ? ROOF : EMPTY;
    setBuildable(on);
    setClip();
}

void Tile::buildFloor(bool floor, int neighbours, bool destructable) {
    setFlag(destructableBit, destructable);
    neighbourFloors = static_cast<short>(neighbours);
    setFlag(shadowBit, false);
    if (floor) {
        type = FLOOR;
        setFlag(hasFloorBit, true);
        setWallClipIndex();
    } else {
        type = PLAIN;
        setFlag(hasFloorBit | backWallBit | frontWallBit, false);
    }
    setClip();
}

void Tile::addFloor(bool add, int bit) {
    neighbourFloors = static_cast<short>(add ? (neighbourFloors | bit) : (neighbourFloors - bit));
    setWallClipIndex();
}

void Tile::placeShadow() {
    if (type != FLOOR) setFlag(shadowBit, true);
}

bool Tile::isPathFloor() {
    pathChecked = true;
    return type == FLOOR;
}

void Tile::setWallClipIndex() {
    const bool right = neighbourFloors & xPlus, front = neighbourFloors & yPlus;
    if (right && front) {
        setFlag(frontWallBit, false);
    } else {
        setFlag(frontWallBit, true);
        frontWallPosition = point(screenPosition.x, screenPosition.y - 32, 0);
        if (right) {
            frontWallClipIndex = 3;
        } else if (front) {
            frontWallClipIndex = 4;
            frontWallPosition.x = static_cast<short>(screenPosition.x + 64);
        } else {
            frontWallClipIndex = 5;
        }
    }
    const bool back = neighbourFloors & yMinus, left = neighbourFloors & xMinus;
    if (back && left) {
        setFlag(backWallBit, false);
    } else {
        setFlag(backWallBit, true);
        backWallPosition = point(screenPosition.x, screenPosition.y - 64, 0);
        if (left) {
            backWallClipIndex = 1;
            backWallPosition.x = static_cast<short>(screenPosition.x + 64);
        } else if (back) {
            backWallClipIndex = 0;
        } else {
            backWallClipIndex = 2;
        }
    }
}

bool Tile::save(FILE* file) const { return fprintf(file, "%hd %hd %d\n", type, neighbourFloors, booleans) > 0; }

bool Tile::load(FILE* file) {
    short newType = type, newNeighbours = neighbourFloors;
    int newFlags = booleans;
    if (fscanf(file, "%hd %hd %d", &newType, &newNeighbours, &newFlags) != 3) {
        printf("TILE LOAD ERROR: x: %d y: %d z: %d", position.x, position.y, position.z);
        return false;
    }
    setState(newType, newNeighbours, newFlags);
    return true;
}

void Tile::setState(short newType, short newNeighbours, int newFlags) {
    // A record from an edited or damaged file must not point the drawing
    // outside its sheets: unknown types keep the tile's own, and only the
    // known mask and flag bits are taken.
    if (newType >= EMPTY && newType <= ROOF) type = newType;
    neighbourFloors = static_cast<short>(newNeighbours & (xPlus | yMinus | xMinus | yPlus));
    booleans = newFlags & knownFlags;
    screenPosition = isometric::cellOnStorey(position.x, position.y, position.z);
    if (type == FLOOR) setWallClipIndex();
    setClip();
}

void Tile::dumpVars() const {
    printf("tile at: type: %d positionX: %d Y:%d floor: %d\n", type, position.x, position.y, neighbourFloors);
    printf("booleans: %d\n", booleans);
}
