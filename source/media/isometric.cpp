#include "isometric.h"

#include "display.h"

namespace isometric {

point cellToScreen(int x, int y, int offsetX, int offsetY) {
    return point((x - y) * (cellWidth / 2) + offsetX - cellWidth / 2, (x + y) * (cellHeight / 2) + offsetY, 0);
}

void pointerToCell(const point& camera, int mouseX, int mouseY, int& cellX, int& cellY) {
    const int dx = mouseX - camera.x;
    const int dy = mouseY - camera.y + storeyHeight * camera.z;
    cellX = (dy + dx / 2) / cellHeight;
    cellY = (dy - dx / 2) / cellHeight;
}

point pointerOverCell(const point& camera, int cellX, int cellY) {
    return point(camera.x + (cellX - cellY) * (cellWidth / 2),
                 camera.y + (cellX + cellY) * (cellHeight / 2) + cellHeight / 2 - storeyHeight * camera.z, 0);
}

bool onScreen(int px, int py, int w, int h) {
    return -w < px && px < resolutionX + w && -h < py && py < resolutionY + h;
}

}  // namespace isometric
