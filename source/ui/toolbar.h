#ifndef ZENTROVA_TOOLBAR_H
#define ZENTROVA_TOOLBAR_H

#include "protocol.h"

// One button of the bar at the top of the tower screen.
struct ToolbarButton {
    int cell;              // place in the bar, counted in 32-pixel cells from the left
    int code;              // the user event a click pushes
    const char* helpText;  // what the status bar says while the pointer rests on it
    bool momentary;        // any reset lights it off, not only a forced one
    bool selectsTool;      // a click puts out the buttons of the other tools
};

// The bar's own buttons, left to right. One button per room kind goes in
// behind the lobby's, from firstRoomCell on; their texts come from the kinds.
constexpr ToolbarButton toolbarButtons[] = {
    {0, events::PAUSE, "Pause", false, false},
    {1, events::EXIT_TO_MENU, "Exit to Menu", true, false},
    {2, events::SAVE_GAME, "Save Game", true, false},
    {3, events::LOAD_GAME, "Load Game", true, false},
    {5, events::BUILD_FLOOR, "Build Empty Floor: Cost $10", false, true},
    {6, events::BUILD_LOBBY, "Build Lobby: Cost $50", false, true},
    {12, events::BULLDOZE, "Bulldoze: Cost $5", false, true},
    {13, events::SHOW_FINANCES, "Show Finances", true, false},
    {14, events::QUERY_TOOL, "Query Tool", false, true},
};
constexpr int firstRoomCell = 7;

#endif
