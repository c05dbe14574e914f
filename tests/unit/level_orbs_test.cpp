// The orbs' flight in play: range, hits on monsters, and the graphics given
// back when a flight ends.
#include "entities/alien.h"
#include "entities/orb.h"
#include "entities/sprite.h"
#include "level/level.h"
#include "shell/counters.h"
#include "tests/unit/entities_alien_strips.h"

#include <gtest/gtest.h>

namespace {

constexpr int kAlienFrame = 128;

class LevelOrbsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tickCounter = 0;
        for (Orb*& orb : level.orbs) {
            orb = new Orb;
        }
        for (Alien*& alien : level.aliens) {
            alien = new Alien;
            alien->sprite = new Sprite;
            alien->sprite->frameWidth = kAlienFrame;
            alien->sprite->frameHeight = kAlienFrame;
            alien->health = 10;
            alien->maxHealth = 10;
            alien->x = -10000;  // far away and not in play until a test says so
            alien->y = -10000;
        }
    }
    void TearDown() override
    {
        for (Orb*& orb : level.orbs) {
            delete orb;
            orb = nullptr;
        }
        for (Alien*& alien : level.aliens) {
            delete alien;
            alien = nullptr;
        }
    }

    Alien& placeAlien(int slot, float x, float y)
    {
        Alien& alien = *level.aliens[slot];
        alien.x = x;
        alien.y = y;
        alien.sprite->active = true;
        return alien;
    }

    // Steps until the orb's flight ends; returns the number of steps.
    int stepsUntilSpent(const Orb& orb, int limit = 200)
    {
        int steps = 0;
        while (orb.sprite->active && steps < limit) {
            level.updateOrbs();
            ++steps;
        }
        return steps;
    }

    StandInStrips strips;
    Level level;
};

TEST_F(LevelOrbsTest, AnOrbAlongAnAxisIsSpentOnItsFiftiethStep)
{
    Orb& orb = *level.orbs[0];
    orb.fire(270, 100, 100);
    EXPECT_EQ(stepsUntilSpent(orb), 50);
    EXPECT_EQ(orb.sprite->x, 350);  // exactly 250 from the start
    EXPECT_EQ(orb.sprite->frameBitmap, nullptr);
}

TEST_F(LevelOrbsTest, ADiagonalOrbIsSpentOnItsThirtySixthStep)
{
    // 35 steps: 175 * sqrt 2 = 247.5; 36 steps: 254.6, the first at 250 or more.
    Orb& orb = *level.orbs[3];
    orb.fire(315, 0, 0);
    EXPECT_EQ(stepsUntilSpent(orb), 36);
    EXPECT_EQ(orb.sprite->x, 180);
    EXPECT_EQ(orb.sprite->y, 180);
}

TEST_F(LevelOrbsTest, AnIdleOrbIsNeitherMovedNorTested)
{
    Orb& orb = *level.orbs[0];
    orb.fire(270, 100, 100);
    orb.sprite->active = false;
    placeAlien(0, 90, 90);
    level.updateOrbs();
    EXPECT_EQ(orb.sprite->x, 100);
    EXPECT_EQ(level.aliens[0]->health, 10);
}

TEST_F(LevelOrbsTest, ACornerOnAMonstersEdgeIsNoHitButOnePixelInIs)
{
    Alien& alien = placeAlien(0, 100, 100);
    Orb& orb = *level.orbs[0];
    // Flying right: after one step the orb's right side lies on x = 100.
    orb.fire(270, 100 - 16 - 5, 150);
    level.updateOrbs();
    EXPECT_TRUE(orb.sprite->active);
    EXPECT_EQ(alien.health, 10);
    level.updateOrbs();  // now 5 pixels in
    EXPECT_FALSE(orb.sprite->active);
    EXPECT_EQ(alien.health, 9);
    EXPECT_EQ(orb.sprite->frameBitmap, nullptr);
}

TEST_F(LevelOrbsTest, AnOrbLevelWithAMonstersTopEdgeIsNoHit)
{
    Alien& alien = placeAlien(0, 100, 100);
    Orb& orb = *level.orbs[0];
    // Flying up along the alien's bottom edge: its top corners lie on y = 228.
    orb.fire(180, 150, 233);
    level.updateOrbs();
    EXPECT_EQ(orb.sprite->y, 228);
    EXPECT_TRUE(orb.sprite->active);
    EXPECT_EQ(alien.health, 10);
}

TEST_F(LevelOrbsTest, OneOrbWoundsEveryMonsterItTouchesAndIsSpentOnce)
{
    Alien& first = placeAlien(2, 100, 100);
    Alien& second = placeAlien(7, 150, 150);
    Alien& elsewhere = placeAlien(4, 600, 600);
    Orb& orb = *level.orbs[0];
    orb.fire(0, 200, 195);  // one step down: (200, 200), inside both boxes
    level.updateOrbs();
    EXPECT_FALSE(orb.sprite->active);
    EXPECT_EQ(first.health, 9);
    EXPECT_EQ(second.health, 9);
    EXPECT_EQ(elsewhere.health, 10);
    EXPECT_EQ(orb.sprite->frameBitmap, nullptr);
    // Spent: later passes do not touch it again.
    level.updateOrbs();
    EXPECT_EQ(first.health, 9);
}

TEST_F(LevelOrbsTest, MonstersOffTheFieldAreNeverHit)
{
    Alien& waiting = placeAlien(0, 100, 100);
    waiting.sprite->active = false;
    Orb& orb = *level.orbs[0];
    orb.fire(270, 90, 150);
    for (int step = 0; step < 20; ++step) {
        level.updateOrbs();
    }
    EXPECT_TRUE(orb.sprite->active);  // flew straight through
    EXPECT_EQ(orb.sprite->x, 190);
    EXPECT_EQ(waiting.health, 10);
}

TEST_F(LevelOrbsTest, TheStepThatReachesTheRangeStillHits)
{
    // Step 49 leaves the orb's right side at 361, on the monster's edge at
    // 362 not yet inside; step 50 ends the flight at 366, inside.
    Alien& alien = placeAlien(0, 362, 50);
    Orb& orb = *level.orbs[0];
    orb.fire(270, 100, 100);
    EXPECT_EQ(stepsUntilSpent(orb), 50);
    EXPECT_EQ(alien.health, 9);
}

TEST_F(LevelOrbsTest, AnOrbCanFireAgainAfterItsFlightEnded)
{
    Orb& orb = *level.orbs[0];
    orb.fire(270, 0, 0);
    stepsUntilSpent(orb);
    ASSERT_EQ(orb.sprite->frameBitmap, nullptr);
    orb.fire(90, 500, 500);
    EXPECT_NE(orb.sprite->frameBitmap, nullptr);
    EXPECT_EQ(stepsUntilSpent(orb), 50);
    EXPECT_EQ(orb.sprite->x, 250);
}

TEST_F(LevelOrbsTest, DistanceIsTruncatedToWholePixels)
{
    EXPECT_EQ(level.distance(0, 0, 3, 4), 5);
    EXPECT_EQ(level.distance(3, 4, 0, 0), 5);
    EXPECT_EQ(level.distance(0, 0, 175, 175), 247);
    EXPECT_EQ(level.distance(0, 0, 180, 180), 254);
    EXPECT_EQ(level.distance(-7, 2, -7, 2), 0);
    // Far beyond any map the squares would not fit in 32 bits.
    EXPECT_EQ(level.distance(0, 0, 100000, 0), 100000);
    EXPECT_EQ(level.distance(-2000000000, 0, 2000000000, 0), 2147483647);
}

}  // namespace
