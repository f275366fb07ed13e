#include "DirtyGrid.h"

#include <algorithm>

namespace {

// Blocks first to end (not included) of a row, inside the window.
SDL_Rect blockRect(int first, int end, int row, int width, int height) {
    SDL_Rect rect;
    rect.x = static_cast<Sint16>(first * DirtyGrid::blockWidth);
    rect.y = static_cast<Sint16>(row * DirtyGrid::blockHeight);
    rect.w = static_cast<Uint16>(std::min(end * DirtyGrid::blockWidth, width) - rect.x);
    rect.h = static_cast<Uint16>(std::min((row + 1) * DirtyGrid::blockHeight, height) - rect.y);
    return rect;
}

}  // namespace

void DirtyGrid::resize(int newWidth, int newHeight) {
    width = std::max(0, newWidth);
    height = std::max(0, newHeight);
    columns = (width + blockWidth - 1) / blockWidth;
    rows = (height + blockHeight - 1) / blockHeight;
    blocks.assign(static_cast<size_t>(columns * rows), 1);
    merged.reserve(static_cast<size_t>(columns * rows));
}

void DirtyGrid::markAll() { std::fill(blocks.begin(), blocks.end(), 1); }

bool DirtyGrid::blocksUnder(int x, int y, int w, int h, Span& span) const {
    const int left = std::max(0, x);
    const int top = std::max(0, y);
    const int right = std::min(width, x + w);
    const int bottom = std::min(height, y + h);
    if (left >= right || top >= bottom) return false;
    span = Span{left / blockWidth, top / blockHeight, (right - 1) / blockWidth, (bottom - 1) / blockHeight};
    return true;
}

void DirtyGrid::mark(const SDL_Rect& area) {
    Span span;
    if (!blocksUnder(area.x, area.y, area.w, area.h, span)) return;
    for (int row = span.top; row <= span.bottom; ++row)
        for (int column = span.left; column <= span.right; ++column) markBlock(column, row);
}

bool DirtyGrid::isEmpty() const { return std::find(blocks.begin(), blocks.end(), 1) == blocks.end(); }

bool DirtyGrid::isAll() const { return std::find(blocks.begin(), blocks.end(), 0) == blocks.end(); }

void DirtyGrid::clear() { std::fill(blocks.begin(), blocks.end(), 0); }

const std::vector<SDL_Rect>& DirtyGrid::rects() {
    merged.clear();
    // Runs of dirty blocks along each row; a run right under one of the same
    // span lengthens that one.
    for (int row = 0; row < rows; ++row) {
        const unsigned char* line = &blocks[static_cast<size_t>(row * columns)];
        for (int column = 0; column < columns;) {
            if (!line[column]) {
                ++column;
                continue;
            }
            const int first = column;
            while (column < columns && line[column]) ++column;
            const SDL_Rect run = blockRect(first, column, row, width, height);
            auto above = std::find_if(merged.begin(), merged.end(), [&run](const SDL_Rect& rect) {
                return rect.x == run.x && rect.w == run.w && rect.y + rect.h == run.y;
            });
            if (above != merged.end()) {
                above->h = static_cast<Uint16>(above->h + run.h);
            } else {
                merged.push_back(run);
            }
        }
    }
    if (merged.size() > mostRects) mergeRows();
    return merged;
}

void DirtyGrid::mergeRows() {
    // Too many pieces cost more in blits and updates than the pixels they
    // spare: each row's dirty blocks from its first to its last, and if
    // that is still too many, one rectangle around them all.
    merged.clear();
    for (int row = 0; row < rows; ++row) {
        int first = -1, last = -1;
        for (int column = 0; column < columns; ++column)
            if (blocks[static_cast<size_t>(row * columns + column)]) {
                if (first < 0) first = column;
                last = column;
            }
        if (first >= 0) merged.push_back(blockRect(first, last + 1, row, width, height));
    }
    if (merged.size() <= mostRects) return;
    SDL_Rect all = merged.front();
    int left = all.x, right = all.x + all.w, bottom = all.y + all.h;
    for (const SDL_Rect& rect : merged) {
        left = std::min(left, static_cast<int>(rect.x));
        right = std::max(right, rect.x + static_cast<int>(rect.w));
        bottom = std::max(bottom, rect.y + static_cast<int>(rect.h));
    }
    all.x = static_cast<Sint16>(left);
    all.w = static_cast<Uint16>(right - left);
    all.h = static_cast<Uint16>(bottom - all.y);
    merged.assign(1, all);
}
