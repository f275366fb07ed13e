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

    // Every car starts its shuttle afresh: the next departure goes up.
    static void resetShuttle() { floorGoal = 1; }
    static int nextFloorGoal() { return floorGoal; }

private:
    // The floor the next departing car of any elevator is sent to; one for the tower.
    static int floorGoal;

    std::vector<std::unique_ptr<ElevatorCar>> cars;
};

#endif
