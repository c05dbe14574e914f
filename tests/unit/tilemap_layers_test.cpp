// Layer chunks: plain cells, byte offsets turned into indices, runs and
// back-copies, extra layers.
#include "tests/support/fmp_bytes.h"
#include "tests/support/fmp_checks.h"
#include "tests/support/headless.h"
#include "tilemap/tilemap.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using fmp::chunk;
using fmp::form;

class Layers : public ::testing::Test {
protected:
    void SetUp() override { startHeadless(32); }
    void TearDown() override { freeMap(); }

    // Loads a map of width x height cells with `records` block records and
    // one animation (so cell -1 exists), whose layer `index` holds `data`.
    static int loadLayer(int encoding, int width, int height, const std::string& data, int records = 8,
                         int index = 0, bool little = false)
    {
        fmp::Header h;
        h.encodingType = encoding;
        h.littleEndian = little;
        h.mapWidth = width;
        h.mapHeight = height;
        h.blockRecordCount = records;
        // One frame entry, the end record and two records. With encoding 0
        // frame entries are byte offsets of records, and positions byte
        // offsets counted back from the end of the chunk's data.
        const int andtLength = 4 + 3 * 16;
        fmp::Anim anim;
        anim.first = encoding == 0 ? -andtLength : 0;
        anim.end = encoding == 0 ? 4 - andtLength : 1;
        const std::vector<int64_t> frames{encoding == 0 ? 32 : 1};
        std::string chunks = fmp::mphd(h) + fmp::bkdt(std::vector<fmp::Block>(records), little) +
                             fmp::andt(frames, {anim, anim}, little) +
                             chunk("BGFX", fmp::patternGraphics(1, 2, 2, 32));
        const std::string id = index == 0 ? "BODY" : "LYR" + std::to_string(index);
        return fmp::load(form(chunks + chunk(id, data)));
    }
    static std::vector<int> cells(int index = 0)
    {
        const int16_t* layer = tileMap.layers[index];
        return std::vector<int>(layer, layer + tileMap.mapWidth * tileMap.mapHeight);
    }
};

TEST_F(Layers, PlainIndicesRowAfterRowInBothByteOrders)
{
    for (bool little : {false, true}) {
        ASSERT_EQ(loadLayer(1, 3, 2, fmp::shorts({0, 1, 2, 3, -1, -2}, little), 8, 0, little), 0) << little;
        EXPECT_EQ(cells(), (std::vector<int>{0, 1, 2, 3, -1, -2}));
    }
}

TEST_F(Layers, ByteOffsetsBecomeIndicesWithEncodingZero)
{
    // 64 / 32 = block 2; -16 / 16 = animation -1; -32 / 16 = -2.
    ASSERT_EQ(loadLayer(0, 4, 1, fmp::shorts({64, -16, -32, 0})), 0) << tileMap.loadError;
    EXPECT_EQ(cells(), (std::vector<int>{2, -1, -2, 0}));
}

TEST_F(Layers, LiteralAndFillRunsWithEncodingTwo)
{
    // Width 5: 3, a, b, c, -2, d gives a, b, c, d, d.
    ASSERT_EQ(loadLayer(2, 5, 1, fmp::shorts({3, 4, 5, 6, -2, 7})), 0) << tileMap.loadError;
    EXPECT_EQ(cells(), (std::vector<int>{4, 5, 6, 7, 7}));
}

TEST_F(Layers, ZeroCountTakesTwoBytesAndWritesNothing)
{
    ASSERT_EQ(loadLayer(2, 2, 1, fmp::shorts({0, 1, 3, 0, 0, 1, 4})), 0) << tileMap.loadError;
    EXPECT_EQ(cells(), (std::vector<int>{3, 4}));
}

TEST_F(Layers, RowsRestartTheColumnCountButNotTheWritePosition)
{
    ASSERT_EQ(loadLayer(2, 2, 3, fmp::shorts({-2, 1, 1, 2, 1, 3, -2, 5})), 0) << tileMap.loadError;
    EXPECT_EQ(cells(), (std::vector<int>{1, 1, 2, 3, 5, 5}));
}

TEST_F(Layers, BackCopyOfOneCellRepeatsIt)
{
    // After a cell x, the run -3 with offset -1 writes x, x, x.
    ASSERT_EQ(loadLayer(3, 4, 1, fmp::shorts({1, 6, -3, -1})), 0) << tileMap.loadError;
    EXPECT_EQ(cells(), (std::vector<int>{6, 6, 6, 6}));
}

TEST_F(Layers, BackCopyRepeatsAPatternAndReachesIntoEarlierRows)
{
    // Row 0: 1, 2 then copy four cells from two back: 1 2 1 2 1 2.
    // Row 1: copy the whole of row 0 (six back), overlapping nothing.
    ASSERT_EQ(loadLayer(3, 6, 2, fmp::shorts({2, 1, 2, -4, -2, -6, -6})), 0) << tileMap.loadError;
    EXPECT_EQ(cells(), (std::vector<int>{1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2}));
}

TEST_F(Layers, FillInEncodingTwoIsAValueNotAnOffset)
{
    ASSERT_EQ(loadLayer(2, 3, 1, fmp::shorts({-3, -1})), 0) << tileMap.loadError;
    EXPECT_EQ(cells(), (std::vector<int>{-1, -1, -1}));
}

TEST_F(Layers, ExtraLayersFillTheirOwnSlotAndLeaveTheCurrentLayerAlone)
{
    ASSERT_EQ(loadLayer(1, 2, 1, fmp::shorts({1, 2}), 8, 7), 0) << tileMap.loadError;
    EXPECT_EQ(cells(7), (std::vector<int>{1, 2}));
    EXPECT_EQ(tileMap.layers[0], nullptr);
    EXPECT_EQ(tileMap.currentLayer, nullptr);
}

TEST_F(Layers, TrailingBytesAfterAFullLayerAreIgnored)
{
    ASSERT_EQ(loadLayer(2, 2, 1, fmp::shorts({-2, 3, 99, 99, 99})), 0) << tileMap.loadError;
    EXPECT_EQ(cells(), (std::vector<int>{3, 3}));
}

}  // namespace
