// The cart: its speed operations behind the shared two-tick gate, its
// composed image, and giving back its bitmaps.
#include "entities/player_craft.h"
#include "entities/sprite.h"
#include "shell/counters.h"
#include "tests/support/headless.h"
#include "tests/unit/level_test_world.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

constexpr double kStep = 0.2;

std::string printed(float speed)
{
    char text[32];
    std::snprintf(text, sizeof text, "%f", static_cast<double>(speed));
    return text;
}

class CraftSpeedTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tickCounter = 0;
        craft.maxSpeed = 10;
    }

    // Moves the clock two ticks on, so that the gate passes once.
    void nextGatePeriod() { tickCounter += 2; }

    PlayerCraft craft;
};

TEST_F(CraftSpeedTest, FromRestTheFifthStepReachesOneAndTheFiftyFirstSettles)
{
    for (int step = 1; step <= 4; ++step) {
        nextGatePeriod();
        craft.speedUp(kStep);
        EXPECT_LT(craft.speed, 1.0f) << "step " << step;
    }
    nextGatePeriod();
    craft.speedUp(kStep);
    EXPECT_EQ(craft.speed, 1.0f);
    EXPECT_EQ(static_cast<int>(craft.speed), 1) << "the first speed that moves the cart";

    for (int step = 6; step <= 50; ++step) {
        nextGatePeriod();
        craft.speedUp(kStep);
        EXPECT_LT(craft.speed, 10.0f) << "step " << step;
    }
    nextGatePeriod();
    craft.speedUp(kStep);
    EXPECT_EQ(printed(craft.speed), "10.199995");

    for (int more = 0; more < 5; ++more) {
        nextGatePeriod();
        craft.speedUp(kStep);
    }
    EXPECT_EQ(printed(craft.speed), "10.199995") << "no step once the limit is reached";
    EXPECT_EQ(craft.lastSpeedTick, tickCounter.load()) << "the gate is taken even at the limit";
}

TEST_F(CraftSpeedTest, TheGateNeedsMoreThanOneTickAndIsSharedByAllThree)
{
    tickCounter = 10;
    craft.speedUp(kStep);
    EXPECT_FLOAT_EQ(craft.speed, 0.2f);

    tickCounter = 11;
    craft.speedUp(kStep);
    craft.slowDown(kStep);
    EXPECT_FLOAT_EQ(craft.speed, 0.2f) << "one tick later nothing may change";

    tickCounter = 12;
    craft.slowDown(kStep);
    craft.speedUp(kStep);  // same gate period as the slowDown: no effect
    EXPECT_NEAR(craft.speed, 0.0f, 1e-6f);
    EXPECT_EQ(craft.lastSpeedTick, 12);

    craft.speed = 3.0f;
    tickCounter = 13;
    craft.applyDrag();
    EXPECT_EQ(craft.speed, 3.0f) << "drag shares the gate";
}

TEST_F(CraftSpeedTest, TheGateMeasuresTheDistanceEitherWay)
{
    // A new level resets the clock below the last stored tick.
    craft.lastSpeedTick = 4000;
    tickCounter = 0;
    craft.speedUp(kStep);
    EXPECT_FLOAT_EQ(craft.speed, 0.2f);
}

TEST_F(CraftSpeedTest, SlowDownIgnoresTheLimitAndGoesBelowZero)
{
    craft.speed = 0.1f;
    nextGatePeriod();
    craft.slowDown(kStep);
    EXPECT_FLOAT_EQ(craft.speed, -0.1f);
}

TEST_F(CraftSpeedTest, DragTakesFivePerCentAGatePeriodAndStopsInsideTheRestBand)
{
    craft.speed = 3.0f;
    nextGatePeriod();
    craft.applyDrag();
    EXPECT_FLOAT_EQ(craft.speed, 2.95f);

    craft.speed = -3.0f;
    nextGatePeriod();
    craft.applyDrag();
    EXPECT_FLOAT_EQ(craft.speed, -2.95f);

    // 0.7 - 0.05 = 0.65 is still outside (-0.6, 0.6); 0.6 - 0.05 would not be.
    craft.speed = 0.7f;
    nextGatePeriod();
    craft.applyDrag();
    EXPECT_FLOAT_EQ(craft.speed, 0.65f);
    nextGatePeriod();
    craft.applyDrag();
    EXPECT_EQ(craft.speed, 0.0f);

    craft.speed = -0.7f;
    nextGatePeriod();
    craft.applyDrag();
    nextGatePeriod();
    craft.applyDrag();
    EXPECT_EQ(craft.speed, 0.0f);

    nextGatePeriod();
    craft.applyDrag();
    EXPECT_EQ(craft.speed, 0.0f) << "a cart at rest stays at rest";
    EXPECT_EQ(craft.lastSpeedTick, tickCounter.load());
}

TEST_F(CraftSpeedTest, FromTopSpeedDragBringsTheCartToRest)
{
    craft.speed = 10.199995f;
    float previous = craft.speed;
    int periods = 0;
    while (craft.speed != 0.0f && periods < 1000) {
        nextGatePeriod();
        craft.applyDrag();
        ++periods;
        if (craft.speed != 0.0f) {
            EXPECT_NEAR(previous - craft.speed, 0.05f, 1e-4f);
            EXPECT_GE(craft.speed, 0.6f);
        }
        previous = craft.speed;
    }
    // (10.2 - 0.6) / 0.05 = 192 periods of drag, and one more to the stop.
    EXPECT_NEAR(periods, 193, 1);
}

class CraftImageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        startHeadless();
        testworld::writeGamePictures(folder.path());
    }

    // Gun-coloured pixels of the image inside a rectangle.
    int gunPixels(int left, int top, int right, int bottom) const
    {
        int count = 0;
        for (int y = top; y <= bottom; ++y) {
            for (int x = left; x <= right; ++x) {
                count += getpixel(craft.image, x, y) == testworld::gunColour();
            }
        }
        return count;
    }

    TempDir folder;
    ScopedChdir inFolder{folder.path()};
    PlayerCraft craft;
};

TEST_F(CraftImageTest, LoadSpritesMakesTheThreeStripsAndStartsFacingDown)
{
    craft.loadSprites();
    ASSERT_NE(craft.cart, nullptr);
    ASSERT_NE(craft.turret, nullptr);
    ASSERT_NE(craft.gun, nullptr);
    EXPECT_EQ(craft.cart->frameCount, 2);
    EXPECT_EQ(craft.turret->frameCount, 8);
    EXPECT_EQ(craft.gun->frameCount, 1);
    ASSERT_NE(craft.image, nullptr);
    EXPECT_EQ(craft.image->w, 32);
    EXPECT_EQ(craft.image->h, 32);
    EXPECT_EQ(craft.facing, kDirectionDown);
    EXPECT_EQ(craft.facingAxis, 1);
}

TEST_F(CraftImageTest, TheBodyFrameFollowsTheAxisAndTheTurretSitsOnTop)
{
    craft.loadSprites();
    craft.renderImage();
    EXPECT_EQ(craft.cart->frame, 0);
    EXPECT_EQ(getpixel(craft.image, 2, 2), testworld::cartVerticalColour());
    EXPECT_EQ(getpixel(craft.image, 13, 13), testworld::turretColour());

    craft.facingAxis = 0;
    craft.renderImage();
    EXPECT_EQ(craft.cart->frame, 1);
    EXPECT_EQ(getpixel(craft.image, 2, 2), testworld::cartHorizontalColour());
}

TEST_F(CraftImageTest, TheGunIsTurnedByTheTurretAngle)
{
    craft.loadSprites();
    // The barrel runs from the centre to one edge; away from the centre it
    // must lie wholly in the half of the image it points to.
    struct Case {
        int angle;
        int left, top, right, bottom;  // the far part of the half it points to
        int awayLeft, awayTop, awayRight, awayBottom;  // the opposite half
    };
    const Case cases[] = {
        {0, 0, 20, 31, 31, 0, 0, 31, 13},    // down
        {90, 0, 0, 11, 31, 18, 0, 31, 31},   // left
        {180, 0, 0, 31, 11, 0, 18, 31, 31},  // up
        {270, 20, 0, 31, 31, 0, 0, 13, 31},  // right
    };
    for (const Case& c : cases) {
        craft.turretAngle = c.angle;
        craft.renderImage();
        EXPECT_GE(gunPixels(c.left, c.top, c.right, c.bottom), 16) << "angle " << c.angle;
        EXPECT_EQ(gunPixels(c.awayLeft, c.awayTop, c.awayRight, c.awayBottom), 0)
            << "angle " << c.angle << ": the barrel shows on the other side";
    }
}

TEST_F(CraftImageTest, DeletingTheCraftGivesBackItsBitmaps)
{
    {
        PlayerCraft warmUp;
        warmUp.loadSprites();
    }
    const std::size_t before = testworld::heapBytesInUse();
    for (int i = 0; i < 50; ++i) {
        PlayerCraft* craft = new PlayerCraft();
        craft->loadSprites();
        craft->loadSprites();  // a second load must not strand the first
        craft->renderImage();
        delete craft;
    }
    // One craft holds about 20 KB of bitmaps; fifty kept would be 1 MB.
    EXPECT_LT(testworld::heapBytesInUse(), before + 16 * 1024);
}

}  // namespace
