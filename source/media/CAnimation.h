#ifndef ZENTROVA_CANIMATION_H
#define ZENTROVA_CANIMATION_H

#include <SDL.h>

// Advances a frame number at a fixed interval, looping or swinging back and
// forth. No picture of the game is animated yet: the class stays because the
// documented interfaces name it.
class CAnimation {
public:
    int currentFrame = 0;
    int frameInc = 1;
    int frameRate = 100;  // milliseconds between two advances
    Uint32 oldTime = 0;
    int maxFrames = 0;
    bool oscillate = false;

    CAnimation() = default;
    void OnAnimate();
    void SetFrameRate(int rate);
    void SetCurrentFrame(int frame);
    int GetCurrentFrame() const;
};

#endif
