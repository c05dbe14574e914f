// Sprite: loading a strip, composing the current frame, and stepping the
// frames on the 50 Hz clock with the absolute-difference gate.
#include "entities/sprite.h"
#include "shell/counters.h"
#include "tests/support/headless.h"
#include "tests/unit/level_test_world.h"

#include <allegro.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using testworld::frameColour;
using testworld::mask;

constexpr int kFrame = 8;
constexpr int kFrames = 3;

class SpriteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        startHeadless();
        testworld::writeStrip(folder.file("strip.bmp"), kFrame, kFrame, kFrames);
        tickCounter = 0;
    }

    // The colour of the frame shown: the bottom-right pixel is never masked.
    int shownColour() const { return getpixel(sprite.frameBitmap, kFrame - 1, kFrame - 1); }

    TempDir folder;
    Sprite sprite;
};

TEST_F(SpriteTest, LoadStartsAtFrameZeroWithEveryFieldReset)
{
    sprite.active = true;
    sprite.x = 5;
    sprite.y = 6;
    sprite.speedX = 3;
    sprite.speedY = 3;
    sprite.frame = 2;
    sprite.frameRow = 1;
    sprite.lastFrameTick = 99;
    sprite.frameDelay = 7;

    sprite.load(folder.file("strip.bmp").c_str(), kFrame, kFrame, kFrames);

    EXPECT_FALSE(sprite.active);
    EXPECT_EQ(sprite.x, 0);
    EXPECT_EQ(sprite.y, 0);
    EXPECT_EQ(sprite.speedX, 0);
    EXPECT_EQ(sprite.speedY, 0);
    EXPECT_EQ(sprite.frame, 0);
    EXPECT_EQ(sprite.frameRow, 0);
    EXPECT_EQ(sprite.lastFrameTick, 0);
    EXPECT_EQ(sprite.frameDelay, 0);
    EXPECT_EQ(sprite.frameCount, kFrames);
    ASSERT_NE(sprite.frameBitmap, nullptr);
    EXPECT_EQ(sprite.frameBitmap->w, kFrame);
    EXPECT_EQ(sprite.frameBitmap->h, kFrame);
    EXPECT_EQ(shownColour(), frameColour(0));
    // The strip's transparent corner stays the mask colour in the frame.
    EXPECT_EQ(getpixel(sprite.frameBitmap, 0, 0), mask());
}

TEST_F(SpriteTest, RenderFrameShowsTheCurrentFrameOnly)
{
    sprite.load(folder.file("strip.bmp").c_str(), kFrame, kFrame, kFrames);
    sprite.frame = 2;
    sprite.renderFrame();
    EXPECT_EQ(shownColour(), frameColour(2));
    // Left over pixels of an earlier frame do not survive a render.
    putpixel(sprite.frameBitmap, 0, 0, makecol(1, 2, 3));
    sprite.renderFrame();
    EXPECT_EQ(getpixel(sprite.frameBitmap, 0, 0), mask());
}

TEST_F(SpriteTest, AnimateStepsOnlyWhenMoreThanTheDelayHasPassed)
{
    sprite.load(folder.file("strip.bmp").c_str(), kFrame, kFrame, kFrames);
    sprite.frameDelay = 3;

    tickCounter = 3;
    sprite.animate();
    EXPECT_EQ(sprite.frame, 0) << "a difference equal to the delay is not enough";

    tickCounter = 4;
    sprite.animate();
    EXPECT_EQ(sprite.frame, 1);
    EXPECT_EQ(sprite.lastFrameTick, 4);
    EXPECT_EQ(shownColour(), frameColour(1));

    tickCounter = 7;
    sprite.animate();
    EXPECT_EQ(sprite.frame, 1);
    tickCounter = 8;
    sprite.animate();
    EXPECT_EQ(sprite.frame, 2);

    tickCounter = 12;
    sprite.animate();
    EXPECT_EQ(sprite.frame, 0) << "the last frame wraps to the first";
    EXPECT_EQ(shownColour(), frameColour(0));
}

TEST_F(SpriteTest, ASingleFrameStripStaysOnFrameZeroButIsRebuilt)
{
    sprite.load(folder.file("strip.bmp").c_str(), kFrame, kFrame, 1);
    sprite.frameDelay = 0;
    putpixel(sprite.frameBitmap, kFrame - 1, kFrame - 1, makecol(1, 2, 3));
    tickCounter = 1;
    sprite.animate();
    EXPECT_EQ(sprite.frame, 0);
    EXPECT_EQ(shownColour(), frameColour(0));
}

TEST_F(SpriteTest, ZeroDelayStepsWheneverTheTickDiffers)
{
    sprite.load(folder.file("strip.bmp").c_str(), kFrame, kFrame, kFrames);
    tickCounter = 1;
    sprite.animate();
    sprite.animate();  // same tick: no step
    EXPECT_EQ(sprite.frame, 1);
    tickCounter = 2;
    sprite.animate();
    EXPECT_EQ(sprite.frame, 2);
}

TEST_F(SpriteTest, AClockResetBelowTheLastChangeStepsAtOnce)
{
    sprite.load(folder.file("strip.bmp").c_str(), kFrame, kFrame, kFrames);
    sprite.frameDelay = 20;
    sprite.lastFrameTick = 500;
    tickCounter = 0;
    sprite.animate();
    EXPECT_EQ(sprite.frame, 1);
    EXPECT_EQ(sprite.lastFrameTick, 0);
}

TEST_F(SpriteTest, ReloadingGivesBackTheReplacedBitmaps)
{
    const std::string strip = folder.file("strip.bmp");
    sprite.load(strip.c_str(), kFrame, kFrame, kFrames);
    const std::size_t before = testworld::heapBytesInUse();
    for (int i = 0; i < 200; ++i) {
        sprite.load(strip.c_str(), kFrame, kFrame, kFrames);
    }
    // Each load makes a strip and a frame of about 400 bytes together; 200
    // kept loads would hold 80 KB.
    EXPECT_LT(testworld::heapBytesInUse(), before + 8 * 1024);
    EXPECT_EQ(shownColour(), frameColour(0));
}

TEST_F(SpriteTest, RenderingWithoutBitmapsDoesNothing)
{
    // An orb that has finished its flight has lost its frame bitmap.
    sprite.frame = 1;
    sprite.renderFrame();
    EXPECT_EQ(sprite.frameBitmap, nullptr);
}

using SpriteDeathTest = SpriteTest;

TEST_F(SpriteDeathTest, AMissingStripEndsTheGameWithStatusZero)
{
    // Without a display the library prints its messages on stdout; send them
    // where the death test can read them.
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            sprite.load(folder.file("absent.bmp").c_str(), kFrame, kFrame, kFrames);
        },
        ::testing::ExitedWithCode(0), "Cannot load picture file:  .*/absent\\.bmp");
}

}  // namespace
