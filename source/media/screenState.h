#ifndef ZENTROVA_SCREENSTATE_H
#define ZENTROVA_SCREENSTATE_H

// How a screen asks for another one without knowing how screens are made:
// it records a request here, and the engine, which alone builds screens,
// carries it out between two events.

enum : short { NONE = 0, MENU = 2, MAP = 3, EXIT = 4 };  // 1 is not used

extern short stateID;    // the screen showing now
extern short nextState;  // the screen asked for, NONE when nothing is pending

// Records a request for another screen; an exit request cannot be replaced.
void setNextState(short id);

// Carries out a pending request with the changer the engine installed.
void change_state();
void installStateChanger(void (*changer)());

// True from the moment an exit has been asked for: a screen takes no more input then.
bool exitRequested();

#endif
