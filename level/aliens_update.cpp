#include "entities/alien.h"
#include "entities/sprite.h"
#include "level/level.h"
#include "shell/counters.h"

void Level::updateAliens()
{
    for (Alien* alien : aliens) {
        if (!alien) {
            continue;
        }
        const bool inPlay = alien->sprite && alien->sprite->active;
        if (!inPlay && tickCounter > alien->spawnTime) {
            alien->spawn(domes);
        }
        // A monster that has just entered takes its first step at once.
        if (alien->sprite && alien->sprite->active) {
            alien->update(domes);
        }
    }
}
