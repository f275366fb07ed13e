#include "Transportation.h"

Transportation::Transportation(point where, int type) : BasicRoom(where, type) {}

bool Transportation::isTransportation() { return true; }
