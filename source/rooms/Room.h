#ifndef ZENTROVA_ROOM_H
#define ZENTROVA_ROOM_H

#include <SDL.h>
#include <cstdio>

#include "point.h"

class Shuttle;

// A room placed in the tower. The map refers to it from every cell it covers
// and calls it once per cell with that cell's x and y; the room acts at its
// anchor cell.
class Room {
public:
    explicit Room(point location);
    virtual ~Room() = default;
    Room(const Room&) = delete;
    Room& operator=(const Room&) = delete;

    virtual void OnLoop(int x, int y, Shuttle& shuttle);
    virtual void OnRender(const point& camera, int x, int y);
    virtual void connectRoom(Room* other) = 0;
    // Marks the room as reached by the path search, then says whether it already was.
    virtual bool isConnected() = 0;
    virtual void resetPathCheck() = 0;
    virtual double collectRent(short day, int x, int y) = 0;
    virtual void getSize(short& sizeX, short& sizeY) = 0;
    // A per-room record that no saved game uses: kept because the documented
    // interfaces name it.
    virtual bool save(int, int, FILE* file);
    virtual bool load(int, int, FILE* file);
    virtual const char* getRoomInfo() = 0;
    virtual bool isTransportation() = 0;
    virtual void dumpVars();
    // Called when another room is released, so no list keeps a dangling link.
    virtual void forgetConnection(Room*) {}

    point getLocation() const { return location; }
    const point& getScreenPosition() const { return screenPosition; }
    const SDL_Rect& getClip() const { return clip; }

    // Tells rooms apart for as long as the tower knows them, even after one
    // is released and another takes its address: undo finds rooms by it.
    int getUid() const { return uid; }
    void setUid(int id) { uid = id; }

    // How many cells refer to this room; the map releases it with the last.
    int references() const { return cellReferences; }
    void addReference() { ++cellReferences; }
    int dropReference() { return --cellReferences; }

protected:
    SDL_Rect clip;
    point location;
    point screenPosition;

private:
    int cellReferences = 0;
    int uid = 0;
};

#endif
