#include "entities/orb.h"

#include "entities/angles.h"
#include "entities/sprite.h"

#include <allegro.h>

namespace {
// Weapon kind 0, the orb: its strip, flight and animation.
constexpr int32_t kOrbKind = 0;
constexpr const char* kOrbStrip = "orb.bmp";
constexpr int32_t kOrbFrameSize = 16;
constexpr int32_t kOrbFrameCount = 4;
constexpr int32_t kOrbFrameDelay = 5;
constexpr int32_t kOrbSpeed = 5;
constexpr int32_t kOrbRange = 250;
}  // namespace

Orb::Orb() : sprite(new Sprite), angle(0), kind(kOrbKind), range(0), startX(0), startY(0) {}

Orb::~Orb()
{
    delete sprite;
}

void Orb::fire(int32_t angle, int32_t x, int32_t y)
{
    if (kind == kOrbKind) {
        // Loaded afresh at every shot (the sprite gives back the previous
        // shot's bitmaps), so the animation starts again at frame 0.
        sprite->load(kOrbStrip, kOrbFrameSize, kOrbFrameSize, kOrbFrameCount);
        range = kOrbRange;
        sprite->speedX = kOrbSpeed;
        sprite->speedY = kOrbSpeed;
        sprite->frameDelay = kOrbFrameDelay;
    }
    this->angle = angle;
    sprite->x = startX = x;
    sprite->y = startY = y;
    sprite->active = true;
}

void Orb::move()
{
    // fixtoi rounds the sine and cosine to -1, 0 or 1: the orb flies in one
    // of eight directions whatever its angle.
    const fixed turn = itofix(degreesToLibraryUnits(angle));
    sprite->y += fixtoi(fixcos(turn)) * sprite->speedY;
    sprite->x -= fixtoi(fixsin(turn)) * sprite->speedX;
    sprite->animate();
}
