#ifndef ZENTROVA_ROOMDEFS_H
#define ZENTROVA_ROOMDEFS_H

#include <SDL.h>
#include <string>
#include <vector>

#include "CSurface.h"

// Kinds of room definition.
enum : short { LOBBY_TYPE = 0, BASIC = 1, ELEVATOR = 2, STAIRS = 3 };

// One buildable room kind: name, footprint, graphics, price, rent and icon.
struct aRoom {
    SurfacePtr surface;
    SurfacePtr icon;
    SurfacePtr nightSurface;  // the graphics by night, or null to keep the day's
    short id = 0;              // its index in rooms
    unsigned short sizeX = 0;  // runs along the grid's y axis
    unsigned short sizeY = 0;  // runs along the grid's x axis
    unsigned short maxVariant = 0;
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

// The lobby and the four room files; false when one of them did not load
// (the others still do, and the lobby always gets a picture).
bool loadRoomDefs();
// Appends the kind a room definition file describes; false, with the reason
// on standard error, when the file is refused.
bool loadARoom(const char* path);
SurfacePtr loadSurfaceFromBase64(const char* text);

// Empties the table, pictures and all, so that a later loadRoomDefs starts
// again from index 0.
void clearRoomDefs();

// The definition at an index, or null for an index outside the table.
aRoom* roomDefinition(int index);

// The picture a room of the kind shows now, by day or by night.
SDL_Surface* roomPicture(const aRoom& def);

// The index of the kind with this name, or -1.
int roomKindIndex(const std::string& kindName);

#endif
