#include "Elevator.h"

#include "Soundbank.h"
#include "isometric.h"
#include "protocol.h"

Elevator::Elevator(point where, int type, int variant, int serial) : Transportation(where, type, variant, serial) {
    cars.push_back(std::make_unique<ElevatorCar>(location, screenPosition, type));
}

void Elevator::OnLoop(int x, int y, Shuttle& shuttle) {
    if (x != location.x || y != location.y) return;
    ElevatorCar& first = car();
    if (first.hasArrived()) {
        CSoundBank::SoundControl.Play(sounds::ELEVATOR_ARRIVES);
        if (shuttle.nextGoal() == Shuttle::topFloor) {
            first.loadCar(6);
        } else {
            first.unloadCar();
        }
        first.callCarToFloor(shuttle.nextGoal());
        CSoundBank::SoundControl.Play(sounds::ELEVATOR_MOVES);
        shuttle.departed();
    }
    first.OnLoop();
}

void Elevator::OnRender(const point& camera, int x, int y) {
    if (x == location.x && y == location.y) drawShaft(camera);
    car().OnRender(camera, x, y);
}

void Elevator::drawShaft(const point& camera) {
    // The shaft is drawn on the storey being viewed; its position already
    // includes its own storey, so only the storeys above that are added.
    drawPicture(camera, isometric::storeyHeight * (camera.z - location.z));
}

void Elevator::dumpVars() { car().dumpVars(); }
