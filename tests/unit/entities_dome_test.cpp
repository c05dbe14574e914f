// The dome: placing it, its slow animation and its health bar.
#include "entities/dome.h"
#include "entities/sprite.h"
#include "shell/colors.h"
#include "shell/counters.h"
#include "tests/support/headless.h"
#include "tests/unit/level_test_world.h"

#include <allegro.h>
#include <gtest/gtest.h>

namespace {

constexpr int kBarColumns = 128;

class DomeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        startHeadless();
        testworld::writeGamePictures(folder.path());
        tickCounter = 0;
        canvas = create_bitmap(640, 480);
        clear_to_color(canvas, makecol(1, 1, 1));
    }
    void TearDown() override { destroy_bitmap(canvas); }

    // The last green column of the bar's middle row, counted from the
    // dome's left edge on the canvas; -1 when no pixel is green.
    int lastGreenColumn(int left, int middleRow) const
    {
        int last = -1;
        for (int column = 0; column <= kBarColumns; ++column) {
            if (getpixel(canvas, left + column, middleRow) == colorGreen) {
                last = column;
            }
        }
        return last;
    }

    TempDir folder;
    ScopedChdir inFolder{folder.path()};
    Dome dome;
    BITMAP* canvas = nullptr;
};

TEST_F(DomeTest, AConstructedDomeDoesNotStand)
{
    ASSERT_NE(dome.sprite, nullptr);
    EXPECT_FALSE(dome.sprite->active);
    EXPECT_EQ(dome.health, 0);
}

TEST_F(DomeTest, InitPlacesItStandingWithFullHealth)
{
    dome.init(288, 160);
    EXPECT_TRUE(dome.sprite->active);
    EXPECT_EQ(dome.x, 288);
    EXPECT_EQ(dome.y, 160);
    EXPECT_EQ(dome.health, 50);
    EXPECT_EQ(dome.maxHealth, 50);
    EXPECT_EQ(dome.sprite->frameWidth, 128);
    EXPECT_EQ(dome.sprite->frameHeight, 128);
    EXPECT_EQ(dome.sprite->frameCount, 4);
    EXPECT_EQ(dome.sprite->frameDelay, 20);
}

TEST_F(DomeTest, EachFrameShowsForAtLeastTwentyOneTicks)
{
    dome.init(0, 0);
    tickCounter = 20;
    dome.animate();
    EXPECT_EQ(dome.sprite->frame, 0);
    tickCounter = 21;
    dome.animate();
    EXPECT_EQ(dome.sprite->frame, 1);
    tickCounter = 41;
    dome.animate();
    EXPECT_EQ(dome.sprite->frame, 1);
    tickCounter = 42;
    dome.animate();
    EXPECT_EQ(dome.sprite->frame, 2);
}

TEST_F(DomeTest, TheBarCoversRowsTwentyToTenAboveTheDomeOutlinedInWhite)
{
    dome.init(300, 200);
    dome.drawHealth(canvas, 100, 50);  // the dome's top-left lands at (200, 150)
    const int left = 200;
    const int top = 150;
    for (int row = top - 20; row <= top - 10; ++row) {
        EXPECT_EQ(getpixel(canvas, left, row), colorWhite) << "left edge, row " << row;
        EXPECT_EQ(getpixel(canvas, left + kBarColumns, row), colorWhite) << "right edge, row " << row;
    }
    for (int column = 0; column <= kBarColumns; ++column) {
        EXPECT_EQ(getpixel(canvas, left + column, top - 20), colorWhite);
        EXPECT_EQ(getpixel(canvas, left + column, top - 10), colorWhite);
    }
    // Nothing outside the bar: not the rows above and below, not beside it.
    EXPECT_EQ(getpixel(canvas, left + 5, top - 21), makecol(1, 1, 1));
    EXPECT_EQ(getpixel(canvas, left + 5, top - 9), makecol(1, 1, 1));
    EXPECT_EQ(getpixel(canvas, left - 1, top - 15), makecol(1, 1, 1));
    EXPECT_EQ(getpixel(canvas, left + kBarColumns + 1, top - 15), makecol(1, 1, 1));
}

TEST_F(DomeTest, TheGreenPartShrinksByTwoAndAHalfPixelsPerPointLost)
{
    dome.init(100, 100);
    struct Case {
        int health;
        int lastGreen;  // 128 * health / 50, truncated; the outline covers column 128
    };
    const Case cases[] = {{50, 127}, {49, 125}, {25, 64}, {10, 25}, {2, 5}, {1, 2}};
    for (const Case& c : cases) {
        clear_to_color(canvas, makecol(1, 1, 1));
        dome.health = c.health;
        dome.drawHealth(canvas, 0, 0);
        EXPECT_EQ(lastGreenColumn(100, 85), c.lastGreen) << "health " << c.health;
        if (c.lastGreen < kBarColumns - 1) {
            EXPECT_EQ(getpixel(canvas, 100 + c.lastGreen + 1, 85), colorBlack)
                << "health " << c.health << ": black behind the lost part";
        }
    }
}

TEST_F(DomeTest, NoBarWithoutHealth)
{
    dome.init(100, 100);
    dome.health = 0;
    dome.drawHealth(canvas, 0, 0);
    EXPECT_EQ(getpixel(canvas, 100, 80), makecol(1, 1, 1));
    EXPECT_EQ(getpixel(canvas, 150, 85), makecol(1, 1, 1));
}

TEST_F(DomeTest, TheBarsRightEdgeIsTruncatedTowardZeroLeftOfTheView)
{
    // x - camera = -100 and 128 * 1 / 50 = 2.56: the edge is at -97.44,
    // which truncates to -97, so nothing green is on the canvas, and with
    // 40 points (102.4) the last green column is 2.
    dome.init(0, 100);
    dome.health = 40;
    dome.drawHealth(canvas, 100, 0);
    EXPECT_EQ(getpixel(canvas, 2, 85), colorGreen);
    EXPECT_EQ(getpixel(canvas, 3, 85), colorBlack);
}

}  // namespace
