#include "entities/alien.h"
#include "entities/sprite.h"
#include "level/level.h"
#include "entities/in_play.h"
#include "base/game_input.h"

void Level::updateAliens()
{
    for (Alien* alien : aliens) {
        if (!alien) {
            continue;
        }
        if (!inPlay(alien) && playTick() > alien->spawnTime) {
            alien->spawn(domes);
        }
        // A monster that has just entered takes its first step at once.
        if (inPlay(alien)) {
            alien->update(domes);
        }
    }
}
