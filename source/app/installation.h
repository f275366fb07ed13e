#ifndef ZENTROVA_INSTALLATION_H
#define ZENTROVA_INSTALLATION_H

#include <string>

// An installed game: its data in the installed data directory, found beside
// the program so that an installed tree can be moved, and the player's own
// settings and save in the player's data directory.
namespace installation {

// True when the working directory holds config.xml: the game then runs from
// there with every name as it is.
bool runsFromWorkingDirectory();

// Finds the installed data, makes the player's data directory on the first
// start with a copy of the installed config.xml, and points gamePaths at
// both. Returns the player's settings file, or "" after writing the reason
// to standard error.
std::string prepare();

// The player's data directory: $XDG_DATA_HOME/zentrova when that is an
// absolute path, else HOME's .local/share/zentrova; "" without either.
std::string playerDirectory(const char* xdgDataHome, const char* home);

}  // namespace installation

#endif
