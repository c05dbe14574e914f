#include "level/state_hash.h"

#include "base/fnv_hash.h"
#include "entities/alien.h"
#include "entities/dome.h"
#include "entities/orb.h"
#include "entities/player_craft.h"
#include "entities/sprite.h"
#include "level/level.h"

namespace {

// A slot without an entity (before begin, after end) hashes as this marker.
constexpr int32_t kEmptySlot = -1;

// Whether it is in play and which frame it shows; the bitmaps follow from
// those and are left out.
void addSprite(FnvHash& hash, const Sprite* sprite)
{
    if (!sprite) {
        hash.addInt(kEmptySlot);
        return;
    }
    hash.addInts({int32_t{sprite->active}, sprite->x, sprite->y, sprite->frame, sprite->lastFrameTick});
}

void addCraft(FnvHash& hash, const PlayerCraft* craft)
{
    if (!craft) {
        hash.addInt(kEmptySlot);
        return;
    }
    hash.addInts({craft->x, craft->y, craft->lastSpeedTick, craft->maxSpeed, craft->turretAngle,
                          craft->turretLocked, craft->facingAxis, craft->facing, craft->moveDirection});
    hash.addFloat(craft->speed);
}

void addOrb(FnvHash& hash, const Orb* orb)
{
    if (!orb) {
        hash.addInt(kEmptySlot);
        return;
    }
    addSprite(hash, orb->sprite);
    hash.addInts({orb->angle, orb->kind, orb->range, orb->startX, orb->startY});
}

void addAlien(FnvHash& hash, const Alien* alien)
{
    if (!alien) {
        hash.addInt(kEmptySlot);
        return;
    }
    addSprite(hash, alien->sprite);
    hash.addInts({alien->kind, alien->heading, alien->spawnTime, alien->lastAttackTick,
                          alien->attackInterval, alien->damage, alien->health, alien->maxHealth});
    hash.addFloat(alien->x);
    hash.addFloat(alien->y);
}

void addDome(FnvHash& hash, const Dome* dome)
{
    if (!dome) {
        hash.addInt(kEmptySlot);
        return;
    }
    addSprite(hash, dome->sprite);
    hash.addInts({dome->health, dome->maxHealth, dome->x, dome->y});
}

}  // namespace

uint32_t levelStateHash(const Level& level)
{
    FnvHash hash;
    hash.addInts({level.cameraX, level.cameraY, level.cellX, level.cellY, level.cellCentreX, level.cellCentreY,
          int32_t{level.aimLockKeyHeld}, int32_t{level.backEnginesOn}, int32_t{level.frontEnginesOn},
          level.weaponKind, level.lastFireTick, level.score, level.lastScoreTick, level.secondsPlayed,
          int32_t{level.gameOver}});
    addCraft(hash, level.craft);
    for (const Orb* orb : level.orbs) {
        addOrb(hash, orb);
    }
    for (const Alien* alien : level.aliens) {
        addAlien(hash, alien);
    }
    for (const Dome* dome : level.domes) {
        addDome(hash, dome);
    }
    return hash.value();
}
