#include "gameSettings.h"

#include <cstdio>

gameSettings* gameSettings::singleton = nullptr;

gameSettings* gameSettings::Instance() {
    if (!singleton) singleton = new gameSettings();
    return singleton;
}

void gameSettings::dumpSettings() const { printf("Ceilings visible: %d\n", isCeilingVisible() ? 1 : 0); }
