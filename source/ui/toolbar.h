#ifndef ZENTROVA_TOOLBAR_H
#define ZENTROVA_TOOLBAR_H

#include "protocol.h"

// One button of the bar at the top of the tower screen.
struct ToolbarButton {
    int cell;        // place in the bar, counted in 32-pixel cells from the left
    int code;        // the user event a click pushes
    char label[20];  // what the status bar says while the pointer rests on it
    bool priced;     // the label is followed by ": Cost $" and the price in force
    bool momentary;  // any reset lights it off, not only a forced one
    bool selectsTool;  // a click puts out the buttons of the other tools
};

// The bar's own buttons, left to right. One button per room kind goes in
// behind the lobby's, from firstRoomCell on; their texts come from the kinds.
constexpr ToolbarButton toolbarButtons[] = {
    {0, events::PAUSE, "Pause", false, false, false},
    {1, events::EXIT_TO_MENU, "Exit to Menu", false, true, false},
    {2, events::SAVE_GAME, "Save Game", false, true, false},
    {3, events::LOAD_GAME, "Load Game", false, true, false},
    {5, events::BUILD_FLOOR, "Build Empty Floor", true, false, true},
    {6, events::BUILD_LOBBY, "Build Lobby", true, false, true},
    {12, events::BULLDOZE, "Bulldoze", true, false, true},
    {13, events::SHOW_FINANCES, "Show Finances", false, true, false},
    {14, events::QUERY_TOOL, "Query Tool", false, false, true},
};
constexpr int firstRoomCell = 7;

#endif
