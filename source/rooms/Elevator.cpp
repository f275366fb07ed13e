#include "Elevator.h"

#include "Soundbank.h"
#include "isometric.h"
#include "protocol.h"

int Elevator::floorGoal = 1;

Elevator::Elevator(point where, int type) : Transportation(where, type) {
    cars.push_back(std::make_unique<ElevatorCar>(location, screenPosition, type));
}

void Elevator::OnLoop(int x, int y) {
    if (x != location.x || y != location.y) return;
    ElevatorCar& first = car();
    if (first.hasArrived()) {
        CSoundBank::SoundControl.Play(sounds::ELEVATOR_ARRIVES);
        if (floorGoal == 1) {
            first.loadCar(6);
        } else {
            first.unloadCar();
        }
        first.callCarToFloor(floorGoal);
        CSoundBank::SoundControl.Play(sounds::ELEVATOR_MOVES);
        floorGoal = floorGoal == 0 ? 1 : 0;
    }
    first.OnLoop();
}

void Elevator::OnRender(const point& camera, int x, int y) {
    if (x == location.x && y == location.y) {
        // The shaft is drawn on the storey being viewed; its position already
        // includes its own storey, so only the storeys above that are added.
        drawPicture(camera, isometric::storeyHeight * (camera.z - location.z));
    }
    car().OnRender(camera, x, y);
}

bool Elevator::setNextFloorGoal(int goal) {
    if (goal < 0 || goal > topShuttleFloor) return false;
    floorGoal = goal;
    return true;
}

void Elevator::dumpVars() { car().dumpVars(); }
