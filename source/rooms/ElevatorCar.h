#ifndef ZENTROVA_ELEVATORCAR_H
#define ZENTROVA_ELEVATORCAR_H

#include <SDL.h>

#include "point.h"

// The car of an elevator shaft, shuttling 2 pixels per step between floors
// that lie 64 pixels apart.
class ElevatorCar {
public:
    // Where the car is and what it does, in floors and pixels above the
    // lowest floor of its travel: what a saved game keeps of it.
    struct State {
        int rise = 0;       // pixels above its lowest floor
        int goalFloor = 0;  // floors above its lowest floor
        bool goingUp = false;
        bool goingDown = false;
        bool arrived = true;
        int passengers = 0;
        int graphic = 0;
    };
    State state() const;
    // Takes a state that the shuttle can be in, with its goal at most
    // highestGoal floors up; false (and the car unchanged) otherwise.
    bool restore(const State& saved, int highestGoal);

    ElevatorCar(point location, point screen, int roomType);

    void OnLoop();
    void loadCar(short count);
    short unloadCar();
    void callCarToFloor(int floor);
    bool hasArrived() const { return arrived; }
    void OnRender(const point& camera, int x, int y);
    void changeGraphic();
    void dumpVars() const;

    short getGraphic() const { return graphic; }
    short getPassengers() const { return passengers; }
    const point& getScreen() const { return screen; }
    const point& getGoal() const { return goal; }
    int getBaseY() const { return baseY; }
    bool isGoingUp() const { return goingUp; }
    bool isGoingDown() const { return goingDown; }

private:
    short graphic = 0;
    short passengers = 0;
    point location;
    point screen;
    point goal;
    bool goingUp = false;
    bool goingDown = false;
    bool arrived = true;
    int roomType;
    int baseY;
};

#endif
