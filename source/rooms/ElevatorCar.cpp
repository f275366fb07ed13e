#include "ElevatorCar.h"

#include <cstdio>

#include "CSurface.h"
#include "RoomDefs.h"
#include "isometric.h"
#include "sheetGeometry.h"

ElevatorCar::ElevatorCar(point where, point shaftScreen, int type)
    : location(where),
      screen(shaftScreen.x + sheet::elevator::carInShaft.x, shaftScreen.y + sheet::elevator::carInShaft.y, 0),
      goal(screen),
      roomType(type),
      baseY(screen.y) {}

void ElevatorCar::OnLoop() {
    if (arrived) return;
    if (goingUp) {
        screen.y = static_cast<short>(screen.y - 2);
    } else if (goingDown) {
        screen.y = static_cast<short>(screen.y + 2);
    }
    if (screen.y == goal.y) {
        goingUp = false;
        goingDown = false;
        arrived = true;
    }
}

void ElevatorCar::loadCar(short count) {
    passengers = static_cast<short>(passengers + count);
    changeGraphic();
}

short ElevatorCar::unloadCar() {
    const short before = passengers;
    passengers = 0;
    changeGraphic();
    return before;
}

void ElevatorCar::callCarToFloor(int floor) {
    arrived = false;
    goal.y = static_cast<short>(baseY - 64 * floor);
    if (goal.y > screen.y) {
        goingDown = true;
        goingUp = false;
    } else if (goal.y < screen.y) {
        goingUp = true;
        goingDown = false;
    } else {
        goingUp = false;
        goingDown = false;
        arrived = true;
    }
}

void ElevatorCar::OnRender(const point& camera, int x, int y) {
    if (x != location.x || y != location.y) return;
    const int w = sheet::elevator::car[0].w, h = sheet::elevator::car[0].h;
    const int px = camera.x + screen.x;
    const int py = camera.y + screen.y;
    if (!isometric::onScreen(px, py, w, h)) return;
    const aRoom* def = roomDefinition(roomType);
    if (def && graphic >= 0 && graphic < sheet::elevator::cars) {
        CSurface::OnDraw(0, roomPicture(*def), px, py, &sheet::elevator::car[graphic]);
    }
}

ElevatorCar::State ElevatorCar::state() const {
    State now;
    now.rise = baseY - screen.y;
    now.goalFloor = (baseY - goal.y) / 64;
    now.goingUp = goingUp;
    now.goingDown = goingDown;
    now.arrived = arrived;
    now.passengers = passengers;
    now.graphic = graphic;
    return now;
}

bool ElevatorCar::restore(const State& saved, int highestGoal) {
    const int goalRise = 64 * saved.goalFloor;
    if (saved.goalFloor < 0 || saved.goalFloor > highestGoal) return false;
    // Between the lowest floor and the highest the shuttle can send it to, on
    // its 2-pixel grid, or its steps would never meet the goal.
    if (saved.rise < 0 || saved.rise > 64 * highestGoal || (saved.rise - goalRise) % 2 != 0) return false;
    const bool up = saved.rise < goalRise, down = saved.rise > goalRise, there = saved.rise == goalRise;
    if (saved.goingUp != up || saved.goingDown != down || saved.arrived != there) return false;
    if (saved.passengers < 0 || saved.passengers > 32767) return false;
    if (saved.graphic != (saved.passengers > 3 ? 1 : 0)) return false;
    screen.y = static_cast<short>(baseY - saved.rise);
    goal.y = static_cast<short>(baseY - goalRise);
    goingUp = up;
    goingDown = down;
    arrived = there;
    passengers = static_cast<short>(saved.passengers);
    graphic = static_cast<short>(saved.graphic);
    return true;
}

void ElevatorCar::changeGraphic() { graphic = passengers > 3 ? 1 : 0; }

void ElevatorCar::dumpVars() const {
    printf("\nELEVATOR CAR---\npassengers: %d screenY: %d goalY: %d\ngoing UP: %d DOWN: %d ARRIVED: %d\n", passengers,
           screen.y, goal.y, goingUp ? 1 : 0, goingDown ? 1 : 0, arrived ? 1 : 0);
}
