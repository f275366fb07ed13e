#ifndef ZENTROVA_PLANNER_H
#define ZENTROVA_PLANNER_H

#include <vector>

#include "Layout.h"

namespace life {

// Where someone is headed: their room, or out of the tower by the lobby.
struct Goal {
    enum Kind : unsigned char { Room, Exit };
    Kind kind = Exit;
    int room = -1;  // the room's index in the layout, for Room
};

// The next stretch of a journey: a walk on this storey, either to the goal
// or to a hall of a shaft, there to ride to another storey.
struct Leg {
    bool toHall = false;
    int shaft = -1;        // the shaft's index in the layout, when toHall
    int rideTo = -1;       // the storey to ride to
    int landing = -1;      // the walkable area to get out into there
    std::vector<int> path;  // the cells walked, the last one the end of the walk
};

// Why a goal cannot be reached from somewhere.
enum class Unreachable : unsigned char {
    No,            // it can be reached
    NoLobby,       // nobody can come in
    NoFloorPath,   // no floor leads from its door to the lobby or to a shaft serving its storey
    NoShaft,       // no shaft serves its storey, or none of those its floors reach leads to the lobby
};

// Finds the way through a layout: on a storey over the walkable cells, and
// between storeys by the shafts, with as few rides as possible; of the
// shafts that make as few, the one with the shortest walk to its hall and,
// on the last ride, from its hall on to the goal. People coming in at the
// same door thus spread over the shafts nearest their rooms.
class Planner {
public:
    explicit Planner(const Layout& layout);

    // The first leg from a walkable cell to the goal; false when it cannot
    // be reached from there.
    bool plan(int from, Goal goal, Leg& leg) const;
    // Whether people coming in at the lobby reach the room, and if not, why.
    Unreachable fromLobby(int room) const;
    // Every cell people coming in at the lobby can walk to, riding where
    // they must, and the rooms (their indices) they can step into.
    void reachableFromLobby(std::vector<int>& cells, std::vector<int>& rooms) const;
    // A hall cell of the shaft on the storey inside the area, or -1.
    int hallIn(int shaft, int storey, int area) const;
    const Layout& layout() const { return map; }

private:
    struct Ride {
        int shaft;
        int storey;
        int area;
    };
    bool isGoalArea(int area, Goal goal) const;
    // Breadth first over the areas; the first ride of a shortest way, or
    // none (shaft -1) when the start is in a goal area already. False: no way.
    bool firstRide(int area, Goal goal, Ride& ride) const;
    // Breadth first over the cells of an area to the nearest target cell.
    bool walk(int from, const std::vector<int>& targets, std::vector<int>& path) const;
    // Rides to the goal from every area, breadth first from the goal's areas
    // (rides go both ways); -1 where there is no way.
    void ridesToGoal(Goal goal) const;
    // Walking steps from the sources to every cell of their areas, into
    // steps, with the way back in cameFrom.
    void spread(const std::vector<int>& sources, std::vector<int>& steps) const;
    // The fewest steps in steps to one of the shaft's halls on the storey in the area; -1 for none.
    int nearestHall(const std::vector<int>& steps, int shaft, int storey, int area, int& hall) const;
    const std::vector<int>& goalCells(Goal goal) const;

    const Layout& map;
    std::vector<std::vector<Ride>> rides;  // by area: where a shaft takes its people
    mutable std::vector<int> seen;         // scratch of the searches, by area or cell
    mutable std::vector<int> cameFrom;
    mutable std::vector<Ride> via;
    mutable std::vector<int> frontier;
    mutable std::vector<char> isTarget;
    mutable std::vector<int> areaRides;  // by area, rides to the goal
    mutable std::vector<int> fromSteps;  // by cell, steps from the start
    mutable std::vector<int> goalSteps;  // by cell, steps to the goal
    mutable std::vector<int> sources;
};

}  // namespace life

#endif
