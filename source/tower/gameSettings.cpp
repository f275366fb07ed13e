#include "gameSettings.h"

#include <cstdio>

void gameSettings::dumpSettings() const { printf("Ceilings visible: %d\n", isCeilingVisible() ? 1 : 0); }
