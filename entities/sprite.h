// A strip of animation frames side by side, the bitmap of the current frame,
// the frame timing against the 50 Hz clock, an in-play flag, a position and a
// per-axis speed. Owners draw frameBitmap; the sprite never draws itself.
#pragma once

#include <cstdint>

struct BITMAP;

class Sprite {
public:
    Sprite();
    ~Sprite();  // releases the strip and the frame bitmap

    // Shows frame 0 of a strip file; a strip that cannot be loaded ends the
    // game with a message naming the file.
    void load(const char* fileName, int32_t frameWidth, int32_t frameHeight, int32_t frameCount);
    void renderFrame();
    void animate();

    bool active;
    int32_t x;
    int32_t y;
    int32_t frameWidth;
    int32_t frameHeight;
    int32_t speedX;
    int32_t speedY;
    int32_t frame;
    int32_t frameRow;
    int32_t frameCount;
    int32_t lastFrameTick;
    int32_t frameDelay;
    BITMAP* frameBitmap;
    BITMAP* strip;
};
