#include "gTextMenu.h"

#include <SDL.h>

#include "CScreen.h"

gTextMenu::gTextMenu(int px, int py) : x(px), y(py) { gTextMenuOption::rebuildPlates(); }

void gTextMenu::addMenuOption(const char* text) {
    const int n = static_cast<int>(options.size());
    options.push_back(std::make_unique<gTextMenuOption>(x, y + spacing * n, text, n + 1));
}

bool gTextMenu::loop() {
    int mouseX = 0, mouseY = 0;
    CScreen::pointerState(mouseX, mouseY);
    gTextMenuOption::optionFound = false;
    for (auto& option : options) option->loop(mouseX, mouseY);
    if (!gTextMenuOption::optionFound) gTextMenuOption::selectedOption = 0;
    return gTextMenuOption::optionFound;
}

void gTextMenu::render() {
    for (auto& option : options) option->render();
}

int gTextMenu::getSelectedOption() const { return gTextMenuOption::selectedOption; }
