#ifndef ZENTROVA_LIFELAYOUT_H
#define ZENTROVA_LIFELAYOUT_H

#include "Layout.h"

class Map;

// The tower as its people see it: the floors and lobby cells they walk on,
// the rooms with the use their kind gives them, and the shafts with the
// storeys where they cover every cell of their footprint.
life::Layout lifeLayout(const Map& map);

// What kind of people a room of this kind has.
life::RoomUse roomUseOf(int kind);

#endif
