#ifndef ZENTROVA_ISOMETRIC_H
#define ZENTROVA_ISOMETRIC_H

#include "point.h"

// The one isometric projection of the game: a cell is a 128 x 64 diamond,
// each storey is drawn 64 pixels higher than the one below. Tiles, rooms,
// elevator cars, the map's cursor and the tests all place things with it.
namespace isometric {

constexpr int cellWidth = 128;
constexpr int cellHeight = 64;
constexpr int storeyHeight = 64;

// Top-left corner of the box around cell (x, y), moved by the offsets:
// x + 1 steps 64 right and 32 down, y + 1 steps 64 left and 32 down.
point cellToScreen(int x, int y, int offsetX, int offsetY);

// The same for a cell of storey z.
inline point cellOnStorey(int x, int y, int z) { return cellToScreen(x, y, 0, -storeyHeight * z); }

// The cell whose diamond holds the pointer on the camera's storey, before
// any clamping to the grid (divisions truncate toward zero).
void pointerToCell(const point& camera, int mouseX, int mouseY, int& cellX, int& cellY);

// Where the pointer goes to point at the middle of cell (x, y) of the
// camera's storey: the inverse of pointerToCell.
point pointerOverCell(const point& camera, int cellX, int cellY);

// Whether a picture w x h whose corner lands at (px, py) may show in the
// window; pictures further out than their own size are skipped.
bool onScreen(int px, int py, int w, int h);

}  // namespace isometric

#endif
