#ifndef ZENTROVA_ROOMRECORDS_H
#define ZENTROVA_ROOMRECORDS_H

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "ElevatorCar.h"
#include "point.h"
#include "saveSections.h"

class Map;
class Room;

// The rooms of a saved game, in sections after the tile records:
//   rooms N    every room object once: its kind, anchor, variant and serial
//              number, the cells it covers, and for an elevator its car;
//   kinds N    what the next room of each kind takes: variant and serial;
//   shuttle 1  the floor the next departing elevator car is sent to.
class RoomRecords {
public:
    // What a room took when it was built, enough to build it again as it was.
    struct Description {
        int kind = 0;  // index in rooms
        point anchor;
        int variant = 0;
        int serial = 1;
        ElevatorCar::State car;  // for an elevator
        int uid = 0;
    };
    static bool describe(const Room* room, Description& description);
    // Builds the room again through its kind's constructor, leaving the kind's
    // counters as they were; an elevator's car takes the state described if
    // the shuttle can be in it. Null for a kind that builds no room.
    static std::unique_ptr<Room> rebuild(const Description& description, bool* carRestored = nullptr);

    static bool save(const Map& map, FILE* file);

    // A load begins once the tile records are in: the map's rooms go.
    explicit RoomRecords(Map& map);
    // Reads the section when it is one of the three; false for any other.
    bool read(const std::string& name, saveSections::Reader& reader);
    // The load ends: cells no room covers are opened, and every kind's
    // serial numbers stay ahead of the rooms that came back.
    void finish();

private:
    void readRoom(const std::string& line, long index, saveSections::Reader& reader);
    void readKinds(saveSections::Reader& reader);

    Map& map;
    struct Counter {
        int nextVariant;
        int count;
        int highestSerial;
    };
    std::vector<Counter> counters;  // one per room kind, as the load found them
};

#endif
