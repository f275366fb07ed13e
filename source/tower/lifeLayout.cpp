#include "lifeLayout.h"

#include <map>
#include <vector>

#include "BasicRoom.h"
#include "Elevator.h"
#include "Lobby.h"
#include "Map.h"
#include "RoomDefs.h"
#include "Tile.h"

life::RoomUse roomUseOf(int kind) {
    const aRoom* def = roomDefinition(kind);
    if (!def || def->type != BASIC) return life::RoomUse::None;
    if (def->kindName == "hotel1") return life::RoomUse::Single;
    if (def->kindName == "hotel2") return life::RoomUse::Suite;
    if (def->kindName == "office") return life::RoomUse::Office;
    return life::RoomUse::None;
}

life::Layout lifeLayout(const Map& map) {
    life::Layout layout(map.getWidth(), map.getHeight(), map.getMaxFloors());
    std::map<const Room*, std::vector<int>> cells;
    for (int z = 0; z < map.getMaxFloors(); ++z)
        for (int y = 0; y < map.getHeight(); ++y)
            for (int x = 0; x < map.getWidth(); ++x) {
                const Room* room = map.roomAt(x, y, z);
                const Tile* tile = map.tileAt(x, y, z);
                if (room && room == map.getLobby()) {
                    if (z == 0) layout.addLobbyCell(x, y);
                } else if (room) {
                    cells[room].push_back(layout.index(x, y, z));
                } else if (tile && tile->hasFloor()) {
                    layout.setWalkable(x, y, z);
                }
            }
    map.forEachRoom([&](const Room& room) {
        const auto* basic = dynamic_cast<const BasicRoom*>(&room);
        auto found = cells.find(&room);
        if (!basic || found == cells.end() || &room == map.getLobby()) return;
        const point anchor = room.getLocation();
        if (dynamic_cast<const Elevator*>(&room)) {
            life::Layout::Shaft shaft;
            shaft.uid = room.getUid();
            shaft.anchor = layout.index(anchor.x, anchor.y, anchor.z);
            for (int cell : found->second)
                if (layout.storeyOf(cell) == anchor.z) shaft.footprint.push_back(layout.onStorey(cell, 0));
            // A shaft serves a storey only where it covers every cell of its footprint.
            for (int z = anchor.z; z < map.getMaxFloors() && !shaft.footprint.empty(); ++z) {
                bool whole = true;
                for (int column : shaft.footprint)
                    whole = whole && map.roomAt(layout.xOf(column), layout.yOf(column), z) == &room;
                if (!whole) break;
                shaft.served = sim::StoreySet(shaft.served.bits() | (1u << z));
            }
            layout.addShaft(std::move(shaft));
            return;
        }
        life::Layout::Room lived;
        lived.uid = room.getUid();
        lived.anchor = layout.index(anchor.x, anchor.y, anchor.z);
        lived.use = roomUseOf(basic->getRoomType());
        lived.storey = anchor.z;
        lived.cells = found->second;
        layout.addRoom(std::move(lived));
    });
    layout.finish();
    return layout;
}
