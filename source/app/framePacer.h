#ifndef ZENTROVA_FRAMEPACER_H
#define ZENTROVA_FRAMEPACER_H

#include <SDL.h>

// Holds the main loop to a number of frames a second. Frame k is due at
// start + k / rate seconds, so rounding to whole milliseconds never adds up
// to drift, and the wait sleeps instead of spinning. A frame that comes a
// little late (the machine was busy) is made up by not sleeping after the
// next ones; one that comes a quarter second late or more (a stall, a
// suspended machine) starts a new schedule rather than a burst of frames.
class FramePacer {
public:
    static constexpr int minimumRate = 1;
    static constexpr int maximumRate = 1000;

    // 0 (or any rate out of range): no cap, wait returns at once.
    explicit FramePacer(int framesPerSecond);

    // Called after each frame: sleeps until the next frame is due.
    void wait();

    // How the wait sleeps; tests step frozen time instead.
    static void (*sleep)(Uint32 milliseconds);

private:
    int rate;
    Uint32 start;
    Uint64 frames = 0;
};

#endif
