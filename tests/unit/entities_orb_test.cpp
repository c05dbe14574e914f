// Orb flight: the eight directions the turret can give, and a fresh start at
// every shot.
#include "entities/orb.h"
#include "entities/sprite.h"
#include "shell/counters.h"
#include "tests/unit/entities_alien_strips.h"

#include <gtest/gtest.h>

namespace {

class OrbTest : public ::testing::Test {
protected:
    void SetUp() override { tickCounter = 0; }
    StandInStrips strips;
    Orb orb;
};

struct Step {
    int angle;
    int dx;
    int dy;
};

// Angles run clockwise from straight down: 90 is left, 180 up, 270 right.
constexpr Step kSteps[] = {
    {0, 0, 5},    {45, -5, 5},  {90, -5, 0}, {135, -5, -5},
    {180, 0, -5}, {225, 5, -5}, {270, 5, 0}, {315, 5, 5},
};

TEST_F(OrbTest, EachTurretAngleStepsFivePixelsOnEveryMovingAxis)
{
    for (const Step& step : kSteps) {
        orb.fire(step.angle, 300, 200);
        for (int n = 1; n <= 3; ++n) {
            orb.move();
            EXPECT_EQ(orb.sprite->x, 300 + n * step.dx) << "angle " << step.angle;
            EXPECT_EQ(orb.sprite->y, 200 + n * step.dy) << "angle " << step.angle;
        }
        // The launch point stays behind as the start of the flight.
        EXPECT_EQ(orb.startX, 300);
        EXPECT_EQ(orb.startY, 200);
    }
}

TEST_F(OrbTest, AnglesBetweenTheTurretsSnapToTheNearestOfEightDirections)
{
    // 20 degrees (14 library units) is within 30 degrees of straight down;
    // 40 degrees (28 units) is past it and flies diagonally.
    orb.fire(20, 0, 0);
    orb.move();
    EXPECT_EQ(orb.sprite->x, 0);
    EXPECT_EQ(orb.sprite->y, 5);
    orb.fire(40, 0, 0);
    orb.move();
    EXPECT_EQ(orb.sprite->x, -5);
    EXPECT_EQ(orb.sprite->y, 5);
}

TEST_F(OrbTest, EveryShotStartsAgainFromFrameZeroWithFreshGraphics)
{
    orb.fire(270, 10, 20);
    EXPECT_TRUE(orb.sprite->active);
    EXPECT_EQ(orb.range, 250);
    EXPECT_EQ(orb.sprite->frameWidth, 16);
    EXPECT_EQ(orb.sprite->frameCount, 4);
    EXPECT_EQ(orb.sprite->frameDelay, 5);
    ASSERT_NE(orb.sprite->frameBitmap, nullptr);

    // Six ticks pass the delay of 5: the animation moves on while in flight.
    tickCounter = 6;
    orb.move();
    EXPECT_EQ(orb.sprite->frame, 1);

    orb.fire(90, 40, 50);
    EXPECT_EQ(orb.sprite->frame, 0);
    EXPECT_EQ(orb.angle, 90);
    EXPECT_EQ(orb.sprite->x, 40);
    EXPECT_EQ(orb.sprite->y, 50);
    ASSERT_NE(orb.sprite->frameBitmap, nullptr);
}

}  // namespace
