#include "gamePaths.h"

namespace {

std::string dataDirectory;
std::string playerDirectory;

std::string resolve(const std::string& directory, const std::string& name) {
    if (directory.empty() || name.empty() || name[0] == '/') return name;
    return directory + "/" + name;
}

}  // namespace

namespace gamePaths {

std::string data(const std::string& name) { return resolve(dataDirectory, name); }

std::string player(const std::string& name) { return resolve(playerDirectory, name); }

void setDirectories(const std::string& data, const std::string& player) {
    dataDirectory = data;
    playerDirectory = player;
}

}  // namespace gamePaths
