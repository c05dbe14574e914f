// Sprites and what is built on them: the dome (placement, slow animation,
// health bar) and the cart (speed steps behind the shared two-tick gate, the
// image of body, turret and turned gun).
#include "shell/colors.h"
#include "tests/unit/level_test_world.h"

#include <string>
#include <utility>

namespace {

using testworld::frameColour;

constexpr int kFrame = 8;

class EntityTest : public testworld::WorldTest {
protected:
    // The bottom-right pixel of a frame is never masked.
    int shown() const { return getpixel(sprite.frameBitmap, kFrame - 1, kFrame - 1); }

    std::string strip = folder.file("strip.bmp");
    Sprite sprite;
};

TEST_F(EntityTest, LoadShowsFrameZeroAndFramesStepWhenTheClockIsMoreThanTheDelayAway)
{
    testworld::writeStrip(strip, kFrame, kFrame, 3);
    sprite.active = true;
    sprite.frame = sprite.lastFrameTick = sprite.frameDelay = 7;
    sprite.load(strip.c_str(), kFrame, kFrame, 3);
    EXPECT_FALSE(sprite.active);
    EXPECT_EQ(sprite.frame + sprite.lastFrameTick + sprite.frameDelay, 0);
    EXPECT_EQ(shown(), frameColour(0));
    EXPECT_EQ(getpixel(sprite.frameBitmap, 0, 0), testworld::mask());
    sprite.frameDelay = 3;
    // tick -> frame; 12 wraps past the last frame, 0 lies far below tick 12.
    const int steps[][2] = {{3, 0}, {4, 1}, {7, 1}, {8, 2}, {12, 0}, {0, 1}};
    for (const auto& step : steps) {
        tickCounter = step[0];
        sprite.animate();
        EXPECT_EQ(sprite.frame, step[1]) << "tick " << step[0];
        EXPECT_EQ(shown(), frameColour(step[1])) << "tick " << step[0];
    }
}

TEST_F(EntityTest, ADomeStandsWithItsBarOutlinedTwentyToTenRowsAboveAndGreenPerHealth)
{
    const int blank = makecol(1, 1, 1);
    BITMAP* canvas = testworld::filled(640, 480, blank);
    Dome dome;
    EXPECT_FALSE(dome.sprite->active) << "a constructed dome has fallen";
    dome.init(300, 200);  // with the camera at (100, 50): at (200, 150)
    EXPECT_TRUE(dome.sprite->active);
    EXPECT_EQ(std::make_pair(dome.health, dome.sprite->frameDelay), std::make_pair(50, 20));
    // health -> last green column, 128 * health / 50 truncated, inside a
    // white outline over columns 0 to 128 and rows 130 to 140, black behind.
    const int cases[][2] = {{50, 127}, {49, 125}, {25, 64}, {2, 5}, {1, 2}, {0, -1}};
    for (const auto& c : cases) {
        clear_to_color(canvas, blank);
        dome.health = c[0];
        dome.drawHealth(canvas, 100, 50);
        int mismatches = 0;
        for (int y = 128; y <= 142; ++y) {
            for (int x = 198; x <= 330; ++x) {
                const bool inside = c[0] > 0 && x >= 200 && x <= 328 && y >= 130 && y <= 140;
                const bool edge = x == 200 || x == 328 || y == 130 || y == 140;
                const int want = !inside ? blank : edge ? colorWhite : x - 200 <= c[1] ? colorGreen : colorBlack;
                mismatches += getpixel(canvas, x, y) != want;
            }
        }
        EXPECT_EQ(mismatches, 0) << "health " << c[0];
    }
    destroy_bitmap(canvas);
}

TEST_F(EntityTest, FromRestTheFifthStepReachesOneAndTheFiftyFirstSettles)
{
    // The float sums of 0.2 reach exactly 1.0 on step 5 and stop at the
    // first sum above 10: 51 steps, printed "10.199995".
    for (int step = 1; step <= 60; ++step) {
        tickCounter += 2;  // the gate passes once
        craft.speedUp(0.2);
        if (step == 5) {
            EXPECT_EQ(craft.speed, 1.0f);
        } else if (step >= 51) {
            EXPECT_EQ(std::to_string(craft.speed), "10.199995") << step;
        } else {
            EXPECT_LT(craft.speed, step < 5 ? 1.0f : 10.0f) << step;
        }
    }
    EXPECT_EQ(craft.lastSpeedTick, tickCounter.load()) << "the gate is taken even at the limit";
}

TEST_F(EntityTest, AllThreeShareAGateThatNeedsMoreThanOneTickEitherWayAndDragStopsInTheBand)
{
    // tick, then speedUp(0.2), slowDown(0.5) and drag; only the first to pass
    // the gate acts. A new level resets the clock below the last tick.
    const std::pair<int, float> steps[] = {{10, 0.2f}, {11, 0.2f}, {12, 0.4f}, {4000, 0.6f}, {0, 0.8f}};
    for (const auto& step : steps) {
        tickCounter = step.first;
        craft.speedUp(0.2);
        craft.slowDown(0.5);
        craft.applyDrag();
        EXPECT_FLOAT_EQ(craft.speed, step.second) << "tick " << step.first;
    }
    // Drag: start -> after one period; 0.65 is still outside (-0.6, 0.6).
    const float cases[][2] = {{3.0f, 2.95f}, {-3.0f, -2.95f}, {0.7f, 0.65f}, {-0.7f, -0.65f},
                              {0.65f, 0.0f}, {-0.64f, 0.0f}, {0.0f, 0.0f}};
    for (const auto& c : cases) {
        craft.speed = c[0];
        tickCounter += 2;
        craft.applyDrag();
        EXPECT_FLOAT_EQ(craft.speed, c[1]) << "from " << c[0];
    }
}

}  // namespace
