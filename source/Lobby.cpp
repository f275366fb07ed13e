#include "Lobby.h"

#include "CSurface.h"
#include "RoomDefs.h"
#include "Tile.h"
#include "gEngine.h"

Lobby::Lobby(point where) : BasicRoom(where, 0) {
    clip.x = 0;
    clip.y = 0;
    clip.w = 128;
    clip.h = 64;
    screenPosition = Tile::convertToScreen(location.x, location.y, 0, -64 * location.z);
}

void Lobby::OnRender(const point& camera, int x, int y) {
    screenPosition = Tile::convertToScreen(x, y, 0, -64 * location.z);
    const int px = camera.x + screenPosition.x;
    const int py = camera.y + screenPosition.y;
    if (!(-128 < px && px < resolutionX + 128 && -64 < py && py < resolutionY + 64)) return;
    if (const aRoom* def = roomDefinition(0)) CSurface::OnDraw(0, def->surface, px, py, nullptr);
}

double Lobby::collectRent(short day, int x, int y) { return rentFrom(0, day, x, y); }
