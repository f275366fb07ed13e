#include "installation.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "gamePaths.h"

namespace {

const char* const settingsName = "config.xml";

bool isFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string directoryOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string executablePath() {
    char buffer[4096];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

// The folder without "..", for the messages; as it is when that fails.
std::string canonical(const std::string& path) {
    char* resolved = realpath(path.c_str(), nullptr);
    const std::string result = resolved ? resolved : path;
    free(resolved);
    return result;
}

// Beside the program first, then where the build meant to install it.
std::string findDataDirectory() {
    const std::string program = executablePath();
    std::string besideProgram;
    if (!program.empty()) {
        besideProgram = directoryOf(program) + "/" + ZENTROVA_DATADIR_FROM_BINDIR;
        if (isFile(besideProgram + "/" + settingsName)) return canonical(besideProgram);
    }
    if (isFile(std::string(ZENTROVA_INSTALL_DATADIR) + "/" + settingsName)) return ZENTROVA_INSTALL_DATADIR;
    fprintf(stderr, "Cannot find the game's data: there is no %s in the working directory, in %s or in %s, exiting",
            settingsName, besideProgram.empty() ? "the program's folder" : besideProgram.c_str(),
            ZENTROVA_INSTALL_DATADIR);
    return std::string();
}

// Like mkdir -p; new folders are private to the player.
bool makeDirectories(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) return true;
        errno = ENOTDIR;
        return false;
    }
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !makeDirectories(path.substr(0, slash))) return false;
    return mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

struct FileCloser {
    void operator()(FILE* file) const { fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

// Written beside the target and renamed over it when complete, so that a
// failed copy never leaves the player a half settings file.
bool copyFile(const std::string& from, const std::string& to) {
    const std::string temporary = to + ".tmp";
    bool ok = false;
    {
        FilePtr in(fopen(from.c_str(), "rb"));
        FilePtr out(in ? fopen(temporary.c_str(), "wb") : nullptr);
        if (in && out) {
            char buffer[8192];
            size_t got = 0;
            ok = true;
            while (ok && (got = fread(buffer, 1, sizeof buffer, in.get())) > 0) {
                ok = fwrite(buffer, 1, got, out.get()) == got;
            }
            ok = ok && !ferror(in.get()) && fflush(out.get()) == 0;
        }
        if (out) ok = fclose(out.release()) == 0 && ok;
    }
    if (ok && rename(temporary.c_str(), to.c_str()) == 0) return true;
    const int error = errno;  // the reason, not what removing the rest says
    remove(temporary.c_str());
    errno = error;
    return false;
}

const char* homeDirectory() {
    const char* home = getenv("HOME");
    if (home && *home) return home;
    const passwd* entry = getpwuid(getuid());
    return entry ? entry->pw_dir : nullptr;
}

}  // namespace

namespace installation {

bool runsFromWorkingDirectory() { return isFile(settingsName); }

std::string playerDirectory(const char* xdgDataHome, const char* home) {
    // A relative XDG_DATA_HOME is invalid and is to be ignored.
    if (xdgDataHome && xdgDataHome[0] == '/') return std::string(xdgDataHome) + "/zentrova";
    if (home && *home) return std::string(home) + "/.local/share/zentrova";
    return std::string();
}

std::string prepare() {
    const std::string data = findDataDirectory();
    if (data.empty()) return std::string();

    const std::string player = playerDirectory(getenv("XDG_DATA_HOME"), homeDirectory());
    if (player.empty()) {
        fputs("Cannot find the player's data directory: neither XDG_DATA_HOME nor HOME is set, exiting", stderr);
        return std::string();
    }
    if (!makeDirectories(player)) {
        fprintf(stderr, "Cannot create the player's data directory %s: %s, exiting", player.c_str(), strerror(errno));
        return std::string();
    }
    if (access(player.c_str(), W_OK | X_OK) != 0) {
        fprintf(stderr, "Cannot write to the player's data directory %s: %s, exiting", player.c_str(), strerror(errno));
        return std::string();
    }
    const std::string settings = player + "/" + settingsName;
    if (!isFile(settings) && !copyFile(data + "/" + settingsName, settings)) {
        fprintf(stderr, "Cannot copy %s/%s into the player's data directory %s: %s, exiting", data.c_str(),
                settingsName, player.c_str(), strerror(errno));
        return std::string();
    }
    gamePaths::setDirectories(data, player);
    printf("Data from %s, settings and save in %s\n", data.c_str(), player.c_str());
    return settings;
}

}  // namespace installation
