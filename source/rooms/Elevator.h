#ifndef ZENTROVA_ELEVATOR_H
#define ZENTROVA_ELEVATOR_H

#include <memory>
#include <vector>

#include "ElevatorCar.h"
#include "Transportation.h"

// An elevator shaft with its car; the map refers to it from every storey the
// shaft reaches.
class Elevator final : public Transportation {
public:
    Elevator(point location, int roomType);

    void OnLoop(int x, int y) override;
    void OnRender(const point& camera, int x, int y) override;
    void dumpVars() override;

    ElevatorCar& car() { return *cars.front(); }
    const ElevatorCar& car() const { return *cars.front(); }

    // Every car starts its shuttle afresh: the next departure goes up.
    static void resetShuttle() { floorGoal = 1; }
    static int nextFloorGoal() { return floorGoal; }
    // A saved game's shuttle; false for a floor the shuttle never sends cars to.
    static bool setNextFloorGoal(int goal);
    // The shuttle runs between the first two floors of each shaft.
    static constexpr int topShuttleFloor = 1;

private:
    // The floor the next departing car of any elevator is sent to; one for the tower.
    static int floorGoal;

    std::vector<std::unique_ptr<ElevatorCar>> cars;
};

#endif
