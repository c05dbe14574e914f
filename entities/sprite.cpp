#include "entities/sprite.h"

#include "base/colors.h"
#include "base/game_input.h"
#include "base/fatal.h"
#include "base/release_bitmap.h"

#include <allegro.h>

#include <cstdlib>

namespace {

}  // namespace

Sprite::Sprite()
    : active(false), x(0), y(0), frameWidth(0), frameHeight(0), speedX(0), speedY(0), frame(0),
      frameRow(0), frameCount(0), lastFrameTick(0), frameDelay(0), frameBitmap(nullptr),
      strip(nullptr)
{
}

Sprite::~Sprite()
{
    releaseBitmap(frameBitmap);
    releaseBitmap(strip);
}

void Sprite::load(const char* fileName, int32_t newFrameWidth, int32_t newFrameHeight,
                  int32_t newFrameCount)
{
    // A sprite is loaded again at every shot of an orb: the old bitmaps would
    // otherwise pile up for the whole level.
    releaseBitmap(frameBitmap);
    releaseBitmap(strip);

    active = false;
    x = 0;
    y = 0;
    speedX = 0;
    speedY = 0;
    frame = 0;
    frameRow = 0;
    lastFrameTick = 0;
    frameDelay = 0;
    frameWidth = newFrameWidth;
    frameHeight = newFrameHeight;
    frameCount = newFrameCount;

    strip = load_bitmap(fileName, nullptr);
    if (!strip) {
        leaveWithMessage(kMissingPictureMessage, fileName);
    }
    frameBitmap = create_bitmap(frameWidth, frameHeight);
    renderFrame();
}

void Sprite::renderFrame()
{
    // An orb drops its frame bitmap when its flight ends; nothing to show then.
    if (!frameBitmap || !strip) {
        return;
    }
    // The far corner is the bitmap's size, one past its last pixel; the
    // library clips it.
    rectfill(frameBitmap, 0, 0, frameBitmap->w, frameBitmap->h, maskColour());
    masked_blit(strip, frameBitmap, frame * frameWidth, frameRow * frameHeight, 0, 0,
                frameBitmap->w, frameBitmap->h);
}

void Sprite::animate()
{
    const int32_t now = playTick();
    // The absolute difference also steps at once after the level has reset
    // the clock below the last change.
    if (std::abs(now - lastFrameTick) > frameDelay) {
        frame += 1;
        if (frame == frameCount) {
            frame = 0;
        }
        renderFrame();
        lastFrameTick = now;
    }
}
