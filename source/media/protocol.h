#ifndef ZENTROVA_PROTOCOL_H
#define ZENTROVA_PROTOCOL_H

// The numbers the parts of the game pass each other: surface slots of the
// image registry, sound ids of the effects bank, and the codes of the user
// events that buttons, windows and the menu push to the tower screen.

namespace slots {
enum : int {
    WINDOW = 0,  // the window itself, destination of all drawing
    INTRO_TITLE = 1,
    MENU_TITLE = 2,
    TILES = 3,    // tile images and the shadow
    CURSORS = 4,  // cursors, grid outline, path mark
    BUTTONS = 5,
    WALLS = 6,
    FLOOR_INDICATOR = 7,  // storey pictures and digits
};
// The settings file's required list must fill slots 1 to this one.
constexpr int REQUIRED_IMAGES = 7;
}  // namespace slots

namespace sounds {
enum : int { BUILD = 0, SELECT = 1, BULLDOZE = 2, ELEVATOR_ARRIVES = 3, ELEVATOR_MOVES = 4 };
}

namespace events {
enum : int {
    // Bar buttons.
    PAUSE = 0,
    EXIT_TO_MENU = 1,
    SAVE_GAME = 2,
    LOAD_GAME = 3,
    BUILD_FLOOR = 4,
    BUILD_LOBBY = 5,
    BUILD_ROOM = 6,       // carries the room definition
    BUILD_TRANSPORT = 7,  // carries the room definition
    QUERY_TOOL = 16,
    BULLDOZE = 17,
    SHOW_FINANCES = 18,

    // A message window pushes its id with the bit of the choice made.
    WINDOW_OK = 0x20,
    WINDOW_CANCEL = 0x40,
    EXIT_WINDOW = 1,
    LOAD_WINDOW = 3,
    EXIT_CONFIRMED = EXIT_WINDOW | WINDOW_OK,      // 33
    EXIT_CANCELLED = EXIT_WINDOW | WINDOW_CANCEL,  // 65
    LOAD_CONFIRMED = LOAD_WINDOW | WINDOW_OK,      // 35, also the menu's Load Game
    LOAD_CANCELLED = LOAD_WINDOW | WINDOW_CANCEL,  // 67
};
}  // namespace events

#endif
