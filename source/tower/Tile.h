#ifndef ZENTROVA_TILE_H
#define ZENTROVA_TILE_H

#include <SDL.h>
#include <cstdio>

#include "point.h"
#include "protocol.h"

class gameSettings;

// One cell of the tower grid: a 128 x 64 diamond of ground or of a storey.
class Tile {
public:
    // Bits of the flag word; their positions are part of the saved game.
    enum Flag : int {
        hasFloorBit = 1,
        destructableBit = 2,
        buildableBit = 4,
        frontWallBit = 8,
        backWallBit = 16,
        shadowBit = 64,
        tileOffBit = 128,
    };
    static constexpr int knownFlags = hasFloorBit | destructableBit | buildableBit | frontWallBit | backWallBit |
                                      shadowBit | tileOffBit;

    // Neighbour mask bits: which neighbours on the same storey have a floor.
    enum Neighbour : int { xPlus = 1, yMinus = 2, xMinus = 4, yPlus = 8 };

    enum Type : short { EMPTY = 0, PLAIN = 1, FLOOR = 2, ROOF = 3 };


    static constexpr int tileSheet = slots::TILES;
    static constexpr int cursorSheet = slots::CURSORS;
    static constexpr int wallSheet = slots::WALLS;

    Tile(int x, int y, int z);
    Tile(const Tile&) = delete;
    Tile& operator=(const Tile&) = delete;

    void init(int type);
    static point convertToScreen(int x, int y, int offsetX, int offsetY);
    void setClip();
    void OnLoop() {}
    void OnRender(const point& camera, const gameSettings& view);
    void OnRenderBelow(const point& camera, const gameSettings& view);
    void renderCursor(const point& camera);
    bool isBuildable() const { return (booleans & buildableBit) != 0; }
    void setBuildable(bool on) { setFlag(buildableBit, on); }
    void buildRoof(bool on);
    void buildFloor(bool floor, int neighbours, bool destructable);
    bool hasFloor() const { return (booleans & hasFloorBit) != 0; }
    bool floorIsDestructable() const { return (booleans & destructableBit) != 0; }
    void addFloor(bool add, int bit);
    void placeShadow();
    bool pathHasBeenChecked() const { return pathChecked; }
    void resetPathCheck() { pathChecked = false; }
    // Marks the cell as visited by the path search, then says whether it is a floor.
    bool isPathFloor();
    bool save(FILE* file) const;
    // False, with a line on standard output, when the record's three numbers
    // cannot be read.
    bool load(FILE* file);
    // What a saved tile record holds, taken as load takes it.
    void setState(short type, short neighbours, int flags);
    void setWallClipIndex();
    void turnTileOff() { setFlag(tileOffBit, true); }
    void turnTileOn() { setFlag(tileOffBit, false); }
    void turnWallOff() { wallOn = false; }
    void turnWallOn() { wallOn = true; }
    // Points every tile at the game's settings (the grid, the ceiling).
    void dumpVars() const;

    // Read-only views for the map, its tests and the benchmark.
    short getType() const { return type; }
    short getNeighbourFloors() const { return neighbourFloors; }
    int getFlags() const { return booleans; }
    bool isWallOn() const { return wallOn; }
    bool isTileOff() const { return (booleans & tileOffBit) != 0; }
    const point& getPosition() const { return position; }
    const point& getScreenPosition() const { return screenPosition; }
    const point& getBackWallPosition() const { return backWallPosition; }
    const point& getFrontWallPosition() const { return frontWallPosition; }
    short getBackWallClipIndex() const { return backWallClipIndex; }
    short getFrontWallClipIndex() const { return frontWallClipIndex; }
    const SDL_Rect& getClip() const { return clip; }

private:
    void setFlag(int bit, bool on) { booleans = on ? (booleans | bit) : (booleans & ~bit); }
    bool hasFlag(int bit) const { return (booleans & bit) != 0; }
    bool isVisible(const point& camera) const;
    void draw(int sheet, const SDL_Rect* what, const point& at, const point& camera) const;

    point position;
    point screenPosition;
    point backWallPosition;
    point frontWallPosition;
    short type = EMPTY;
    short neighbourFloors = 0;
    short backWallClipIndex = 0;
    short frontWallClipIndex = 0;
    bool pathChecked = false;
    bool wallOn = false;
    int booleans = 0;
    SDL_Rect clip;
};

#endif
