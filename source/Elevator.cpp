#include "Elevator.h"

#include "Soundbank.h"

int Elevator::floorGoal = 1;

Elevator::Elevator(point where, int type) : Transportation(where, type) {
    cars.push_back(std::make_unique<ElevatorCar>(location, screenPosition, type));
}

void Elevator::OnLoop(int x, int y) {
    if (x != location.x || y != location.y) return;
    ElevatorCar& first = car();
    if (first.hasArrived()) {
        CSoundBank::SoundControl.Play(3);
        if (floorGoal == 1) {
            first.loadCar(6);
        } else {
            first.unloadCar();
        }
        first.callCarToFloor(floorGoal);
        CSoundBank::SoundControl.Play(4);
        floorGoal = floorGoal == 0 ? 1 : 0;
    }
    first.OnLoop();
}

void Elevator::OnRender(const point& camera, int x, int y) {
    if (x == location.x && y == location.y) {
        // The shaft is drawn on the storey being viewed; its position already
        // includes its own storey, so only the storeys above that are added.
        drawPicture(camera, 64 * (camera.z - location.z));
    }
    car().OnRender(camera, x, y);
}

void Elevator::dumpVars() { car().dumpVars(); }
