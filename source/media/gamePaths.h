#ifndef ZENTROVA_GAMEPATHS_H
#define ZENTROVA_GAMEPATHS_H

#include <string>

// Where the game's files are. Run from a folder that holds config.xml, every
// name is taken as it is, relative to that folder, as the game always read
// them. An installed game keeps the same names but reads its data (images,
// sounds, room files) from the installed data directory and keeps the
// player's own files (the save) in the player's data directory.
namespace gamePaths {

// The path to open for a file of the game's data, such as "assets//lobby.png".
std::string data(const std::string& name);

// The path to open for a file of the player's, such as "save.txt".
std::string player(const std::string& name);

// From here on relative names resolve against these directories; two empty
// ones return to names as they are. Absolute names always stay as they are.
void setDirectories(const std::string& dataDirectory, const std::string& playerDirectory);

}  // namespace gamePaths

#endif
