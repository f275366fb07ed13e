#include "framePacer.h"

#include "ticks.h"

void (*FramePacer::sleep)(Uint32 milliseconds) = SDL_Delay;

namespace {
// Further behind than this, the time is lost rather than made up.
constexpr Sint32 stallMilliseconds = 250;
}  // namespace

FramePacer::FramePacer(int framesPerSecond)
    : rate(framesPerSecond >= minimumRate && framesPerSecond <= maximumRate ? framesPerSecond : 0),
      start(ticks::now()) {}

void FramePacer::wait() {
    if (rate == 0) return;
    ++frames;
    const Uint32 due = start + static_cast<Uint32>(frames * 1000 / static_cast<Uint64>(rate));
    const Uint32 now = ticks::now();
    // Signed, so that the comparison survives the counter wrapping after 49 days.
    const Sint32 early = static_cast<Sint32>(due - now);
    if (early > 0) {
        sleep(static_cast<Uint32>(early));
    } else if (-early > stallMilliseconds) {
        start = now;
        frames = 0;
    }
}
