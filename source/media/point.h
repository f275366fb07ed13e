#ifndef ZENTROVA_POINT_H
#define ZENTROVA_POINT_H

// A grid cell (x, y, storey), a camera (pixel offset and viewed storey) or a
// projected pixel position, depending on who holds it.
struct point {
    short x = 0;
    short y = 0;
    short z = 0;

    point() = default;
    point(int px, int py, int pz) : x(static_cast<short>(px)), y(static_cast<short>(py)), z(static_cast<short>(pz)) {}

    bool operator==(const point& other) const { return x == other.x && y == other.y && z == other.z; }
    bool operator!=(const point& other) const { return !(*this == other); }
};

#endif
