// Tile graphics at the screen's depth: every map depth onto every screen
// depth, magenta and palette index 0 becoming the mask colour, AGFX against
// BGFX by screen depth, and block records pointing at the bitmaps.
#include "tests/support/fmp_checks.h"

#include <allegro.h>

namespace {

using fmp::Parts;

// One 4 x 1 graphic: magenta, white, black, then a colour worked out from
// the pixel layout (mid). The palette's entries 0 and 2 are both black, yet
// only index 0 is the mask.
const struct Source {
    int depth;
    std::string pixels;
    int mid[3];
} kSources[] = {
    {8, std::string("\x00\x01\x02\x03", 4), {12, 34, 56}},
    // 0RRRRRGG GGGBBBBB: 0x4101 is 16, 8, 1, each widened as v << 3 | v >> 2.
    {15, std::string("\x7C\x1F\x7F\xFF\x00\x00\x41\x01", 8), {132, 66, 8}},
    // RRRRRGGG GGGBBBBB: 0x8503 is 16, 40, 3; green widened as v << 2 | v >> 4.
    {16, std::string("\xF8\x1F\xFF\xFF\x00\x00\x85\x03", 8), {132, 162, 24}},
    {24, std::string("\xFF\x00\xFF\xFF\xFF\xFF\x00\x00\x00\x0C\x22\x38", 12), {12, 34, 56}},
    // The leading byte of a 32-bit pixel carries nothing.
    {32, std::string("\xAB\xFF\x00\xFF\x00\xFF\xFF\xFF\xFF\x00\x00\x00\x12\x0C\x22\x38", 16), {12, 34, 56}},
};

Parts oneGraphic(int depth, const std::string& pixels)
{
    Parts p;
    p.header.blockWidth = 4;
    p.header.blockHeight = 1;
    p.header.blockDepth = depth;
    p.header.graphicCount = 1;
    p.blocks = {fmp::Block{}, fmp::Block{}};
    p.palette = std::string("\x00\x00\x00\xFF\xFF\xFF\x00\x00\x00\x0C\x22\x38", 12);
    p.graphics = pixels;
    return p;
}

class Realise : public ::testing::TestWithParam<int> {
protected:
    void TearDown() override { freeMap(); }
};

TEST_P(Realise, EverySourceDepthOntoThisScreenDepth)
{
    const int target = GetParam();
    startHeadless(target);
    for (const Source& s : kSources) {
        SCOPED_TRACE("from depth " + std::to_string(s.depth));
        ASSERT_EQ(oneGraphic(s.depth, s.pixels).load(), 0) << tileMap.loadError;
        EXPECT_EQ(tileMap.blockDepth, target);
        BITMAP* tile = tileMap.tileBitmaps[0];
        ASSERT_NE(tile, nullptr);
        EXPECT_EQ((std::vector<int>{bitmap_color_depth(tile), tile->w, tile->h, tile->clip}),
                  (std::vector<int>{target, 4, 1, 0}));
        const int mid = makecol_depth(target, s.mid[0], s.mid[1], s.mid[2]);
        if (target == 8 && s.depth == 8) {
            EXPECT_EQ((std::vector<int>{getpixel(tile, 0, 0), getpixel(tile, 1, 0), getpixel(tile, 2, 0),
                                        getpixel(tile, 3, 0)}),
                      (std::vector<int>{0, 1, 2, 3}))
                << "an 8-bit map keeps its indices";
            continue;
        }
        EXPECT_EQ(getpixel(tile, 0, 0), bitmap_mask_color(tile));
        EXPECT_EQ(getpixel(tile, 3, 0), mid);
        if (target != 8) {
            EXPECT_EQ(getpixel(tile, 1, 0), makecol_depth(target, 255, 255, 255));
            EXPECT_EQ(getpixel(tile, 2, 0), makecol_depth(target, 0, 0, 0));
            EXPECT_NE(getpixel(tile, 2, 0), bitmap_mask_color(tile));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(ScreenDepths, Realise, ::testing::Values(8, 15, 16, 24, 32));

using Tiles = LoaderTest;

TEST_F(Tiles, OnlyExactMagentaIsTheMask)
{
    ASSERT_EQ(oneGraphic(24, std::string("\xFE\x00\xFF\xFF\x01\xFF\xFF\x00\xFE\xFF\x00\xFF", 12)).load(), 0);
    BITMAP* tile = tileMap.tileBitmaps[0];
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(getpixel(tile, x, 0) == bitmap_mask_color(tile), x == 3) << x;
    }
}

TEST_F(Tiles, EightBitGraphicsWinOnAnEightBitScreenOnlyInEitherOrder)
{
    for (int depth : {8, 32}) {
        startHeadless(depth);
        for (bool altFirst : {true, false}) {
            // Graphic 1 is all index 6 in AGFX; in BGFX its pixel (1, 0) is
            // bytes 5 to 7 of the pattern.
            const std::string alt = fmp::chunk("AGFX", "\x05\x05\x05\x05\x06\x06\x06\x06");
            const std::string plain = fmp::chunk("BGFX", fmp::patternGraphics(2, 2, 2, 32));
            Parts p;
            p.withGraphics = false;
            p.after = altFirst ? alt + plain : plain + alt;
            p.palette.clear();
            ASSERT_EQ(p.load(), 0) << depth << " " << altFirst << " " << tileMap.loadError;
            EXPECT_EQ(tileMap.graphicsDepth, depth);
            const int want = depth == 8 ? 6 : makecol32(93, 104, 115);
            EXPECT_EQ(getpixel(tileMap.tileBitmaps[1], 1, 0), want) << depth << " " << altFirst;
        }
    }
}

TEST_F(Tiles, BlockRecordsPointAtTheirBitmapsInTheStoreOrder)
{
    // Three 2 x 2 graphics whose pixels are numbered 0 to 11.
    Parts p;
    p.header.graphicCount = 3;
    p.graphics.clear();
    for (int i = 0; i < 12; ++i) {
        p.graphics += std::string{'\0', static_cast<char>(i), static_cast<char>(i), static_cast<char>(i)};
    }
    p.blocks[1] = fmp::Block{2, 1, 0, 2};
    ASSERT_EQ(p.load(), 0) << tileMap.loadError;
    BITMAP** tiles = tileMap.tileBitmaps;
    EXPECT_EQ(tiles[3], nullptr) << "null after the last graphic";
    EXPECT_EQ((std::vector<int>{getpixel(tiles[0], 1, 0), getpixel(tiles[0], 0, 1), getpixel(tiles[2], 1, 1)}),
              (std::vector<int>{makecol32(1, 1, 1), makecol32(2, 2, 2), makecol32(11, 11, 11)}));
    const BlockRecord* b = tileMap.blockRecords;
    EXPECT_EQ((std::vector<BITMAP*>{b[0].backGraphic.bitmap, b[0].foreGraphic1.bitmap, b[1].backGraphic.bitmap,
                                    b[1].foreGraphic1.bitmap, b[1].foreGraphic2.bitmap, b[1].foreGraphic3.bitmap}),
              (std::vector<BITMAP*>{tiles[0], nullptr, tiles[2], tiles[1], nullptr, tiles[2]}));
}

}  // namespace
