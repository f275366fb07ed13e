#include "Transportation.h"

Transportation::Transportation(point where, int type, int variant, int serial)
    : BasicRoom(where, type, variant, serial) {}

bool Transportation::isTransportation() { return true; }
