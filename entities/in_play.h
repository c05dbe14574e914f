// Whether the entity in a slot is in play: the slot is filled, the entity
// has its sprite, and the sprite is active. Slots are empty between runs and
// an alien has no sprite until its first spawn.
#pragma once

#include "entities/sprite.h"

template <typename Entity>
bool inPlay(const Entity* entity)
{
    return entity && entity->sprite && entity->sprite->active;
}
