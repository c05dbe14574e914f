// The chunk decoders on bytes laid out by hand and by the builder (header,
// block records, animations, every layer encoding, in both byte orders),
// then the tile graphics realised at every screen depth.
#include "tests/support/fmp_checks.h"

#include <allegro.h>

namespace {

using fmp::Parts;
using Decoders = LoaderTest;
using Ints = std::vector<int64_t>;

TEST_F(Decoders, HeaderFieldsInBothByteOrdersAndOf28Bytes)
{
    // Version 1 (0), encoding 1; map 3 x 2; blocks 2 x 1 at 16 (24) bits;
    // records of 32 bytes, 2 records, 2 graphics; steps 5 x 6; staggers -2
    // and 2; two bytes not read. Cut to 28 bytes, the block size is the step
    // and nothing of the map loaded before remains.
    const std::string big("\x01\0\0\x01\0\x03\0\x02\0\0\0\0\0\x02\0\x01\0\x10\0\x20\0\x02\0\x02\0\0\0\0\0\x05\0\x06"
                          "\xFF\xFE\0\x02\0\0", 38);
    const std::string headers[] = {
        big, std::string("\0\0\x01\x01\x03\0\x02\0\0\0\0\0\x02\0\x01\0\x18\0\x20\0\x02\0\x02\0\0\0\0\0\x05\0\x06\0"
                         "\xFE\xFF\x02\0", 36), big.substr(0, 28)};
    for (int i : {0, 1, 2}) {
        const int little = i == 1, depth = 16 + 8 * little;
        Parts p;
        p.header.littleEndian = little;
        p.mphdChunk = fmp::chunk("MPHD", headers[i]);
        p.graphics = fmp::patternGraphics(2, 2, 1, depth);
        ASSERT_EQ(p.load(), 0) << i << " " << tileMap.loadError;
        const TileMap& m = tileMap;
        EXPECT_EQ((Ints{m.littleEndian, m.encodingType, m.mapWidth, m.mapHeight, m.blockWidth, m.blockHeight,
                        m.graphicsDepth, m.blockDepth, m.blockRecordSize, m.blockRecordCount, m.graphicCount,
                        m.blockStepX, m.blockStepY, m.staggerX, m.staggerY}),
                  (Ints{little, 1, 3, 2, 2, 1, depth, 32, 32, 2, 2, i == 2 ? 2 : 5, i == 2 ? 1 : 6, i == 2 ? 0 : -2,
                        i == 2 ? 0 : 2}))
            << i;
    }
}

TEST_F(Decoders, BlockRecordFieldsInBothByteOrdersAndRecordSizes)
{
    // back 3, fore1 1, fore2 0, fore3 2, users 0x11223344, 0xFFFFFFFE,
    // 0xABCD, 0x0304, 0x80, 7, 0xFF, flags 0xA5; then a record of zeros. The
    // little-endian records are 40 bytes long, padded with 0xEE.
    const std::string records[] = {
        std::string("\0\0\0\x03\0\0\0\x01\0\0\0\0\0\0\0\x02\x11\x22\x33\x44\xFF\xFF\xFF\xFE\xAB\xCD\x03\x04\x80\x07"
                    "\xFF\xA5", 32) + std::string(32, 0),
        std::string("\x03\0\0\0\x01\0\0\0\0\0\0\0\x02\0\0\0\x44\x33\x22\x11\xFE\xFF\xFF\xFF\xCD\xAB\x04\x03\x80\x07"
                    "\xFF\xA5", 32) + std::string(8, '\xEE') + std::string(32, 0) + std::string(8, '\xEE')};
    for (int little : {0, 1}) {
        Parts p;
        p.header.littleEndian = little;
        p.header.blockRecordSize = 32 + 8 * little;
        p.header.graphicCount = 4;
        p.graphics = fmp::patternGraphics(4, 2, 2, 32);
        p.bkdtChunk = fmp::chunk("BKDT", records[little]);
        p.withAnims = false;
        p.cells = {0, 1, 0, 1, 1, 1};
        ASSERT_EQ(p.load(), 0) << little << " " << tileMap.loadError;
        const BlockRecord& b = tileMap.blockRecords[0];
        EXPECT_EQ((Ints{b.backGraphic.index, b.foreGraphic1.index, b.foreGraphic2.index, b.foreGraphic3.index,
                        b.userField1, b.userField2, b.userField3, b.userField4, b.userField5, b.userField6,
                        b.userField7, b.flags, tileMap.blockRecords[1].userField1}),
                  (Ints{3, 1, 0, 2, 0x11223344, 0xFFFFFFFE, 0xABCD, 0x0304, 0x80, 7, 0xFF, 0xA5, 0}));
    }
}

TEST_F(Decoders, AnimationKindsAreFoldedAndStartOnTheirFrame)
{
    // Backward kinds (2, and 6 and 7 folded to 6) start on the last frame of
    // their span, the others (8 folded to 5, 9 to 3) on the first.
    const struct {
        int type, first, end, foldedType, current;
    } rows[] = {{2, 4, 8, 2, 7}, {1, 4, 8, 1, 4}, {2, 1, 1, 2, 1}, {8, 1, 4, 5, 1}, {7, 1, 4, 6, 3},
                {9, 1, 4, 3, 1}, {6, 1, 4, 6, 3}, {0, 1, 4, 0, 1}};
    for (bool little : {false, true}) {
        Parts p;
        p.header.littleEndian = little;
        p.cells = {0, 0, -8, -1, 0, 0};
        p.frames = {0, 1, 1, 0, 1, 0, 0, 1};
        p.anims.clear();
        for (const auto& r : rows) {
            p.anims.push_back(fmp::Anim{r.type, 1, 2, 3, 0, r.first, r.end});
        }
        ASSERT_EQ(p.load(), 0) << little << " " << tileMap.loadError;
        ASSERT_EQ(tileMap.animRecordsEnd - tileMap.animRecords, 9);
        EXPECT_EQ(Ints(tileMap.animFrames, tileMap.animFrames + 8), (Ints{0, 1, 1, 0, 1, 0, 0, 1}));
        for (std::size_t i = 0; i < std::size(rows); ++i) {
            const AnimRecord& a = tileMap.animRecords[i + 1];
            EXPECT_EQ((Ints{a.type, a.delay, a.counter, a.userByte, a.currentFrame, a.firstFrame, a.endFrame}),
                      (Ints{rows[i].foldedType, 1, 2, 3, rows[i].current, rows[i].first, rows[i].end}))
                << "row " << i << (little ? " little-endian" : "");
        }
    }
    Parts endOnly;
    endOnly.cells = {0, 0, 0, 1, 1, 1};
    endOnly.andtChunk = fmp::andt({}, {});
    ASSERT_EQ(endOnly.load(), 0) << tileMap.loadError;
    EXPECT_EQ((Ints{tileMap.animFrameCount, tileMap.animRecordsEnd - tileMap.animRecords, tileMap.animRecords[0].type}),
              (Ints{0, 1, -1}));
}

TEST_F(Decoders, ByteOffsetsBecomeNumbersAndPositionsWithEncodingZero)
{
    // 32 x 32 blocks at 16 bits: a graphic is 2048 bytes, a record 32. The
    // ANDT data is 48 bytes: four frames, the end record and one record; a
    // position is (value + 48) / 4, so -40 is 2 and -36 is 3. The end
    // record is never reset: it keeps its converted current value.
    Parts p;
    p.header = fmp::Header{1, 0, 3, 2, 32, 32, 16, 32, 4, 4};
    p.graphics = fmp::patternGraphics(4, 32, 32, 16);
    p.blocks = {fmp::Block{6144, 2048}, {}, {}, {}};
    p.andtChunk = fmp::chunk("ANDT", fmp::fields(false, {{0, 4}, {32, 4}, {64, 4}, {96, 4}, {0xFF000000, 4},
                                                         {-40, 4}, {-48, 4}, {-32, 4}, {0x01040506, 4}, {-48, 4},
                                                         {-40, 4}, {-36, 4}}));
    p.cells = {0, 32, -16, 64, 96, 0};
    ASSERT_EQ(p.load(), 0) << tileMap.loadError;
    const BlockRecord& b = tileMap.blockRecords[0];
    EXPECT_EQ((Ints{b.backGraphic.index, b.foreGraphic1.index}), (Ints{3, 1}));
    EXPECT_EQ((std::vector<BITMAP*>{b.backGraphic.bitmap, b.foreGraphic1.bitmap, b.foreGraphic2.bitmap,
                                    tileMap.tileBitmaps[4]}),
              (std::vector<BITMAP*>{tileMap.tileBitmaps[3], tileMap.tileBitmaps[1], nullptr, nullptr}))
        << "records point at their bitmaps; a foreground 0 is none; the list ends in null";
    EXPECT_EQ(Ints(tileMap.animFrames, tileMap.animFrames + 4), (Ints{0, 1, 2, 3}));
    const AnimRecord* a = tileMap.animRecords;
    EXPECT_EQ((Ints{a[0].currentFrame, a[0].firstFrame, a[0].endFrame, a[1].currentFrame, a[1].firstFrame,
                    a[1].endFrame, a[1].delay, a[1].counter, a[1].userByte}),
              (Ints{2, 0, 4, 2, 2, 3, 4, 5, 6}));
    EXPECT_EQ(fmp::cells(), (std::vector<int>{0, 1, -1, 2, 3, 0}));
}

TEST_F(Decoders, EveryLayerEncodingInBothByteOrders)
{
    const struct {
        const char* name;
        int encoding, width, height;
        std::vector<int> data, cells;
    } rows[] = {
        {"plain", 1, 3, 2, {0, 1, 2, 3, -1, -2}, {0, 1, 2, 3, -1, -2}},
        {"byte offsets", 0, 4, 1, {64, -16, -32, 0}, {2, -1, -2, 0}},
        {"literal then fill", 2, 5, 1, {3, 4, 5, 6, -2, 7}, {4, 5, 6, 7, 7}},
        {"count 0 takes two bytes", 2, 2, 1, {0, 1, 3, 0, 0, 1, 4}, {3, 4}},
        {"each row restarts its count", 2, 2, 3, {-2, 1, 1, 2, 1, 3, -2, 5}, {1, 1, 2, 3, 5, 5}},
        {"a fill is a value", 2, 3, 1, {-3, -1}, {-1, -1, -1}},
        {"bytes after a full layer", 2, 2, 1, {-2, 3, 99, 99, 99}, {3, 3}},
        {"back-copy of one cell", 3, 4, 1, {1, 6, -3, -1}, {6, 6, 6, 6}},
        {"back-copy of a pattern and of a row", 3, 6, 2, {2, 1, 2, -4, -2, -6, -6}, {1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2}},
    };
    for (bool little : {false, true}) {
        for (const auto& r : rows) {
            Parts p;
            p.header = fmp::Header{1, r.encoding, r.width, r.height, 2, 2, 32, 32, 8, 1};
            p.header.littleEndian = little;
            p.blocks.assign(8, fmp::Block{});
            p.graphics = fmp::patternGraphics(1, 2, 2, 32);
            // One frame and two animations (cells -1 and -2); with encoding 0
            // frames are record offsets and positions byte offsets counted
            // back from the end of the 52 data bytes.
            const int first = r.encoding == 0 ? -52 : 0;
            p.frames = {r.encoding == 0 ? 32 : 1};
            p.anims.assign(2, fmp::Anim{1, 0, 0, 0, 0, first, first + (r.encoding == 0 ? 4 : 1)});
            p.body = fmp::shorts(r.data, little);
            ASSERT_EQ(p.load(), 0) << r.name << " " << tileMap.loadError;
            EXPECT_EQ(fmp::cells(), r.cells) << r.name << (little ? " little-endian" : "");
        }
    }
}

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
    p.header = fmp::Header{1, 1, 3, 2, 4, 1, depth, 32, 2, 1};
    p.blocks = {fmp::Block{}, fmp::Block{}};
    p.palette = std::string("\x00\x00\x00\xFF\xFF\xFF\x00\x00\x00\x0C\x22\x38", 12);
    p.graphics = pixels;
    return p;
}

TEST_F(Decoders, EverySourceDepthOntoEveryScreenDepth)
{
    for (const Source& s : kSources) {
        for (int target : {8, 15, 16, 24, 32}) {
            SCOPED_TRACE("from " + std::to_string(s.depth) + " bits to " + std::to_string(target));
            startHeadless(target);
            ASSERT_EQ(oneGraphic(s.depth, s.pixels).load(), 0) << tileMap.loadError;
            BITMAP* tile = tileMap.tileBitmaps[0];
            EXPECT_EQ((std::vector<int>{tileMap.blockDepth, bitmap_color_depth(tile), tile->w, tile->h, tile->clip}),
                      (std::vector<int>{target, target, 4, 1, 0}));
            std::vector<int> got, want{bitmap_mask_color(tile), makecol_depth(target, 255, 255, 255),
                                       makecol_depth(target, 0, 0, 0), makecol_depth(target, s.mid[0], s.mid[1], s.mid[2])};
            for (int x = 0; x < 4; ++x) {
                got.push_back(getpixel(tile, x, 0));
            }
            if (target == 8 && s.depth == 8) {
                want = {0, 1, 2, 3};  // an 8-bit map keeps its indices
            } else if (target == 8) {
                // The screen's palette decides white and black.
                want[1] = got[1];
                want[2] = got[2];
            }
            EXPECT_EQ(got, want);
        }
    }
}

TEST_F(Decoders, EightBitGraphicsWinOnAnEightBitScreenOnlyInEitherOrder)
{
    // Graphic 1 is all index 6 in AGFX; in BGFX its pixel (0, 1), after a
    // graphic and a row, is bytes 9 to 11 of the pattern.
    const std::string alt = fmp::chunk("AGFX", "\x05\x05\x05\x05\x06\x06\x06\x06");
    const std::string plain = fmp::chunk("BGFX", fmp::patternGraphics(2, 2, 2, 32));
    for (int depth : {8, 32}) {
        startHeadless(depth);
        for (const std::string& graphics : {alt + plain, plain + alt}) {
            Parts p;
            p.withGraphics = false;
            p.after = graphics;
            p.palette.clear();
            ASSERT_EQ(p.load(), 0) << depth << " " << tileMap.loadError;
            EXPECT_EQ(tileMap.graphicsDepth, depth);
            EXPECT_EQ(getpixel(tileMap.tileBitmaps[1], 0, 1), depth == 8 ? 6 : makecol32(137, 148, 159)) << graphics;
        }
    }
}

}  // namespace
