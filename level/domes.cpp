// Whether the level still has something to defend.
#include "level/level.h"

#include "entities/dome.h"
#include "entities/sprite.h"

bool Level::anyDomeStanding()
{
    // Every standing dome is animated, so the loop never stops early.
    bool standing = false;
    for (Dome* dome : domes) {
        if (dome->sprite->active) {
            standing = true;
            dome->animate();
        }
    }
    return standing;
}
