#ifndef ZENTROVA_GAMESETTINGS_H
#define ZENTROVA_GAMESETTINGS_H

// The player's view switches for the tower: part of the tower object, not
// saved; a loaded tower keeps the switches of the one it replaces.
class gameSettings {
public:
    bool isCeilingVisible() const { return (flags & ceilingsVisible) != 0; }
    void toggleCeilings() { flags ^= ceilingsVisible; }
    bool isGridOn() const { return (flags & gridOn) != 0; }
    void toggleGrid() { flags ^= gridOn; }
    bool areRoomsOn() const { return (flags & roomsOn) != 0; }
    void toggleRooms() { flags ^= roomsOn; }
    // The living tower's rooms tinted by how their people are served.
    bool isServiceShown() const { return (flags & serviceShown) != 0; }
    void toggleService() { flags ^= serviceShown; }
    // One wall style; the documented interfaces keep the count.
    int getTotalWallTypes() const { return totalWallTypes; }
    void dumpSettings() const;

private:
    static constexpr unsigned ceilingsVisible = 1;
    static constexpr unsigned gridOn = 2;
    static constexpr unsigned roomsOn = 4;
    static constexpr unsigned serviceShown = 8;

    unsigned flags = ceilingsVisible | roomsOn;
    short totalWallTypes = 1;
};

#endif
