// Tile graphics at the screen's depth: every map depth onto every screen
// depth, magenta and palette index 0 becoming the mask colour, AGFX against
// BGFX by screen depth, and block records pointing at the bitmaps.
#include "tests/support/fmp_bytes.h"
#include "tests/support/fmp_checks.h"
#include "tests/support/headless.h"
#include "tilemap/tilemap.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using fmp::chunk;
using fmp::Colour;
using fmp::form;

// One 4 x 1 graphic: magenta, white, black, then a colour whose expected
// value is worked out from the pixel layout.
struct Source {
    int depth;
    std::string pixels;
    Colour mid;
};

std::vector<Source> sources()
{
    return {
        // Palette indices 0 (entry 0 black, yet the mask), 1 white, 2 black,
        // 3 (12, 34, 56).
        {8, std::string("\x00\x01\x02\x03", 4), {12, 34, 56}},
        // 0RRRRRGG GGGBBBBB: 0x4101 is red 16, green 8, blue 1, each widened
        // as v << 3 | v >> 2.
        {15, std::string("\x7C\x1F\x7F\xFF\x00\x00\x41\x01", 8), {132, 66, 8}},
        // RRRRRGGG GGGBBBBB: 0x8503 is red 16, green 40, blue 3; green is
        // widened as v << 2 | v >> 4.
        {16, std::string("\xF8\x1F\xFF\xFF\x00\x00\x85\x03", 8), {132, 162, 24}},
        {24, std::string("\xFF\x00\xFF\xFF\xFF\xFF\x00\x00\x00\x0C\x22\x38", 12), {12, 34, 56}},
        // The leading byte of a 32-bit pixel carries nothing.
        {32, std::string("\xAB\xFF\x00\xFF\x00\xFF\xFF\xFF\xFF\x00\x00\x00\x12\x0C\x22\x38", 16), {12, 34, 56}},
    };
}

std::string palette()
{
    return std::string("\x00\x00\x00\xFF\xFF\xFF\x00\x00\x00\x0C\x22\x38", 12);
}

std::string mapWithGraphics(int depth, const std::string& graphics, const std::string& extra = "")
{
    fmp::Header h;
    h.blockWidth = 4;
    h.blockHeight = 1;
    h.blockDepth = depth;
    h.mapWidth = 1;
    h.mapHeight = 1;
    return form(fmp::mphd(h) + chunk("CMAP", palette()) + fmp::bkdt({fmp::Block{}}) + extra +
                chunk("BGFX", graphics) + fmp::layer(0, {0}));
}

class Realise : public ::testing::TestWithParam<int> {
protected:
    void TearDown() override { freeMap(); }
};

TEST_P(Realise, EverySourceDepthOntoThisScreenDepth)
{
    const int target = GetParam();
    startHeadless(target);
    for (const Source& s : sources()) {
        ASSERT_EQ(fmp::load(mapWithGraphics(s.depth, s.pixels)), 0) << s.depth << " " << tileMap.loadError;
        EXPECT_EQ(tileMap.blockDepth, target);
        BITMAP* tile = tileMap.tileBitmaps[0];
        ASSERT_NE(tile, nullptr);
        EXPECT_EQ(bitmap_color_depth(tile), target);
        EXPECT_EQ(tile->w, 4);
        EXPECT_EQ(tile->h, 1);
        EXPECT_EQ(tile->clip, 0) << "clipping is off";
        if (target == 8) {
            if (s.depth == 8) {
                for (int x = 0; x < 4; ++x) {
                    EXPECT_EQ(getpixel(tile, x, 0), x) << "an 8-bit map keeps its indices";
                }
            } else {
                EXPECT_EQ(getpixel(tile, 0, 0), 0) << "magenta becomes index 0 from depth " << s.depth;
                EXPECT_EQ(getpixel(tile, 3, 0), makecol8(s.mid.r, s.mid.g, s.mid.b)) << s.depth;
            }
            continue;
        }
        EXPECT_TRUE(fmp::isMask(0, 0, 0)) << "from depth " << s.depth;
        EXPECT_EQ(getpixel(tile, 1, 0), makecol_depth(target, 255, 255, 255)) << s.depth;
        EXPECT_EQ(getpixel(tile, 2, 0), makecol_depth(target, 0, 0, 0)) << s.depth;
        EXPECT_EQ(getpixel(tile, 3, 0), makecol_depth(target, s.mid.r, s.mid.g, s.mid.b)) << s.depth;
        if (target >= 24) {
            EXPECT_EQ(fmp::tileColour(0, 3, 0), s.mid) << s.depth;
            EXPECT_EQ(fmp::tileColour(0, 1, 0), (Colour{255, 255, 255})) << s.depth;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(ScreenDepths, Realise, ::testing::Values(8, 15, 16, 24, 32));

class Tiles : public ::testing::Test {
protected:
    void SetUp() override { startHeadless(32); }
    void TearDown() override { freeMap(); }
};

TEST_F(Tiles, PaletteIndexZeroIsTheMaskWhateverEntryZeroHolds)
{
    // Entry 0 is black and entry 2 is black too: only index 0 is the mask.
    ASSERT_EQ(fmp::load(mapWithGraphics(8, std::string("\x00\x02\x01\x00", 4))), 0);
    EXPECT_TRUE(fmp::isMask(0, 0, 0));
    EXPECT_TRUE(fmp::isMask(0, 3, 0));
    EXPECT_EQ(fmp::tileColour(0, 1, 0), (Colour{0, 0, 0}));
    EXPECT_FALSE(fmp::isMask(0, 1, 0));
    EXPECT_EQ(fmp::tileColour(0, 2, 0), (Colour{255, 255, 255}));
}

TEST_F(Tiles, NearMagentaIsNotTheMask)
{
    const std::string pixels("\xFE\x00\xFF\xFF\x01\xFF\xFF\x00\xFE\xFF\x00\xFF", 12);
    ASSERT_EQ(fmp::load(mapWithGraphics(24, pixels)), 0);
    EXPECT_FALSE(fmp::isMask(0, 0, 0));
    EXPECT_FALSE(fmp::isMask(0, 1, 0));
    EXPECT_FALSE(fmp::isMask(0, 2, 0));
    EXPECT_TRUE(fmp::isMask(0, 3, 0));
}

TEST_F(Tiles, EightBitMapOnAnEightBitScreenNeedsNoPalette)
{
    startHeadless(8);
    fmp::Header h;
    h.blockWidth = 2;
    h.blockHeight = 1;
    h.blockDepth = 8;
    h.mapWidth = 1;
    h.mapHeight = 1;
    ASSERT_EQ(fmp::load(form(fmp::mphd(h) + fmp::bkdt({fmp::Block{}}) + chunk("BGFX", "\x07\xC8") +
                             fmp::layer(0, {0}))),
              0)
        << tileMap.loadError;
    EXPECT_EQ(getpixel(tileMap.tileBitmaps[0], 0, 0), 7);
    EXPECT_EQ(getpixel(tileMap.tileBitmaps[0], 1, 0), 200);
}

std::string altAndPlainGraphics(bool altFirst)
{
    fmp::Header h;
    h.blockWidth = 1;
    h.blockHeight = 1;
    h.mapWidth = 1;
    h.mapHeight = 1;
    const std::string alt = chunk("AGFX", "\x05");
    const std::string plain = chunk("BGFX", fmp::pixel32(10, 20, 30));
    return form(fmp::mphd(h) + fmp::bkdt({fmp::Block{}}) + (altFirst ? alt + plain : plain + alt) +
                fmp::layer(0, {0}));
}

TEST_F(Tiles, EightBitGraphicsWinOnAnEightBitScreenInEitherOrder)
{
    startHeadless(8);
    for (bool altFirst : {true, false}) {
        ASSERT_EQ(fmp::load(altAndPlainGraphics(altFirst)), 0) << tileMap.loadError;
        EXPECT_EQ(tileMap.graphicsDepth, 8);
        EXPECT_EQ(getpixel(tileMap.tileBitmaps[0], 0, 0), 5) << altFirst;
    }
}

TEST_F(Tiles, EightBitGraphicsAreIgnoredOnADeeperScreen)
{
    for (bool altFirst : {true, false}) {
        ASSERT_EQ(fmp::load(altAndPlainGraphics(altFirst)), 0) << tileMap.loadError;
        EXPECT_EQ(tileMap.graphicsDepth, 32);
        EXPECT_EQ(fmp::tileColour(0, 0, 0), (Colour{10, 20, 30})) << altFirst;
    }
}

TEST_F(Tiles, BlockRecordsPointAtTheirBitmaps)
{
    fmp::Header h;
    h.mapWidth = 1;
    h.mapHeight = 1;
    h.graphicCount = 3;
    h.blockRecordCount = 2;
    fmp::Block first;  // back 0 is graphic 0; fore1 0 is no foreground
    fmp::Block second;
    second.back = 2;
    second.fore1 = 1;
    second.fore3 = 2;
    ASSERT_EQ(fmp::load(form(fmp::mphd(h) + fmp::bkdt({first, second}) +
                             chunk("BGFX", fmp::patternGraphics(3, 2, 2, 32)) + fmp::layer(0, {1}))),
              0);
    ASSERT_NE(tileMap.tileBitmaps[0], nullptr);
    EXPECT_EQ(tileMap.tileBitmaps[3], nullptr) << "null after the last graphic";
    const BlockRecord* b = tileMap.blockRecords;
    EXPECT_EQ(b[0].backGraphic.bitmap, tileMap.tileBitmaps[0]);
    EXPECT_EQ(b[0].foreGraphic1.bitmap, nullptr);
    EXPECT_EQ(b[0].foreGraphic2.bitmap, nullptr);
    EXPECT_EQ(b[1].backGraphic.bitmap, tileMap.tileBitmaps[2]);
    EXPECT_EQ(b[1].foreGraphic1.bitmap, tileMap.tileBitmaps[1]);
    EXPECT_EQ(b[1].foreGraphic2.bitmap, nullptr);
    EXPECT_EQ(b[1].foreGraphic3.bitmap, tileMap.tileBitmaps[2]);
}

TEST_F(Tiles, GraphicsFollowOneAnotherInTheStore)
{
    // Two 2 x 2 graphics; graphic 1 starts 16 bytes in.
    const std::string graphics = fmp::pixel32(1, 1, 1) + fmp::pixel32(2, 2, 2) + fmp::pixel32(3, 3, 3) +
                                 fmp::pixel32(4, 4, 4) + fmp::pixel32(5, 5, 5) + fmp::pixel32(6, 6, 6) +
                                 fmp::pixel32(7, 7, 7) + fmp::pixel32(8, 8, 8);
    fmp::Header h;
    h.mapWidth = 1;
    h.mapHeight = 1;
    h.graphicCount = 2;
    ASSERT_EQ(fmp::load(form(fmp::mphd(h) + fmp::bkdt({fmp::Block{}}) + chunk("BGFX", graphics) +
                             fmp::layer(0, {0}))),
              0);
    EXPECT_EQ(fmp::tileColour(0, 1, 0), (Colour{2, 2, 2}));
    EXPECT_EQ(fmp::tileColour(0, 0, 1), (Colour{3, 3, 3}));
    EXPECT_EQ(fmp::tileColour(1, 0, 0), (Colour{5, 5, 5}));
    EXPECT_EQ(fmp::tileColour(1, 1, 1), (Colour{8, 8, 8}));
}

TEST_F(Tiles, NoScreenRefusesTheMapAndEmptiesIt)
{
    BITMAP* saved = screen;
    screen = nullptr;
    const int result = fmp::load(mapWithGraphics(24, sources()[3].pixels));
    const int error = tileMap.loadError;
    screen = saved;
    EXPECT_EQ(result, -1);
    EXPECT_EQ(error, kLoadNoScreen);
    EXPECT_TRUE(fmp::mapEmpty());
}

}  // namespace
