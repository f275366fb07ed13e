#ifndef ZENTROVA_DIRTYGRID_H
#define ZENTROVA_DIRTYGRID_H

#include <SDL.h>
#include <vector>

// The parts of the window that changed, kept as a coarse grid of blocks, so
// that marking is cheap and marks that overlap merge. What is drawn and sent
// again is the blocks, merged into as few rectangles as runs of them allow.
class DirtyGrid {
public:
    static constexpr int blockWidth = 64;
    static constexpr int blockHeight = 32;
    // More rectangles than this are merged row by row, and then into one.
    static constexpr size_t mostRects = 48;

    // A grid for a window of this size, every block dirty.
    void resize(int width, int height);
    void markAll();
    void markBlock(int column, int row) { blocks[static_cast<size_t>(row * columns + column)] = 1; }
    void mark(const SDL_Rect& area);
    // The blocks an area of the window touches, first to last column and row;
    // false when it touches none.
    struct Span {
        int left, top, right, bottom;
    };
    bool blocksUnder(int x, int y, int w, int h, Span& span) const;
    bool isEmpty() const;
    bool isAll() const;
    void clear();

    int getColumns() const { return columns; }
    int getRows() const { return rows; }
    // The dirty blocks as rectangles inside the window, each block in exactly
    // one; valid until the grid changes.
    const std::vector<SDL_Rect>& rects();

private:
    void mergeRows();
    int width = 0;
    int height = 0;
    int columns = 0;
    int rows = 0;
    std::vector<unsigned char> blocks;
    std::vector<SDL_Rect> merged;
};

#endif
