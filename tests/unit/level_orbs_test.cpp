// Orbs in flight: their eight directions, their range, and hits on monsters.
#include "tests/unit/entities_alien_strips.h"

#include <climits>

namespace {

using OrbsTest = FieldTest;

TEST_F(OrbsTest, EachAngleStepsFivePixelsOnEveryMovingAxis)
{
    // Clockwise from straight down; 20 and 40 snap to the nearest of eight.
    const struct { int angle, dx, dy; } steps[] = {
        {0, 0, 5},    {45, -5, 5},  {90, -5, 0}, {135, -5, -5}, {180, 0, -5},
        {225, 5, -5}, {270, 5, 0},  {315, 5, 5}, {20, 0, 5},    {40, -5, 5},
    };
    Orb& orb = *level.orbs[0];
    for (const auto& step : steps) {
        orb.fire(step.angle, 300, 200);
        for (int n = 1; n <= 3; ++n) {
            orb.move();
            EXPECT_EQ(orb.sprite->x, 300 + n * step.dx) << "angle " << step.angle;
            EXPECT_EQ(orb.sprite->y, 200 + n * step.dy) << "angle " << step.angle;
        }
    }
}

TEST_F(OrbsTest, AxisFlightEndsOnStep50AndDiagonalOnStep36)
{
    // Diagonal: 35 steps are 247.5 pixels out, 36 are 254.6. A monster the
    // axis orb reaches only on its last step is still hit.
    Alien& atRange = place(0, 262, -50);
    const struct { int angle, steps, endX, endY; } flights[] = {{270, 50, 250, 0}, {315, 36, 180, 180}};
    Orb& orb = *level.orbs[0];
    for (const auto& flight : flights) {
        orb.fire(flight.angle, 0, 0);
        ASSERT_NE(orb.sprite->frameBitmap, nullptr) << "a spent orb must fire again";
        int steps = 0;
        while (orb.sprite->active && steps < 100) {
            level.updateOrbs();
            ++steps;
        }
        EXPECT_EQ(steps, flight.steps) << "angle " << flight.angle;
        EXPECT_EQ(orb.sprite->x, flight.endX);
        EXPECT_EQ(orb.sprite->y, flight.endY);
        EXPECT_EQ(orb.sprite->frameBitmap, nullptr);
    }
    EXPECT_EQ(atRange.health, 9);
}

TEST_F(OrbsTest, ACornerOnAMonstersEdgeIsNoHitButOnePixelInIs)
{
    Alien& alien = place(0, 100, 100);
    Orb& orb = *level.orbs[0];
    orb.fire(270, 100 - 16 - 5, 150);  // one step right: its right side on x = 100
    level.updateOrbs();
    EXPECT_TRUE(orb.sprite->active);
    EXPECT_EQ(alien.health, 10);
    level.updateOrbs();
    EXPECT_FALSE(orb.sprite->active);
    EXPECT_EQ(alien.health, 9);
}

TEST_F(OrbsTest, OneOrbWoundsEveryMonsterItTouchesAndIsSpentOnce)
{
    Alien& first = place(2, 100, 100);
    Alien& second = place(7, 150, 150);
    Alien& elsewhere = place(4, 600, 600);
    Orb& orb = *level.orbs[0];
    orb.fire(0, 200, 195);  // one step down to (200, 200), inside both
    level.updateOrbs();
    level.updateOrbs();
    EXPECT_FALSE(orb.sprite->active);
    EXPECT_EQ(orb.sprite->frameBitmap, nullptr);
    EXPECT_EQ(first.health, 9);
    EXPECT_EQ(second.health, 9);
    EXPECT_EQ(elsewhere.health, 10);
}

TEST_F(OrbsTest, MonstersOffTheFieldAreNeverHit)
{
    Alien& waiting = place(0, 100, 100);
    waiting.sprite->active = false;  // the other slots have no sprite yet
    Orb& orb = *level.orbs[0];
    orb.fire(270, 90, 150);
    for (int step = 0; step < 20; ++step) {
        level.updateOrbs();
    }
    EXPECT_TRUE(orb.sprite->active);
    EXPECT_EQ(orb.sprite->x, 190);
    EXPECT_EQ(waiting.health, 10);
}

TEST_F(OrbsTest, DistanceIsTruncatedAndNeverOverflows)
{
    EXPECT_EQ(level.distance(3, 4, 0, 0), 5);
    EXPECT_EQ(level.distance(0, 0, 175, 175), 247);
    EXPECT_EQ(level.distance(0, 0, 100000, 0), 100000);
    EXPECT_EQ(level.distance(-2000000000, 0, 2000000000, 0), INT_MAX);
}

}  // namespace
