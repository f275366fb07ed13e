#include "main.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "CScreen.h"
#include "FramePainter.h"
#include "base64.h"
#include "framePacer.h"
#include "gEngine.h"
#include "installation.h"

namespace {

struct FileCloser {
    void operator()(FILE* file) const { fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

void writeConversion(FILE* out, const char* path, FILE* in) {
    fseek(in, 0, SEEK_END);
    const long size = ftell(in);
    if (size < 0) {
        fprintf(out, "File memory allocation error. Expected size: %d", -1);
        return;
    }
    char* buffer = static_cast<char*>(malloc(size > 0 ? static_cast<size_t>(size) : 1));
    if (!buffer) {
        fprintf(out, "File memory allocation error. Expected size: %d", static_cast<int>(size));
        return;
    }
    fseek(in, 0, SEEK_SET);
    const size_t read = fread(buffer, 1, static_cast<size_t>(size), in);
    fprintf(out, "Icon filename: %s\nIcon file size: %d bytes.\n", path, static_cast<int>(size));

    char* text = nullptr;
    const unsigned int length = base64_encode_alloc(buffer, static_cast<unsigned int>(read), &text);
    if (length == 0 || !text) {
        fputs("There was an error in the encoding allocation.\n", out);
    } else {
        fprintf(out, "Converted file size: %d bytes.\n", static_cast<int>(length));
        fprintf(out, "Converted file information (copy this into the xml):\n\n<icon>%s</icon>", text);
    }
    free(text);
    free(buffer);
}

}  // namespace

void fileStuff(const char* path) {
    FilePtr in(fopen(path, "rb"));
    FilePtr out(fopen("icon_result.txt", "w"));
    if (!out) {
        fputs("Could not create icon_result.txt", stderr);
        return;
    }
    if (!in) {
        puts("ERROR");
        return;
    }
    writeConversion(out.get(), path, in.get());
}

namespace {

// A whole number from lowest to highest, or 0 for anything else.
int wholeNumber(const char* value, int lowest, int highest) {
    char* end = nullptr;
    errno = 0;
    const long number = strtol(value, &end, 10);
    if (errno != 0 || end == value || *end != '\0') return 0;
    if (number < lowest || number > highest) return 0;
    return static_cast<int>(number);
}

}  // namespace

extern "C" int SDL_main(int argc, char** argv) {
    // Progress lines are read by people and scripts while the game runs.
    setvbuf(stdout, nullptr, _IOLBF, 0);

    std::string settingsFile = "config.xml";
    bool settingsGiven = false;
    int width = 0;
    int height = 0;
    auto engine = std::make_unique<gEngine>();

    for (int i = 1; i < argc; ++i) {
        const char* option = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (strcmp(option, "-w") == 0) {
            if (value) width = atoi(value);
        } else if (strcmp(option, "-h") == 0) {
            if (value) height = atoi(value);
        } else if (strcmp(option, "-music") == 0) {
            if (value && strcmp(value, "off") == 0) gEngine::setMusic(false);
        } else if (strcmp(option, "-sounds") == 0) {
            if (value && strcmp(value, "off") == 0) gEngine::setSound(false);
        } else if (strcmp(option, "-iconconvert") == 0) {
            if (value) fileStuff(value);
            return 0;
        } else if (strcmp(option, "-config") == 0) {
            if (value) {
                settingsFile = value;
                settingsGiven = true;
            }
        } else if (strcmp(option, "-fps") == 0) {
            if (!value) continue;
            const int rate = wholeNumber(value, FramePacer::minimumRate, FramePacer::maximumRate);
            if (rate == 0) {
                fprintf(stderr, "-fps %s: the frame cap is a number from %d to %d; running without one", value,
                        FramePacer::minimumRate, FramePacer::maximumRate);
            }
            gEngine::setFrameCap(rate);
        } else if (strcmp(option, "-fullscreen") == 0) {
            gEngine::setFullScreen(true);
        } else if (strcmp(option, "-life") == 0) {
            if (value && (strcmp(value, "on") == 0 || strcmp(value, "off") == 0)) {
                gEngine::setLife(strcmp(value, "on") == 0);
            } else {
                fprintf(stderr, "-life %s: the living tower is on or off; the settings file decides", value ? value : "");
            }
        } else if (strcmp(option, "-scale") == 0) {
            if (value && !gEngine::setScale(wholeNumber(value, 1, CScreen::maximumScale))) {
                fprintf(stderr, "-scale %s: the scale is a number from 1 to %d; it was not used", value,
                        CScreen::maximumScale);
            }
        } else if (strcmp(option, "-redraw") == 0) {
            // Every frame drawn whole: the reference the changed parts are proven
            // against, and a way to rule the painting out when something looks wrong.
            if (value && (strcmp(value, "all") == 0 || strcmp(value, "changed") == 0)) {
                FramePainter::startMode =
                    strcmp(value, "all") == 0 ? FramePainter::Mode::EVERYTHING : FramePainter::Mode::CHANGED;
            } else {
                fprintf(stderr, "-redraw %s: frames are drawn where they changed or all; only where they changed",
                        value ? value : "");
            }
        } else if (strcmp(option, "-load") == 0) {
            if (value) gEngine::setLoadFile(value);
        }
    }
    gEngine::setResolution(width, height);
    if (!installation::runsFromWorkingDirectory()) {
        // Installed: the game's data and the player's files live apart; a
        // settings file named on the command line is still the one used.
        const std::string playerSettings = installation::prepare();
        if (playerSettings.empty()) {
            puts("something went horribly wrong");
            return -1;
        }
        if (!settingsGiven) settingsFile = playerSettings;
    }
    return engine->execute(settingsFile.c_str());
}
