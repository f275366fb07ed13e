#include "Room.h"

#include "isometric.h"

Room::Room(point where) : location(where), screenPosition(isometric::cellToScreen(where.x, where.y, 0, 0)) {
    clip.x = 0;
    clip.y = 0;
    clip.w = 0;
    clip.h = 0;
}

void Room::OnLoop(int, int, Shuttle&) {}

void Room::OnRender(const point&, int, int) {}

bool Room::save(int, int, FILE* file) { return fprintf(file, "%d %d %d ", location.x, location.y, location.z) > 0; }

bool Room::load(int, int, FILE* file) {
    int x = location.x, y = location.y, z = location.z;
    if (fscanf(file, "%d %d %d ", &x, &y, &z) == EOF) return false;
    location = point(x, y, z);
    return true;
}

void Room::dumpVars() { printf("Room at position x: %d y: %d\n", location.x, location.y); }
