// The cart: its speed steps behind the shared two-tick gate, and its image of
// body, turret and turned gun.
#include "shell/counters.h"
#include "tests/support/headless.h"
#include "tests/unit/level_test_world.h"

#include <cstdio>
#include <string>

namespace {

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
    // Moves the clock on far enough for the gate to pass once.
    void nextPeriod() { tickCounter += 2; }

    PlayerCraft craft;
};

TEST_F(CraftSpeedTest, FromRestTheFifthStepReachesOneAndTheFiftyFirstSettles)
{
    // The float sums of 0.2 reach exactly 1.0 on step 5 and stop at the
    // first sum above 10: 51 steps, printed "10.199995".
    for (int step = 1; step <= 60; ++step) {
        nextPeriod();
        craft.speedUp(0.2);
        if (step == 5) {
            EXPECT_EQ(craft.speed, 1.0f);
        } else if (step >= 51) {
            EXPECT_EQ(printed(craft.speed), "10.199995") << step;
        } else {
            EXPECT_LT(craft.speed, step < 5 ? 1.0f : 10.0f) << step;
        }
    }
    EXPECT_EQ(craft.lastSpeedTick, tickCounter.load()) << "the gate is taken even at the limit";
}

TEST_F(CraftSpeedTest, AllThreeShareAGateThatNeedsMoreThanOneTickEitherWayAndDragStopsInTheBand)
{
    tickCounter = 10;
    craft.speedUp(0.2);
    tickCounter = 11;
    craft.speedUp(0.2);
    craft.slowDown(0.2);
    craft.applyDrag();
    EXPECT_FLOAT_EQ(craft.speed, 0.2f) << "one tick later nothing changes";
    tickCounter = 12;
    craft.slowDown(0.5);
    craft.speedUp(0.2);
    EXPECT_FLOAT_EQ(craft.speed, -0.3f) << "slowing down goes below zero, and speedUp waits";
    craft.lastSpeedTick = 4000;  // a new level resets the clock below it
    tickCounter = 0;
    craft.speedUp(0.2);
    EXPECT_FLOAT_EQ(craft.speed, -0.1f);
    // Drag: start -> after one period; 0.65 is still outside (-0.6, 0.6).
    const float cases[][2] = {{3.0f, 2.95f}, {-3.0f, -2.95f}, {0.7f, 0.65f}, {-0.7f, -0.65f},
                              {0.65f, 0.0f}, {-0.64f, 0.0f}, {0.0f, 0.0f}};
    for (const auto& c : cases) {
        craft.speed = c[0];
        nextPeriod();
        craft.applyDrag();
        EXPECT_FLOAT_EQ(craft.speed, c[1]) << "from " << c[0];
    }
}

TEST(CraftImageTest, TheBodyFollowsTheAxisAndTheGunTheTurretAngle)
{
    startHeadless();
    TempDir folder;
    testworld::writeGamePictures(folder.path());
    ScopedChdir inFolder(folder.path());
    PlayerCraft craft;
    craft.loadSprites();
    craft.renderImage();
    EXPECT_EQ(getpixel(craft.image, 2, 2), testworld::cartVerticalColour());
    EXPECT_EQ(getpixel(craft.image, 13, 13), testworld::turretColour());
    craft.facingAxis = 0;
    // angle, the column and row where the barrel's far end must be (from
    // the centre towards one edge) and where, on the other side, it must not.
    const int cases[][5] = {{0, 16, 28, 16, 3}, {90, 3, 16, 28, 16}, {180, 16, 3, 16, 28}, {270, 28, 16, 3, 16}};
    for (const auto& c : cases) {
        craft.turretAngle = c[0];
        craft.renderImage();
        EXPECT_EQ(getpixel(craft.image, 2, 2), testworld::cartHorizontalColour());
        const auto gunNear = [&](int x, int y) {
            int count = 0;
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx) count += getpixel(craft.image, x + dx, y + dy) == testworld::gunColour();
            return count;
        };
        EXPECT_GT(gunNear(c[1], c[2]), 0) << "angle " << c[0];
        EXPECT_EQ(gunNear(c[3], c[4]), 0) << "angle " << c[0] << ": barrel on the other side";
    }
}

}  // namespace
