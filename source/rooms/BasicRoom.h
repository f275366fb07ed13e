#ifndef ZENTROVA_BASICROOM_H
#define ZENTROVA_BASICROOM_H

#include <vector>

#include "Room.h"

struct aRoom;

// An ordinary rentable room built from a room definition.
class BasicRoom : public Room {
public:
    // The picture variant and serial number are what the tower's counters
    // gave it (RoomCounters), or what a saved game says it took.
    BasicRoom(point location, int roomType, int variant, int serial);

    void OnLoop(int x, int y, Shuttle& shuttle) override;
    void OnRender(const point& camera, int x, int y) override;
    void connectRoom(Room* other) override;
    bool isConnected() override;
    void resetPathCheck() override;
    double collectRent(short day, int x, int y) override;
    void getSize(short& sizeX, short& sizeY) override;
    bool save(int, int, FILE* file) override;
    const char* getRoomInfo() override;
    bool isTransportation() override;
    void dumpVars() override;
    void forgetConnection(Room* other) override;

    int getRoomType() const { return roomType; }
    // What the room took from its kind when it was built: a saved game
    // brings it back with the same picture and name.
    int getVariant() const { return variant; }
    int getSerial() const { return serial; }
    bool wasReached() const { return pathChecked; }
    const std::vector<Room*>& getConnectedRooms() const { return connectedRooms; }

protected:
    aRoom* definition() const;
    // Draws the room's picture (and its icon once reached) raised by rise pixels.
    void drawPicture(const point& camera, int rise);
    // The rent rule, for the definition at index kind.
    double rentFrom(int kind, short day, int x, int y) const;

    // Written by the per-room record only; the documented interfaces keep them.
    int reserved1 = 0;
    int reserved2 = 0;
    int roomType;
    char name[128];
    int variant = 0;
    int serial = 0;
    bool pathChecked = false;
    std::vector<Room*> connectedRooms;
};

#endif
