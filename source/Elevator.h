#ifndef ZENTROVA_ELEVATOR_H
#define ZENTROVA_ELEVATOR_H

#include <memory>
#include <vector>

#include "ElevatorCar.h"
#include "Transportation.h"

// An elevator shaft with its car; the map refers to it from every storey the
// shaft reaches.
class Elevator : public Transportation {
public:
    Elevator(point location, int roomType);

    void OnLoop(int x, int y) override;
    void OnRender(const point& camera, int x, int y) override;
    void dumpVars() override;

    ElevatorCar& car() { return *cars.front(); }

    // The floor the next departing car of any elevator is sent to.
    static int floorGoal;

private:
    std::vector<std::unique_ptr<ElevatorCar>> cars;
};

#endif
