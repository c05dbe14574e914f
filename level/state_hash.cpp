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

template <typename Entity, typename AddFields>
void addSlot(FnvHash& hash, const Entity* entity, AddFields addFields)
{
    if (entity) {
        addFields(*entity);
    } else {
        hash.addInt(kEmptySlot);
    }
}

// Whether it is in play and which frame it shows; the bitmaps follow from
// those and are left out.
void addSprite(FnvHash& hash, const Sprite* sprite)
{
    addSlot(hash, sprite, [&](const Sprite& s) {
        hash.addInts({int32_t{s.active}, s.x, s.y, s.frame, s.lastFrameTick});
    });
}

}  // namespace

uint32_t levelStateHash(const Level& level)
{
    FnvHash hash;
    hash.addInts({level.cameraX, level.cameraY, level.cellX, level.cellY, level.cellCentreX, level.cellCentreY,
                  int32_t{level.aimLockKeyHeld}, int32_t{level.backEnginesOn}, int32_t{level.frontEnginesOn},
                  level.weaponKind, level.lastFireTick, level.score, level.lastScoreTick, level.secondsPlayed,
                  int32_t{level.gameOver}});
    addSlot(hash, level.craft, [&](const PlayerCraft& craft) {
        hash.addInts({craft.x, craft.y, craft.lastSpeedTick, craft.maxSpeed, craft.turretAngle, craft.turretLocked,
                      craft.facingAxis, craft.facing, craft.moveDirection});
        hash.addFloat(craft.speed);
    });
    for (const Orb* orb : level.orbs) {
        addSlot(hash, orb, [&](const Orb& o) {
            addSprite(hash, o.sprite);
            hash.addInts({o.angle, o.kind, o.range, o.startX, o.startY});
        });
    }
    for (const Alien* alien : level.aliens) {
        addSlot(hash, alien, [&](const Alien& a) {
            addSprite(hash, a.sprite);
            hash.addInts({a.kind, a.heading, a.spawnTime, a.lastAttackTick, a.attackInterval, a.damage, a.health,
                          a.maxHealth});
            hash.addFloat(a.x);
            hash.addFloat(a.y);
        });
    }
    for (const Dome* dome : level.domes) {
        addSlot(hash, dome, [&](const Dome& d) {
            addSprite(hash, d.sprite);
            hash.addInts({d.health, d.maxHealth, d.x, d.y});
        });
    }
    return hash.value();
}
