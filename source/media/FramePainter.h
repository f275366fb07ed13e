#ifndef ZENTROVA_FRAMEPAINTER_H
#define ZENTROVA_FRAMEPAINTER_H

#include <cstdint>
#include <vector>

#include "DirtyGrid.h"
#include "DrawList.h"

// Draws a screen's frames on the window. Each frame the screen's drawing
// code runs as always, but what it draws is recorded; compared block by
// block with the frame before, it is drawn again only in the blocks that
// differ, back to front within each, and only those are sent to the
// display. A frame that changed nothing sends nothing. The whole window is
// drawn and sent on the first frame, on a new window, and always in the
// EVERYTHING mode, which draws straight onto the window as a reference.
class FramePainter {
public:
    enum class Mode { CHANGED, EVERYTHING };

    struct Scene {
        virtual ~Scene() = default;
        // Draws the frame back to front on a window cleared to its colour.
        virtual void draw() = 0;
    };

    explicit FramePainter(Mode mode = startMode) : mode(mode) {}
    void setMode(Mode newMode);
    Mode getMode() const { return mode; }
    // The next frame is drawn and sent whole.
    void invalidate() { whole = true; }
    // False when the window could not be drawn or shown.
    bool paint(Scene& scene);

    // What the last frame drew again and sent: the rectangles and their pixels.
    const std::vector<SDL_Rect>& lastRects() const { return sent; }
    long lastPixels() const;

    // The mode new painters start in (the command line's -redraw).
    static Mode startMode;

private:
    void compareBlocks();
    Mode mode;
    bool whole = true;
    unsigned windowSeen = 0;
    DrawList list;
    DirtyGrid grid;
    std::vector<uint64_t> looks;      // this frame's, block by block
    std::vector<uint64_t> lastLooks;  // the frame before's
    std::vector<SDL_Rect> sent;
};

#endif
