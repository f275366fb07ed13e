#include "screenState.h"

short stateID = NONE;
short nextState = NONE;

namespace {
void (*stateChanger)() = nullptr;
}

void setNextState(short id) {
    if (nextState == EXIT) return;
    nextState = id;
}

void change_state() {
    if (stateChanger) stateChanger();
}

void installStateChanger(void (*changer)()) { stateChanger = changer; }

bool exitRequested() { return nextState == EXIT || stateID == EXIT; }
