#include "CAnimation.h"

#include "ticks.h"

void CAnimation::OnAnimate() {
    const Uint32 now = ticks::now();
    if (oldTime + static_cast<Uint32>(frameRate) > now) return;
    oldTime = now;
    currentFrame += frameInc;
    if (oscillate) {
        if (frameInc > 0) {
            if (currentFrame >= maxFrames - 1) frameInc = -frameInc;
        } else if (currentFrame <= 0) {
            frameInc = -frameInc;
        }
    } else if (currentFrame >= maxFrames - 1) {
        // Wrapping on the last frame rather than past it leaves the last frame unshown.
        currentFrame = 0;
    }
}

void CAnimation::SetFrameRate(int rate) { frameRate = rate; }

void CAnimation::SetCurrentFrame(int frame) {
    if (frame >= 0 && frame < maxFrames) currentFrame = frame;
}

int CAnimation::GetCurrentFrame() const { return currentFrame; }
