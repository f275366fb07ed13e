#include "Shuttle.h"

bool Shuttle::setNextGoal(int floor) {
    if (floor < 0 || floor > topFloor) return false;
    goal = floor;
    return true;
}
