#include "entities/dome.h"

#include "entities/sprite.h"
#include "base/colors.h"

#include <allegro.h>

namespace {

constexpr const char* kDomeStrip = "dome.bmp";
constexpr int kDomeFrameSize = 128;
constexpr int kDomeFrames = 4;
constexpr int kDomeFrameDelay = 20;  // each frame shows for at least 21 ticks
constexpr int32_t kDomeHealth = 50;

// The bar sits above the dome, from 20 to 10 pixels over its top edge,
// leaving a gap so that it never touches the dome itself.
constexpr int kBarTopAbove = 20;
constexpr int kBarBottomAbove = 10;

}  // namespace

Dome::Dome() : sprite(new Sprite()), health(0), maxHealth(0), x(0), y(0) {}

Dome::~Dome()
{
    delete sprite;
}

void Dome::init(int32_t newX, int32_t newY)
{
    sprite->load(kDomeStrip, kDomeFrameSize, kDomeFrameSize, kDomeFrames);
    health = kDomeHealth;
    maxHealth = kDomeHealth;
    x = newX;
    y = newY;
    sprite->active = true;
    sprite->frameDelay = kDomeFrameDelay;
}

void Dome::animate()
{
    sprite->animate();
}

void Dome::drawHealth(BITMAP* bitmap, int32_t cameraX, int32_t cameraY)
{
    if (health <= 0) {
        return;
    }
    const int left = x - cameraX;
    const int right = x + sprite->frameWidth - cameraX;
    const int top = y - kBarTopAbove - cameraY;
    const int bottom = y - kBarBottomAbove - cameraY;
    const double healthShare = static_cast<double>(health) / maxHealth;
    // Truncated as a whole, so the edge moves toward zero also left of the view.
    const int greenRight = static_cast<int>(x + sprite->frameWidth * healthShare - cameraX);

    rectfill(bitmap, left, top, right, bottom, colorBlack);
    rectfill(bitmap, left, top, greenRight, bottom, colorGreen);
    rect(bitmap, left, top, right, bottom, colorWhite);
}
