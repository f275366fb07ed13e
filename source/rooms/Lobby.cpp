#include "Lobby.h"

#include "CSurface.h"
#include "RoomDefs.h"
#include "isometric.h"

Lobby::Lobby(point where, int serial) : BasicRoom(where, 0, 0, serial) {
    clip.x = 0;
    clip.y = 0;
    clip.w = isometric::cellWidth;
    clip.h = isometric::cellHeight;
    screenPosition = isometric::cellOnStorey(location.x, location.y, location.z);
}

void Lobby::OnRender(const point& camera, int x, int y) {
    screenPosition = isometric::cellOnStorey(x, y, location.z);
    const int px = camera.x + screenPosition.x;
    const int py = camera.y + screenPosition.y;
    if (!isometric::onScreen(px, py, isometric::cellWidth, isometric::cellHeight)) return;
    if (const aRoom* def = roomDefinition(0)) CSurface::OnDraw(0, roomPicture(*def), px, py, nullptr);
}

double Lobby::collectRent(short day, int x, int y) { return rentFrom(0, day, x, y); }
