// The keys of play (turret lock, driving, help, aiming, firing) and the
// scoring step, once per frame.
#include "level/level.h"

#include "entities/dome.h"
#include "entities/orb.h"
#include "entities/player_craft.h"
#include "entities/sprite.h"
#include "entities/in_play.h"
#include "base/game_input.h"

#include <allegro.h>

#include <cstdlib>

namespace {

// Orbs (weapon kind 0) leave at most once per 6 ticks; no other kind waits.
constexpr int32_t kOrbWeaponKind = 0;
constexpr int32_t kOrbCooldownTicks = 5;

// A scoring step comes at most once per 51 ticks, about once a second.
constexpr int32_t kScoreIntervalTicks = 50;

}  // namespace

void Level::handleInput()
{
    // The lock key toggles the lock once per press, however long it is held.
    if (playAction(PlayAction::Lock)) {
        if (!aimLockKeyHeld) {
            craft->turretLocked = craft->turretLocked == 0 ? 1 : 0;
            aimLockKeyHeld = true;
        }
    } else {
        aimLockKeyHeld = false;
    }

    driveCraft();

    if (playAction(PlayAction::Help)) {
        showHelp();
    }

    if (craft->turretLocked == 0) {
        aimTurret();
    }

    if (playAction(PlayAction::Fire)) {
        const int32_t cooldown = weaponKind == kOrbWeaponKind ? kOrbCooldownTicks : 0;
        const int32_t now = playTick();
        if (std::abs(now - lastFireTick) > cooldown) {
            for (Orb* orb : orbs) {
                if (orb && orb->sprite && !orb->sprite->active) {
                    orb->kind = weaponKind;
                    orb->fire(craft->turretAngle, craft->x + craft->cart->frameWidth / 2,
                              craft->y + craft->cart->frameHeight / 2);
                    // fire loads the orb's picture from disk, which may take
                    // a tick; the wait for the next shot starts after it.
                    lastFireTick = playTick();
                    break;
                }
            }
        }
    }
}

void Level::updateScore()
{
    const int32_t now = playTick();
    if (std::abs(now - lastScoreTick) > kScoreIntervalTicks) {
        secondsPlayed += 1;
        for (Dome* dome : domes) {
            if (inPlay(dome)) {
                score += 1;
            }
        }
        lastScoreTick = now;
    }
}
