// Sprites (loading, the frame gate, giving back replaced bitmaps) and the
// dome built on them (placement, slow animation, health bar).
#include "shell/colors.h"
#include "shell/counters.h"
#include "tests/support/headless.h"
#include "tests/unit/level_test_world.h"

#include <unistd.h>

#include <utility>

namespace {

using testworld::frameColour;

constexpr int kFrame = 8;

class SpriteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        startHeadless();
        testworld::writeGamePictures(folder.path());
        testworld::writeStrip(strip, kFrame, kFrame, 3);
        tickCounter = 0;
    }
    // The bottom-right pixel of a frame is never masked.
    int shown() const { return getpixel(sprite.frameBitmap, kFrame - 1, kFrame - 1); }

    TempDir folder;
    ScopedChdir inFolder{folder.path()};
    std::string strip = folder.file("strip.bmp");
    Sprite sprite;
};

TEST_F(SpriteTest, LoadShowsFrameZeroAndFramesStepWhenTheClockIsMoreThanTheDelayAway)
{
    sprite.active = true;
    sprite.frame = 2;
    sprite.lastFrameTick = 99;
    sprite.frameDelay = 7;
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

TEST_F(SpriteTest, AMissingStripEndsTheGameWithItsNameAndStatusZero)
{
    // Without a display the library prints its messages on stdout.
    EXPECT_EXIT((dup2(STDERR_FILENO, STDOUT_FILENO), sprite.load(folder.file("absent.bmp").c_str(), 8, 8, 3)),
                ::testing::ExitedWithCode(0), "Cannot load picture file:  .*/absent\\.bmp");
}

TEST_F(SpriteTest, ADomeStandsWithFullHealthAndShowsEachFrameTwentyOneTicks)
{
    Dome dome;
    EXPECT_FALSE(dome.sprite->active) << "a constructed dome has fallen";
    dome.init(288, 160);
    EXPECT_TRUE(dome.sprite->active);
    EXPECT_EQ(std::make_pair(dome.x, dome.y), std::make_pair(288, 160));
    EXPECT_EQ(dome.health, 50);
    const int steps[][2] = {{20, 0}, {21, 1}, {41, 1}, {42, 2}};
    for (const auto& step : steps) {
        tickCounter = step[0];
        dome.animate();
        EXPECT_EQ(dome.sprite->frame, step[1]) << "tick " << step[0];
    }
}

TEST_F(SpriteTest, TheDomesBarIsOutlinedTwentyToTenRowsAboveWithGreenPerHealth)
{
    const int blank = makecol(1, 1, 1);
    BITMAP* canvas = testworld::filled(640, 480, blank);
    Dome dome;
    dome.init(300, 200);
    // health -> last green column: 128 * health / 50, truncated; column 128
    // is the outline. With the camera at (100, 50) the dome is at (200, 150).
    const int cases[][2] = {{50, 127}, {49, 125}, {25, 64}, {2, 5}, {1, 2}, {0, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "health " << c[0]);
        clear_to_color(canvas, blank);
        dome.health = c[0];
        dome.drawHealth(canvas, 100, 50);
        int lastGreen = -1;
        for (int column = 0; column <= 128; ++column) {
            lastGreen = getpixel(canvas, 200 + column, 135) == colorGreen ? column : lastGreen;
        }
        EXPECT_EQ(lastGreen, c[1]);
        if (c[0] == 0) {
            EXPECT_EQ(getpixel(canvas, 200, 130), blank) << "no bar at all";
            continue;
        }
        for (int row = 130; row <= 140; ++row) {
            EXPECT_EQ(getpixel(canvas, 200, row), colorWhite) << row;
            EXPECT_EQ(getpixel(canvas, 328, row), colorWhite) << row;
        }
        EXPECT_EQ(getpixel(canvas, 264, 130), colorWhite);
        EXPECT_EQ(getpixel(canvas, 264, 140), colorWhite);
        EXPECT_EQ(getpixel(canvas, 200 + c[1] + 1, 135), c[1] < 127 ? colorBlack : colorWhite);
        EXPECT_EQ(getpixel(canvas, 264, 129), blank);
        EXPECT_EQ(getpixel(canvas, 264, 141), blank);
        EXPECT_EQ(getpixel(canvas, 199, 135), blank);
        EXPECT_EQ(getpixel(canvas, 329, 135), blank);
    }
    destroy_bitmap(canvas);
}

}  // namespace
