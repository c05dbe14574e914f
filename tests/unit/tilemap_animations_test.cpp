// Animation chunks: the frame list, the records found back from the end
// record, byte offsets turned into positions, and the frame each kind of
// animation shows for the whole level.
#include "tests/support/fmp_bytes.h"
#include "tests/support/fmp_checks.h"
#include "tests/support/headless.h"
#include "tilemap/tilemap.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using fmp::chunk;
using fmp::form;

constexpr int kRecords = 8;

class Animations : public ::testing::Test {
protected:
    void SetUp() override { startHeadless(32); }
    void TearDown() override { freeMap(); }

    static int loadWith(const std::string& andtChunk, int encoding = 1, bool little = false)
    {
        fmp::Header h;
        h.encodingType = encoding;
        h.littleEndian = little;
        h.mapWidth = 1;
        h.mapHeight = 1;
        h.blockRecordCount = kRecords;
        return fmp::load(form(fmp::mphd(h) + fmp::bkdt(std::vector<fmp::Block>(kRecords), little) + andtChunk +
                              chunk("BGFX", fmp::patternGraphics(1, 2, 2, 32)) + fmp::layer(0, {0}, little)));
    }
    static const AnimRecord& last() { return tileMap.animRecordsEnd[-1]; }
};

TEST_F(Animations, EndRecordOnlyGivesNoFramesAndOneRecord)
{
    ASSERT_EQ(loadWith(fmp::andt({}, {})), 0) << tileMap.loadError;
    EXPECT_EQ(tileMap.animFrameCount, 0);
    ASSERT_NE(tileMap.animRecords, nullptr);
    EXPECT_EQ(tileMap.animRecordsEnd - tileMap.animRecords, 1);
    EXPECT_EQ(tileMap.animRecords[0].type, -1);
}

TEST_F(Animations, BackwardKindStartsOnTheLastFrameAndForwardOnTheFirst)
{
    const std::vector<int64_t> frames{0, 1, 2, 3, 4, 5, 6, 7};
    fmp::Anim anim;
    anim.first = 4;
    anim.end = 8;
    anim.type = 2;
    ASSERT_EQ(loadWith(fmp::andt(frames, {anim})), 0) << tileMap.loadError;
    EXPECT_EQ(last().currentFrame, 7);
    EXPECT_EQ(tileMap.animFrames[last().currentFrame], 7);
    anim.type = 1;
    ASSERT_EQ(loadWith(fmp::andt(frames, {anim})), 0) << tileMap.loadError;
    EXPECT_EQ(last().currentFrame, 4);
}

TEST_F(Animations, KindsAreFoldedAndEachStartsOnItsFrame)
{
    // 8 -> 5 (first frame), 7 -> 6 (last), 9 -> 3 (first), 6 (last), 0 (first).
    const std::vector<int64_t> frames{0, 1, 2, 3};
    std::vector<fmp::Anim> anims;
    for (int type : {8, 7, 9, 6, 0}) {
        fmp::Anim a;
        a.type = type;
        a.first = 1;
        a.end = 4;
        a.current = 0;
        anims.push_back(a);
    }
    ASSERT_EQ(loadWith(fmp::andt(frames, anims)), 0) << tileMap.loadError;
    const AnimRecord* r = tileMap.animRecords + 1;
    EXPECT_EQ(r[0].type, 5);
    EXPECT_EQ(r[0].currentFrame, 1);
    EXPECT_EQ(r[1].type, 6);
    EXPECT_EQ(r[1].currentFrame, 3);
    EXPECT_EQ(r[2].type, 3);
    EXPECT_EQ(r[2].currentFrame, 1);
    EXPECT_EQ(r[3].currentFrame, 3);
    EXPECT_EQ(r[4].currentFrame, 1);
}

TEST_F(Animations, BackwardKindWithAnEmptySpanStaysOnItsFirstFrame)
{
    fmp::Anim a;
    a.type = 2;
    a.first = 1;
    a.end = 1;
    ASSERT_EQ(loadWith(fmp::andt({0, 1}, {a})), 0) << tileMap.loadError;
    EXPECT_EQ(last().currentFrame, 1);
}

TEST_F(Animations, ByteOffsetsBecomePositionsWithEncodingZero)
{
    // N = 48: four frame entries, the end record, one record. Frame entries
    // are record offsets (/32); positions are (value + 48) / 4, so -40 is
    // position 2 and -36 position 3. The end record is never reset, so it
    // shows the converted current value as stored.
    fmp::Bytes b;
    b.u32(0).u32(32).u32(64).u32(96);
    b.u8(0xFF).u8(0).u8(0).u8(0).u32(-40).u32(-48).u32(-32);
    b.u8(1).u8(4).u8(5).u8(6).u32(-48).u32(-40).u32(-36);
    ASSERT_EQ(b.str().size(), 48u);
    ASSERT_EQ(loadWith(chunk("ANDT", b.str()), 0), 0) << tileMap.loadError;
    EXPECT_EQ(std::vector<int32_t>(tileMap.animFrames, tileMap.animFrames + 4), (std::vector<int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(tileMap.animRecords[0].currentFrame, 2);
    EXPECT_EQ(tileMap.animRecords[0].firstFrame, 0);
    EXPECT_EQ(tileMap.animRecords[0].endFrame, 4);
    EXPECT_EQ(last().firstFrame, 2);
    EXPECT_EQ(last().endFrame, 3);
    EXPECT_EQ(last().currentFrame, 2);
    EXPECT_EQ(last().delay, 4);
    EXPECT_EQ(last().counter, 5);
    EXPECT_EQ(last().userByte, 6);
}

TEST_F(Animations, LittleEndianFramesAndPositions)
{
    fmp::Anim a;
    a.type = 2;
    a.first = 0;
    a.end = 3;
    ASSERT_EQ(loadWith(fmp::andt({5, 6, 0x0102}, {a}, true), 1, true), -1) << "0x0102 names no record";
    ASSERT_EQ(loadWith(fmp::andt({5, 6, 7}, {a}, true), 1, true), 0) << tileMap.loadError;
    EXPECT_EQ(tileMap.animFrames[2], 7);
    EXPECT_EQ(last().currentFrame, 2);
}

TEST_F(Animations, CellsCountAnimationsBackFromTheEndOfTheRecords)
{
    fmp::Header h;
    h.mapWidth = 2;
    h.mapHeight = 1;
    h.blockRecordCount = 3;
    fmp::Anim showsTwo;
    showsTwo.first = 1;
    showsTwo.end = 2;
    fmp::Anim showsOne;
    showsOne.first = 0;
    showsOne.end = 1;
    const std::string chunks = fmp::mphd(h) + fmp::bkdt(std::vector<fmp::Block>(3)) +
                               fmp::andt({1, 2}, {showsTwo, showsOne}) +
                               chunk("BGFX", fmp::patternGraphics(1, 2, 2, 32)) + fmp::layer(0, {-1, -2});
    ASSERT_EQ(fmp::load(form(chunks)), 0) << tileMap.loadError;
    // -1 is the last record of the file (shows frame 0: block 1), -2 the one
    // before it (frame 1: block 2).
    EXPECT_EQ(tileMap.animFrames[tileMap.animRecordsEnd[-1].currentFrame], 1);
    EXPECT_EQ(tileMap.animFrames[tileMap.animRecordsEnd[-2].currentFrame], 2);
}

}  // namespace
