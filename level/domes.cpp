// Whether the level still has something to defend.
#include "level/level.h"

#include "entities/dome.h"
#include "entities/sprite.h"
#include "entities/in_play.h"

bool Level::anyDomeStanding()
{
    // Every standing dome is animated, so the loop never stops early.
    bool standing = false;
    for (Dome* dome : domes) {
        if (inPlay(dome)) {
            standing = true;
            dome->animate();
        }
    }
    return standing;
}
