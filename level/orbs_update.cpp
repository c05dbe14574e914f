#include "entities/alien.h"
#include "entities/contact.h"
#include "entities/orb.h"
#include "entities/sprite.h"
#include "level/level.h"
#include "base/release_bitmap.h"
#include "entities/in_play.h"

#include <allegro.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {
Box boxOf(const Sprite& orb)
{
    return {static_cast<float>(orb.x), static_cast<float>(orb.y), static_cast<float>(orb.frameWidth),
            static_cast<float>(orb.frameHeight)};
}

Box boxOf(const Alien& alien)
{
    return {alien.x, alien.y, static_cast<float>(alien.sprite->frameWidth),
            static_cast<float>(alien.sprite->frameHeight)};
}
}  // namespace

void Level::updateOrbs()
{
    for (Orb* orb : orbs) {
        if (!inPlay(orb)) {
            continue;
        }
        Sprite& sprite = *orb->sprite;
        orb->move();
        if (distance(orb->startX, orb->startY, sprite.x, sprite.y) >= orb->range) {
            sprite.active = false;
        }
        // The orb stays where it is for every alien of this step, so one shot
        // can wound several monsters standing together, even on its last step.
        for (Alien* alien : aliens) {
            if (inPlay(alien) && anyCornerInside(boxOf(sprite), boxOf(*alien))) {
                sprite.active = false;
                alien->hit();
            }
        }
        if (!sprite.active) {
            // Emptied, so that neither the next shot nor the sprite's own
            // destructor frees it a second time.
            releaseBitmap(sprite.frameBitmap);
        }
    }
}

int32_t Level::distance(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    // Squares in double precision: exact wherever 32-bit squares would fit,
    // and no overflow for points far outside the map.
    const double dx = static_cast<double>(x2) - x1;
    const double dy = static_cast<double>(y2) - y1;
    const double root = std::sqrt(dx * dx + dy * dy);
    return static_cast<int32_t>(std::min(root, static_cast<double>(INT32_MAX)));
}
