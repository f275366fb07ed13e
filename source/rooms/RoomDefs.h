#ifndef ZENTROVA_ROOMDEFS_H
#define ZENTROVA_ROOMDEFS_H

#include <SDL.h>
#include <string>
#include <vector>

// Kinds of room definition.
enum : short { LOBBY_TYPE = 0, BASIC = 1, ELEVATOR = 2, STAIRS = 3 };

// One buildable room kind: name, footprint, graphics, price, rent and icon.
struct aRoom {
    SDL_Surface* surface = nullptr;
    SDL_Surface* icon = nullptr;
    SDL_Surface* nightSurface = nullptr;  // the graphics by night, or null to keep the day's
    short id = 0;
    unsigned short sizeX = 0;  // runs along the grid's y axis
    unsigned short sizeY = 0;  // runs along the grid's x axis
    unsigned short maxVariant = 0;
    unsigned short nextVariant = 0;
    int count = 1;
    double cost = 0.0;
    short rentIncome = 0;
    short rentPeriod = 0;
    short type = 0;
    char title[50] = {0};
    // The definition file's name without folder and ending ("hotel1"), or
    // "lobby": saved games name kinds by it, since indices depend on which
    // files loaded.
    std::string kindName;
};

// Entry 0 is the lobby; the others come from the room definition files.
extern std::vector<aRoom> rooms;

int loadRoomDefs();
int loadARoom(const char* path);
SDL_Surface* loadSurfaceFromBase64(const char* text);

// Frees every definition's pictures and empties the table, so that a later
// loadRoomDefs starts again from index 0.
void clearRoomDefs();

// The definition at an index, or null for an index outside the table.
aRoom* roomDefinition(int index);

// The picture a room of the kind shows now, by day or by night.
SDL_Surface* roomPicture(const aRoom& def);

// The index of the kind with this name, or -1.
int roomKindIndex(const std::string& kindName);

#endif
