#include "FramePainter.h"

#include <algorithm>

#include "CSurface.h"

FramePainter::Mode FramePainter::startMode = FramePainter::Mode::CHANGED;

namespace {

bool overlaps(const DrawItem& item, const SDL_Rect& rect) {
    return item.x < rect.x + rect.w && rect.x < item.x + item.w && item.y < rect.y + rect.h && rect.y < item.y + item.h;
}

}  // namespace

void FramePainter::setMode(Mode newMode) {
    if (newMode != mode) whole = true;
    mode = newMode;
}

long FramePainter::lastPixels() const {
    long pixels = 0;
    for (const SDL_Rect& rect : sent) pixels += static_cast<long>(rect.w) * rect.h;
    return pixels;
}

bool FramePainter::paint(Scene& scene) {
    SDL_Surface* window = CSurface::slot(0);
    if (!window) return false;
    sent.clear();
    if (mode == Mode::EVERYTHING || !CSurface::showsParts()) {
        CSurface::clearScreen();
        scene.draw();
        whole = true;
        sent.push_back(makeRect(0, 0, window->w, window->h));
        return CSurface::flip();
    }
    if (windowSeen != CSurface::windowChangeCount()) {
        windowSeen = CSurface::windowChangeCount();
        grid.resize(window->w, window->h);
        sent.reserve(static_cast<size_t>(grid.getColumns() * grid.getRows()));
        whole = true;
    }
    list.clear();
    CSurface::recordInto(&list);
    CSurface::clearScreen();
    scene.draw();
    CSurface::recordInto(nullptr);

    compareBlocks();
    if (whole) grid.markAll();
    whole = false;
    if (grid.isEmpty()) return true;
    const bool all = grid.isAll();
    const std::vector<SDL_Rect>& rects = grid.rects();
    for (const SDL_Rect& rect : rects) {
        SDL_Rect clip = rect;
        SDL_SetClipRect(window, &clip);
        for (const DrawItem& item : list.items())
            if (overlaps(item, rect)) CSurface::drawItem(item);
    }
    SDL_SetClipRect(window, nullptr);
    sent = rects;
    grid.clear();
    return all ? CSurface::flip() : CSurface::flip(sent);
}

void FramePainter::compareBlocks() {
    const int columns = grid.getColumns();
    const int rows = grid.getRows();
    looks.assign(static_cast<size_t>(columns * rows), 0);
    DirtyGrid::Span span;
    for (const DrawItem& item : list.items()) {
        if (!grid.blocksUnder(item.x, item.y, item.w, item.h, span)) continue;
        // Order counts: the same pictures drawn in another order are another picture.
        for (int row = span.top; row <= span.bottom; ++row)
            for (int column = span.left; column <= span.right; ++column) {
                uint64_t& look = looks[static_cast<size_t>(row * columns + column)];
                look = (look ^ item.look) * 0x100000001b3ULL;
            }
    }
    if (lastLooks.size() != looks.size()) {
        whole = true;
    } else {
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < columns; ++column) {
                const size_t block = static_cast<size_t>(row * columns + column);
                if (looks[block] != lastLooks[block]) grid.markBlock(column, row);
            }
    }
    looks.swap(lastLooks);
}
