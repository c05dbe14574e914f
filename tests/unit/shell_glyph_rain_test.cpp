// The menu's rising glyphs: when a slot wakes, the order of its random
// draws, the one-pixel rise, the green drawing and leaving the top edge.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "shell/colors.h"
#include "shell/glyph_rain.h"
#include "tests/support/headless.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

class GlyphRainTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        startHeadless();
        text_mode(colorMagenta);
        overlay = create_bitmap(kWidth, kHeight);
        clear_to_color(overlay, colorMagenta);
        clearGlyphRain(*rain);
    }
    void TearDown() override { destroy_bitmap(overlay); }

    // Every slot busy far below the top, so no slot draws random numbers.
    void fillWithParkedGlyphs()
    {
        for (Glyph& glyph : rain->slots) {
            glyph = Glyph{true, 'x', kWidth - 8, kHeight - 8};
        }
    }

    int greenPixelsIn(int x, int y, int w, int h) const
    {
        int count = 0;
        for (int row = y; row < y + h; ++row) {
            for (int column = x; column < x + w; ++column) {
                count += getpixel(overlay, column, row) == colorGreen;
            }
        }
        return count;
    }

    std::unique_ptr<GlyphRain> rain = std::make_unique<GlyphRain>();
    BITMAP* overlay = nullptr;
};

TEST_F(GlyphRainTest, ClearMarksEverySlotIdle)
{
    fillWithParkedGlyphs();
    clearGlyphRain(*rain);
    for (const Glyph& glyph : rain->slots) {
        EXPECT_FALSE(glyph.active);
    }
}

// Slot by slot in index order: one draw for the odds, and for a slot that
// wakes three more, code then x then y.
TEST_F(GlyphRainTest, IdleSlotsWakeOnTheOddsWithCodeXYDrawnInThatOrder)
{
    for (unsigned seed : {1u, 77u, 20261206u}) {
        clearGlyphRain(*rain);
        std::srand(seed);
        stepGlyphRain(*rain, overlay, kWidth, kHeight);

        std::srand(seed);
        int awake = 0;
        for (const Glyph& glyph : rain->slots) {
            const int odds = std::rand() % 50;
            if (odds <= 25) {
                EXPECT_FALSE(glyph.active);
                continue;
            }
            const int code = std::rand() % 250 + 50;
            const int x = std::rand() % kWidth;
            const int y = std::rand() % kHeight;
            // A slot woken now rises in the same pass; one woken at y 0
            // has already left.
            EXPECT_EQ(glyph.active, y - 1 >= 0);
            EXPECT_EQ(glyph.code, code);
            EXPECT_EQ(glyph.x, x);
            EXPECT_EQ(glyph.y, y - 1);
            ++awake;
        }
        // 24 chances in 50 over 1000 slots: about 480.
        EXPECT_GT(awake, 400);
        EXPECT_LT(awake, 560);
    }
}

TEST_F(GlyphRainTest, ActiveSlotsRiseOnePixelWithoutDrawingRandomNumbers)
{
    fillWithParkedGlyphs();
    rain->slots[3] = Glyph{true, 'A', 100, 200};
    std::srand(5);
    const int expectedNext = std::rand();
    std::srand(5);
    stepGlyphRain(*rain, overlay, kWidth, kHeight);
    EXPECT_EQ(std::rand(), expectedNext);
    EXPECT_EQ(rain->slots[3].y, 199);
    EXPECT_EQ(rain->slots[3].x, 100);
    EXPECT_TRUE(rain->slots[3].active);
    EXPECT_GT(greenPixelsIn(100, 199, 8, 8), 0);
    // Nothing below the glyph's new cell: it was drawn where it is now.
    EXPECT_EQ(greenPixelsIn(100, 207, 8, 1), 0);
}

TEST_F(GlyphRainTest, GlyphAtTopIsDrawnOnceAboveTheEdgeThenGoesIdle)
{
    fillWithParkedGlyphs();
    // 'A' has ink in its lower rows, which stay on the bitmap at y -1.
    rain->slots[0] = Glyph{true, 'A', 40, 0};
    stepGlyphRain(*rain, overlay, kWidth, kHeight);
    EXPECT_FALSE(rain->slots[0].active);
    EXPECT_EQ(rain->slots[0].y, -1);
    EXPECT_GT(greenPixelsIn(40, 0, 8, 7), 0);

    // The next pass only asks whether the idle slot wakes; if it stays idle
    // nothing is drawn for it.
    clear_to_color(overlay, colorMagenta);
    for (unsigned seed = 1;; ++seed) {
        std::srand(seed);
        if (std::rand() % 50 <= 25) {
            std::srand(seed);
            break;
        }
    }
    stepGlyphRain(*rain, overlay, kWidth, kHeight);
    EXPECT_FALSE(rain->slots[0].active);
    EXPECT_EQ(greenPixelsIn(40, 0, 8, 8), 0);
}

TEST_F(GlyphRainTest, GlyphsAreGreenOnTheMaskColour)
{
    fillWithParkedGlyphs();
    rain->slots[10] = Glyph{true, 'M', 300, 301};
    stepGlyphRain(*rain, overlay, kWidth, kHeight);
    int green = 0;
    for (int row = 300; row < 308; ++row) {
        for (int column = 300; column < 308; ++column) {
            const int pixel = getpixel(overlay, column, row);
            EXPECT_TRUE(pixel == colorGreen || pixel == colorMagenta) << std::hex << pixel;
            green += pixel == colorGreen;
        }
    }
    EXPECT_GT(green, 0);
}

TEST_F(GlyphRainTest, WokenGlyphsStayInsideTheAreaAndCodeRange)
{
    std::srand(99);
    for (int pass = 0; pass < 50; ++pass) {
        stepGlyphRain(*rain, overlay, kWidth, kHeight);
        for (const Glyph& glyph : rain->slots) {
            if (glyph.active) {
                EXPECT_GE(glyph.code, 50);
                EXPECT_LE(glyph.code, 299);
                EXPECT_GE(glyph.x, 0);
                EXPECT_LT(glyph.x, kWidth);
                EXPECT_GE(glyph.y, 0);
                EXPECT_LT(glyph.y, kHeight - 1);
            }
        }
    }
}

}  // namespace
