// The monsters' pass in play: entries as the clock passes their times, a
// step on the pass of entry, and coming back after being shot down.
#include "entities/alien.h"
#include "entities/dome.h"
#include "entities/sprite.h"
#include "level/level.h"
#include "shell/counters.h"
#include "tests/unit/entities_alien_strips.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class LevelAliensTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        srand(2024);
        tickCounter = 0;
        for (Dome*& dome : level.domes) {
            dome = new Dome;
        }
        level.domes[0]->init(576, 416);
        // As a level sets them up: spawned once for their graphics, then
        // waiting for their times.
        for (int slot = 0; slot < kAlienSlots; ++slot) {
            Alien*& alien = level.aliens[slot];
            alien = new Alien;
            alien->spawn(level.domes);
            alien->spawnTime = 100 * slot + 50;
            alien->sprite->active = false;
        }
    }
    void TearDown() override
    {
        for (Alien*& alien : level.aliens) {
            delete alien;
            alien = nullptr;
        }
        for (Dome*& dome : level.domes) {
            delete dome;
            dome = nullptr;
        }
    }

    int inPlayCount() const
    {
        int count = 0;
        for (const Alien* alien : level.aliens) {
            count += alien->sprite->active ? 1 : 0;
        }
        return count;
    }

    StandInStrips strips;
    Level level;
};

TEST_F(LevelAliensTest, MonstersEnterOneByOneOnceTheClockHasPassedTheirTimes)
{
    for (int tick = 0; tick <= 1000; ++tick) {
        tickCounter = tick;
        level.updateAliens();
        // Slot s waits for 100 s + 50 and enters on the tick after it.
        const int expected = tick <= 50 ? 0 : std::min(10, (tick - 51) / 100 + 1);
        ASSERT_EQ(inPlayCount(), expected) << "tick " << tick;
    }
}

TEST_F(LevelAliensTest, AMonsterStepsOnThePassItEnters)
{
    tickCounter = 51;
    level.updateAliens();
    const Alien& alien = *level.aliens[0];
    ASSERT_TRUE(alien.sprite->active);
    // The sprite keeps the edge position the entry chose; the monster is
    // already one 3-pixel step from it.
    EXPECT_NEAR(Alien::distance(static_cast<float>(alien.sprite->x),
                                static_cast<float>(alien.sprite->y), alien.x, alien.y),
                3.0f, 1e-3);
}

TEST_F(LevelAliensTest, TenHitsSendAMonsterBackWithFullHealthWithin2000Ticks)
{
    tickCounter = 51;
    level.updateAliens();
    Alien& alien = *level.aliens[0];
    ASSERT_TRUE(alien.sprite->active);

    tickCounter = 300;
    for (int hit = 0; hit < 10; ++hit) {
        alien.hit();
    }
    ASSERT_FALSE(alien.sprite->active);
    const int comeBack = alien.spawnTime;
    ASSERT_GE(comeBack, 300);
    ASSERT_LT(comeBack, 2300);

    // The moment itself is not enough: the clock must be past it.
    tickCounter = comeBack;
    level.updateAliens();
    EXPECT_FALSE(alien.sprite->active);
    EXPECT_EQ(alien.health, 0);

    tickCounter = comeBack + 1;
    level.updateAliens();
    EXPECT_TRUE(alien.sprite->active);
    EXPECT_EQ(alien.health, 10);
    EXPECT_EQ(alien.lastAttackTick, 0);
}

TEST_F(LevelAliensTest, MonstersOnTheFieldWalkTowardsTheDome)
{
    tickCounter = 2000;
    level.updateAliens();
    ASSERT_EQ(inPlayCount(), 10);
    const Dome& dome = *level.domes[0];
    float before[kAlienSlots];
    for (int slot = 0; slot < kAlienSlots; ++slot) {
        const Alien& alien = *level.aliens[slot];
        before[slot] = Alien::distance(alien.x, alien.y, dome.x, dome.y);
    }
    for (int pass = 0; pass < 20; ++pass) {
        level.updateAliens();
    }
    for (int slot = 0; slot < kAlienSlots; ++slot) {
        const Alien& alien = *level.aliens[slot];
        // 20 steps of 3 pixels, a little less where the heading's whole
        // degrees miss the dome's corner.
        const float now = Alien::distance(alien.x, alien.y, dome.x, dome.y);
        EXPECT_NEAR(before[slot] - now, 60.0f, 2.0f) << "slot " << slot;
    }
}

}  // namespace
