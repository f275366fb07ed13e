#include "RoomFactory.h"

#include "BasicRoom.h"
#include "Elevator.h"
#include "Lobby.h"
#include "RoomDefs.h"

std::unique_ptr<BasicRoom> makeRoom(int kind, point anchor, RoomCounters::Next taken) {
    const aRoom* def = roomDefinition(kind);
    if (!def) return nullptr;
    if (kind == 0) return std::make_unique<Lobby>(anchor, taken.serial);
    if (def->type == ELEVATOR) return std::make_unique<Elevator>(anchor, kind, taken.variant, taken.serial);
    if (def->type == BASIC) return std::make_unique<BasicRoom>(anchor, kind, taken.variant, taken.serial);
    return nullptr;
}
