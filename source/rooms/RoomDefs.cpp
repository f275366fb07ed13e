#include "RoomDefs.h"

#include <SDL_image.h>
#include <tinyxml.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "CSurface.h"
#include "base64.h"
#include "gamePaths.h"
#include "xmlGuard.h"

std::vector<aRoom> rooms;

namespace {

constexpr int maxGraphicsNameLength = 24;

// Leading blanks, a sign and digits; anything else ends the number.
short decimal(const char* text) { return static_cast<short>(text ? strtol(text, nullptr, 10) : 0); }

void failWith(const char* message, bool& failed) {
    fputs(message, stderr);
    failed = true;
}

// A present element must carry text; an empty one is as good as missing.
const char* textOf(const TiXmlElement* element, const char* name, bool& failed) {
    const char* text = element->GetText();
    if (!text || !*text) {
        fprintf(stderr, "Error: empty <%s> element in XML file.", name);
        failed = true;
        return nullptr;
    }
    return text;
}

struct Reader {
    aRoom& room;
    std::string graphicsPath;
    bool failed = false;

    void readType(const TiXmlElement* element) {
        const char* text = textOf(element, "type", failed);
        if (!text) return;
        if (strcmp(text, "BASIC") == 0) room.type = BASIC;
        else if (strcmp(text, "ELEVATOR") == 0) room.type = ELEVATOR;
        else if (strcmp(text, "STAIRS") == 0) room.type = STAIRS;
        else {
            // The kind is still offered, as the one kind that is safe to build anywhere.
            room.type = BASIC;
            fputs("Unknown <type> in XML file, read as BASIC.", stderr);
        }
    }

    void readGraphics(const TiXmlElement* element) {
        const char* variants = element->Attribute("variants");
        if (!variants) failWith("Error: <graphics> needs a variants attribute in XML file.", failed);
        room.maxVariant = static_cast<unsigned short>(decimal(variants) - 1);
        const char* name = textOf(element, "graphics", failed);
        if (!name) return;
        if (strlen(name) > static_cast<size_t>(maxGraphicsNameLength)) {
            failWith("Error: <graphics> file name longer than 24 characters in XML file.", failed);
            return;
        }
        graphicsPath = std::string("assets/") + name;
    }

    void readCost(const TiXmlElement* element) {
        const char* text = textOf(element, "cost", failed);
        room.cost = text ? strtod(text, nullptr) : 0.0;
        // A price that is not a plain amount would poison the funds it is taken from.
        if (!std::isfinite(room.cost) || room.cost < 0) {
            failWith("Error: <cost> must be an amount of at least 0 in XML file.", failed);
        }
    }

    void readSize(const TiXmlElement* element) {
        const char* x = element->Attribute("x");
        const char* y = element->Attribute("y");
        room.sizeX = static_cast<unsigned short>(decimal(x));
        room.sizeY = static_cast<unsigned short>(decimal(y));
        // A footprint of no cells could never be drawn or bulldozed sensibly.
        if (!x || !y || decimal(x) < 1 || decimal(y) < 1) {
            failWith("Error: <size> needs x and y of at least 1 in XML file.", failed);
        }
    }
};

const TiXmlElement* step(const TiXmlElement* from) { return from ? from->NextSiblingElement() : nullptr; }

}  // namespace

aRoom* roomDefinition(int index) {
    if (index < 0 || static_cast<size_t>(index) >= rooms.size()) return nullptr;
    return &rooms[static_cast<size_t>(index)];
}

SDL_Surface* roomPicture(const aRoom& def) {
    return (CSurface::isNightLook() && def.nightSurface ? def.nightSurface : def.surface).get();
}

int roomKindIndex(const std::string& kindName) {
    for (size_t i = 0; i < rooms.size(); ++i)
        if (rooms[i].kindName == kindName) return static_cast<int>(i);
    return -1;
}

namespace {

// "assets//hotel1.xml" names the kind "hotel1".
std::string kindNameOf(const char* path) {
    std::string name = path;
    const size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

}  // namespace

SurfacePtr loadSurfaceFromBase64(const char* text) {
    const size_t length = strlen(text);
    printf("iconBufferSize: %d\n", static_cast<int>(length));
    char* bytes = nullptr;
    unsigned int decoded = 0;
    if (!base64_decode_alloc(text, static_cast<unsigned int>(length), &bytes, &decoded)) {
        fputs("ERROR decoding the icon: invalid input", stderr);
        return nullptr;
    }
    if (!bytes) {
        fputs("ERROR decoding the icon: memory error", stderr);
        return nullptr;
    }
    SurfacePtr image = CSurface::loadPNG(SDL_RWFromMem(bytes, static_cast<int>(decoded)));
    free(bytes);
    return CSurface::toDisplayFormat(std::move(image));
}

bool loadARoom(const char* path) {
    aRoom room;
    Reader reader{room, std::string()};
    bool& failed = reader.failed;

    TiXmlDocument document(path);
    const XmlCheck check = checkXmlFile(path);
    if (check == XmlCheck::TOO_LARGE) {
        failWith("Error loading XML File. (larger than 1 MiB or nested too deeply)", failed);
    } else if (check == XmlCheck::BROKEN_LETTER) {
        failWith("Error loading XML File. (a character cut short)", failed);
    } else if (!document.LoadFile()) {
        failWith("Error loading XML File.", failed);
    } else {
        const TiXmlElement* data = document.FirstChildElement("roomdata");
        const TiXmlElement* element = data ? data->FirstChildElement("title") : nullptr;
        if (!data) failWith("Error finding <roomdata> element in XML file.", failed);
        if (element) {
            if (const char* title = textOf(element, "title", failed)) snprintf(room.title, sizeof room.title, "%s", title);
        } else {
            failWith("Error finding <title> element in XML file.", failed);
        }
        // Every later element is found by its place after the title.
        static constexpr char names[][12] = {"type", "graphics", "size", "cost", "rentIncome", "rentPeriod"};
        for (const char* name : names) {
            element = step(element);
            if (!element) {
                fprintf(stderr, "Error finding <%s> element in XML file.", name);
                failed = true;
                continue;
            }
            const std::string which = name;
            if (which == "type") reader.readType(element);
            else if (which == "graphics") reader.readGraphics(element);
            else if (which == "size") reader.readSize(element);
            else if (which == "cost") reader.readCost(element);
            else if (which == "rentIncome") room.rentIncome = decimal(textOf(element, name, failed));
            else room.rentPeriod = decimal(textOf(element, name, failed));
        }
        const TiXmlElement* icon = data ? data->NextSiblingElement() : nullptr;
        if (!icon) {
            if (data) failWith("Error finding <icon> element in XML file.", failed);
        } else {
            const char* text = icon->GetText();
            room.icon = loadSurfaceFromBase64(text ? text : "");
            if (!room.icon) failWith("Error converting icon file.", failed);
        }
        printf("x: %d, y: %d, cost: %f\n", room.sizeX, room.sizeY, room.cost);
        printf("rentIncome: %d, rentPeriod: %d, graphics File: %s\n", room.rentIncome, room.rentPeriod,
               reader.graphicsPath.c_str());
    }
    document.Clear();
    if (failed) return false;
    SurfacePtr image = CSurface::loadPNGFile(gamePaths::data(reader.graphicsPath).c_str());
    if (!image) {
        fputs("Error loading image file.", stderr);
        return false;
    }
    // The lobby is entry 0 and every file that loaded follows it: ids are indices.
    room.id = static_cast<short>(rooms.size());
    room.kindName = kindNameOf(path);
    room.surface = CSurface::toDisplayFormat(std::move(image));
    room.nightSurface = CSurface::loadNightPicture(gamePaths::data(reader.graphicsPath));
    rooms.push_back(std::move(room));
    return true;
}

bool loadRoomDefs() {
    aRoom lobby;
    snprintf(lobby.title, sizeof lobby.title, "%s", "Lobby");
    lobby.kindName = "lobby";
    lobby.sizeX = 1;
    lobby.sizeY = 1;
    lobby.cost = 100.0;
    SurfacePtr image = CSurface::loadPNGFile(gamePaths::data("assets//lobby.png").c_str());
    if (!image) {
        fputs("Error loading lobby file.", stderr);
        // Keep a plain stand-in so that entry 0, which the lobby and its
        // price rely on, always exists.
        image.reset(SDL_CreateRGBSurface(0, 128, 64, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000));
        if (image) SDL_FillRect(image.get(), nullptr, SDL_MapRGBA(image->format, 180, 170, 150, 255));
        lobby.surface = CSurface::toDisplayFormat(std::move(image));
        rooms.push_back(std::move(lobby));
        return false;
    }
    lobby.surface = CSurface::toDisplayFormat(std::move(image));
    lobby.nightSurface = CSurface::loadNightPicture(gamePaths::data("assets//lobby.png"));
    rooms.push_back(std::move(lobby));

    static constexpr char files[][2][24] = {{"loading elevator", "assets//elevator.xml"},
                                            {"loading hotel1", "assets//hotel1.xml"},
                                            {"loading hotel2", "assets//hotel2.xml"},
                                            {"loading office", "assets//office.xml"}};
    bool all = true;
    for (const auto& file : files) {
        puts(file[0]);
        puts(file[1]);
        all = loadARoom(gamePaths::data(file[1]).c_str()) && all;
    }
    return all;
}

void clearRoomDefs() { rooms.clear(); }
