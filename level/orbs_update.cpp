#include "entities/alien.h"
#include "entities/orb.h"
#include "entities/sprite.h"
#include "level/level.h"

#include <allegro.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {
// True when the point lies strictly inside the alien's box; a point on an
// edge is outside.
bool strictlyInside(float px, float py, const Alien& alien)
{
    return alien.x < px && px < alien.x + alien.sprite->frameWidth && alien.y < py &&
           py < alien.y + alien.sprite->frameHeight;
}

// An orb touches an alien when one of its four corners is inside the alien.
bool touches(const Sprite& orb, const Alien& alien)
{
    const float left = static_cast<float>(orb.x);
    const float top = static_cast<float>(orb.y);
    const float right = static_cast<float>(orb.x + orb.frameWidth);
    const float bottom = static_cast<float>(orb.y + orb.frameHeight);
    return strictlyInside(left, top, alien) || strictlyInside(right, top, alien) ||
           strictlyInside(left, bottom, alien) || strictlyInside(right, bottom, alien);
}

bool inPlay(const Alien* alien)
{
    return alien && alien->sprite && alien->sprite->active;
}
}  // namespace

void Level::updateOrbs()
{
    for (Orb* orb : orbs) {
        if (!orb || !orb->sprite->active) {
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
            if (inPlay(alien) && touches(sprite, *alien)) {
                sprite.active = false;
                alien->hit();
            }
        }
        if (!sprite.active && sprite.frameBitmap) {
            // Null it so that neither the next shot nor the sprite's own
            // destructor frees it a second time.
            destroy_bitmap(sprite.frameBitmap);
            sprite.frameBitmap = nullptr;
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
