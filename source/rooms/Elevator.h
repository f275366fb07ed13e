#ifndef ZENTROVA_ELEVATOR_H
#define ZENTROVA_ELEVATOR_H

#include <memory>
#include <vector>

#include "ElevatorCar.h"
#include "Shuttle.h"
#include "Transportation.h"

// An elevator shaft with its car; the map refers to it from every storey the
// shaft reaches.
class Elevator final : public Transportation {
public:
    Elevator(point location, int roomType, int variant, int serial);

    void OnLoop(int x, int y, Shuttle& shuttle) override;
    void OnRender(const point& camera, int x, int y) override;
    // The shaft's picture alone, on the storey the camera views.
    void drawShaft(const point& camera);
    void dumpVars() override;

    ElevatorCar& car() { return *cars.front(); }
    const ElevatorCar& car() const { return *cars.front(); }

private:
    std::vector<std::unique_ptr<ElevatorCar>> cars;
};

#endif
