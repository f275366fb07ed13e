#ifndef ZENTROVA_ROOMFACTORY_H
#define ZENTROVA_ROOMFACTORY_H

#include <memory>

#include "RoomCounters.h"
#include "point.h"

class BasicRoom;

// The one place a room of a kind is made: the lobby for kind 0, a shaft with
// its car for an elevator kind, a plain room for a basic kind; null for an
// index outside the table or a kind that builds no room (stairs).
std::unique_ptr<BasicRoom> makeRoom(int kind, point anchor, RoomCounters::Next taken);

#endif
