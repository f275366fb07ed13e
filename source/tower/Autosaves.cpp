#include "Autosaves.h"

#include <sys/stat.h>

#include "gamePaths.h"

std::string Autosaves::fileName(int number) { return "autosave-" + std::to_string(number) + ".txt"; }

namespace {

bool olderThan(const struct stat& a, const struct stat& b) {
    if (a.st_mtim.tv_sec != b.st_mtim.tv_sec) return a.st_mtim.tv_sec < b.st_mtim.tv_sec;
    return a.st_mtim.tv_nsec < b.st_mtim.tv_nsec;
}

}  // namespace

std::string Autosaves::next() {
    if (following == 0) {
        struct stat oldest = {};
        for (int number = 1; number <= count; ++number) {
            struct stat status;
            if (stat(gamePaths::player(fileName(number)).c_str(), &status) != 0) {
                following = number;
                break;
            }
            if (following == 0 || olderThan(status, oldest)) {
                following = number;
                oldest = status;
            }
        }
    }
    const int number = following;
    following = number % count + 1;
    return fileName(number);
}
