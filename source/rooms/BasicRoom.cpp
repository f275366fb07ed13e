#include "BasicRoom.h"

#include <algorithm>

#include "CSurface.h"
#include "RoomDefs.h"
#include "isometric.h"

BasicRoom::BasicRoom(point where, int type, int pictureVariant, int serialNumber)
    : Room(where), roomType(type), serial(serialNumber) {
    name[0] = '\0';
    aRoom* def = definition();
    if (!def) return;
    const int sizeX = def->sizeX, sizeY = def->sizeY;

    if (sizeX == sizeY) {
        clip.w = static_cast<Uint16>(128 * sizeX);
        clip.h = static_cast<Uint16>(64 * sizeY);
    } else {
        const int small = std::min(sizeX, sizeY), big = std::max(sizeX, sizeY);
        clip.w = static_cast<Uint16>(128 * small + 128 / big);
        clip.h = static_cast<Uint16>(64 * small + 64 / big);
    }
    if (sizeX > 1) {
        screenPosition = isometric::cellOnStorey(location.x - sizeX + 1, location.y - sizeY + 1, location.z);
    } else {
        // The leftmost cell of the footprint lies sizeY - 1 cells back along x;
        // a one-cell room is drawn on its own cell.
        screenPosition = isometric::cellOnStorey(location.x - sizeY + 1, location.y, location.z);
    }
    if (sizeX == 2) screenPosition.x = static_cast<short>(screenPosition.x - 64);
    if (sizeX == 3) screenPosition.x = static_cast<short>(screenPosition.x - 128);
    clip.h = static_cast<Uint16>(clip.h + 64);
    screenPosition.y = static_cast<short>(screenPosition.y - 64);

    if (def->maxVariant != 0) {
        variant = pictureVariant;
        clip.y = static_cast<Sint16>(clip.y + variant * clip.h);
    }
    snprintf(name, sizeof name, "%s %d", def->title, serial);
}

aRoom* BasicRoom::definition() const { return roomDefinition(roomType); }

void BasicRoom::OnLoop(int, int, Shuttle&) {}

void BasicRoom::drawPicture(const point& camera, int rise) {
    const aRoom* def = definition();
    if (!def) return;
    const int px = camera.x + screenPosition.x;
    const int py = camera.y + screenPosition.y;
    if (!isometric::onScreen(px, py, clip.w, clip.h)) return;
    CSurface::OnDraw(0, roomPicture(*def), px, py - rise, &clip);
    if (pathChecked) CSurface::OnDraw(0, def->icon.get(), px + clip.w / 2, py + clip.h / 2, nullptr);
}

void BasicRoom::OnRender(const point& camera, int x, int y) {
    if (x != location.x || y != location.y) return;
    drawPicture(camera, 0);
}

void BasicRoom::connectRoom(Room* other) {
    if (other) connectedRooms.push_back(other);
}

bool BasicRoom::isConnected() {
    if (pathChecked) return true;
    pathChecked = true;
    return false;
}

void BasicRoom::resetPathCheck() { pathChecked = false; }

double BasicRoom::rentFrom(int kind, short day, int x, int y) const {
    const aRoom* def = roomDefinition(kind);
    if (!def || def->rentPeriod <= 0) return 0;
    if (x != location.x || y != location.y) return 0;
    if (day % def->rentPeriod != 0) return 0;
    return def->rentIncome;
}

double BasicRoom::collectRent(short day, int x, int y) { return rentFrom(roomType, day, x, y); }

void BasicRoom::getSize(short& sizeX, short& sizeY) {
    const aRoom* def = definition();
    sizeX = def ? static_cast<short>(def->sizeX) : 1;
    sizeY = def ? static_cast<short>(def->sizeY) : 1;
}

bool BasicRoom::save(int a, int b, FILE* file) {
    if (!Room::save(a, b, file)) return false;
    return fprintf(file, "%d %d %d %s\n", reserved1, reserved2, roomType, name) > 0;
}

const char* BasicRoom::getRoomInfo() { return name; }

bool BasicRoom::isTransportation() { return false; }

void BasicRoom::dumpVars() {
    Room::dumpVars();
    printf("Room name: %s.\n Connected Rooms: ", name);
    for (Room* other : connectedRooms) printf("%s, ", other->getRoomInfo());
}

void BasicRoom::forgetConnection(Room* other) {
    connectedRooms.erase(std::remove(connectedRooms.begin(), connectedRooms.end(), other), connectedRooms.end());
}
