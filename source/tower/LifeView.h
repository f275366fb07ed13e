#ifndef ZENTROVA_LIFEVIEW_H
#define ZENTROVA_LIFEVIEW_H

#include <vector>

#include "CSurface.h"
#include "Map.h"

namespace life {
class Life;
}

// Draws the living tower into the map's picture: the people walking and
// waiting on the viewed storey, each shaft only where it serves, and its car
// at its real height. A frame allocates nothing once the crowd has been seen.
class LifeView final : public Map::CellOverlay {
public:
    LifeView();

    // Sorts the people of the viewed storey by the cell they stand on.
    void prepare(const life::Life& life, const Map& map, int storey, bool showService);
    bool drawRoom(Room& room, const point& camera, int x, int y) override;
    void drawCell(const point& camera, int x, int y) override;

    // At most this many are drawn on one cell; a number tells how many wait there.
    static constexpr int shownOnACell = 4;

private:
    void drawPerson(const point& camera, int index, int slot);
    void tint(Room& room, const point& camera, int x, int y);
    // Every picture a frame may draw is cut for the window before the first frame.
    void prepareCopies();
    void drawCount(const point& camera, int x, int y, int count);

    const life::Life* life = nullptr;
    const Map* map = nullptr;
    int storey = 0;
    SurfacePtr day;
    SurfacePtr night;
    SurfacePtr service;  // the tints of the service view
    bool serviceShown = false;
    bool copiesPrepared = false;
    std::vector<int> firstOnCell;  // by cell of the storey: the first person's index, or -1
    std::vector<int> nextOnCell;   // by person's index
    std::vector<int> countOnCell;
};

#endif
