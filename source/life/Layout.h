#ifndef ZENTROVA_LAYOUT_H
#define ZENTROVA_LAYOUT_H

#include <cstdint>
#include <vector>

#include "StoreySet.h"

namespace life {

// What kind of people a room has.
enum class RoomUse : unsigned char { None, Single, Suite, Office };
// How many people a room of each use has.
int occupantsOf(RoomUse use);

// The tower as its people see it: which cells they may walk on, where the
// lobby lets them in and out, the rooms they live and work in and the shafts
// that carry them between storeys. The tower makes one whenever it is built
// on, bulldozed, undone or loaded; cells are numbered by index(x, y, z).
class Layout {
public:
    // A room's uid lasts while the tower runs; its anchor, the cell it was
    // built at, also across a save, so saves name rooms and shafts by it.
    struct Room {
        int uid = 0;
        int anchor = -1;
        RoomUse use = RoomUse::None;
        int storey = 0;
        std::vector<int> cells;  // cell indices on its storey
    };
    struct Shaft {
        int uid = 0;
        int anchor = -1;
        std::vector<int> footprint;  // cell indices on storey 0 of the columns it stands in
        sim::StoreySet served;
    };

    Layout() : Layout(0, 0, 0) {}
    Layout(int width, int height, int storeys);

    int width() const { return w; }
    int height() const { return h; }
    int storeys() const { return z; }
    int cellCount() const { return w * h * z; }
    bool inside(int x, int y, int storey) const { return x >= 0 && y >= 0 && storey >= 0 && x < w && y < h && storey < z; }
    int index(int x, int y, int storey) const { return (storey * h + y) * w + x; }
    int xOf(int cell) const { return cell % w; }
    int yOf(int cell) const { return cell / w % h; }
    int storeyOf(int cell) const { return cell / (w * h); }
    // The same column on another storey.
    int onStorey(int cell, int storey) const { return index(xOf(cell), yOf(cell), storey); }

    // Building it: floors and lobby cells people walk on, the lobby cell
    // they come in by (the one nearest the street), rooms and shafts in any
    // order. finish() sorts them by uid and works out who reaches what.
    void setWalkable(int x, int y, int storey);
    void addLobbyCell(int x, int y);
    void addRoom(Room room);
    void addShaft(Shaft shaft);
    void finish();  // once; later calls change nothing

    bool walkable(int cell) const { return cell >= 0 && cell < cellCount() && regions[cell] >= 0; }
    int region(int cell) const { return cell >= 0 && cell < cellCount() ? regions[cell] : -1; }
    int regionCount() const { return regionTotal; }
    int regionStorey(int regionId) const { return regionStoreys[regionId]; }
    bool hasEntrance() const { return entranceCell >= 0; }
    int entrance() const { return entranceCell; }

    const std::vector<Room>& rooms() const { return roomList; }
    const std::vector<Shaft>& shafts() const { return shaftList; }
    int roomIndex(int uid) const;   // -1 when there is none
    int shaftIndex(int uid) const;  // -1 when there is none
    // From a uid to its room's or shaft's anchor and back; -1 when there is none.
    int anchorOf(int uid) const;
    int uidAt(int anchor) const;
    // The cells beside a room that people walk on, from which they step in.
    const std::vector<int>& doors(int room) const { return roomDoors[room]; }
    // The cells beside a shaft on a storey it serves, where people wait for it.
    const std::vector<int>& halls(int shaft, int storey) const;
    // Whether a cell is one of a shaft's halls on its storey: the shaft's index, or -1.
    int hallOf(int cell) const;

private:
    void neighbours(int cell, int out[4], int& count) const;

    int w, h, z;
    bool finished = false;
    std::vector<int> regions;        // by cell: the walkable area it belongs to, or -1
    std::vector<int> regionStoreys;  // by region
    int regionTotal = 0;
    int entranceCell = -1;
    std::vector<Room> roomList;
    std::vector<Shaft> shaftList;
    std::vector<std::vector<int>> roomDoors;
    std::vector<std::vector<int>> shaftHalls;  // by shaft * storeys + storey
    std::vector<int> hallShaft;                // by cell
    static const std::vector<int> none;
};

}  // namespace life

#endif
