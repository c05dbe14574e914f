// The header and block-record decoders: field positions, both byte orders,
// the short header's defaults, byte offsets turned into graphic numbers.
#include "tests/support/fmp_bytes.h"
#include "tests/support/fmp_checks.h"
#include "tests/support/headless.h"
#include "tilemap/tilemap.h"

#include <gtest/gtest.h>

namespace {

using fmp::chunk;
using fmp::form;

// Everything a header needs around it to load: one record naming graphic 0,
// the graphics, a layer of zeros.
std::string aroundHeader(const std::string& mphdData, int mapCells, int graphicBytes, bool little)
{
    return form(chunk("MPHD", mphdData) + fmp::bkdt({fmp::Block{}}, little) +
                chunk("BGFX", std::string(static_cast<std::size_t>(graphicBytes), '\x10')) +
                fmp::layer(0, std::vector<int>(static_cast<std::size_t>(mapCells), 0), little));
}

class Decoders : public ::testing::Test {
protected:
    void SetUp() override { startHeadless(32); }
    void TearDown() override { freeMap(); }
};

TEST_F(Decoders, HeaderFieldsBigEndian)
{
    // version 1, byte order 0, encoding 1; map 3 x 2; blocks 2 x 1 at 16
    // bits; records of 32 bytes, 1 record, 1 graphic; steps 5 x 6, staggers
    // -1 (0xFFFF) and 2; pick-mask graphic 0.
    const std::string data("\x01\x00\x00\x01"
                           "\x00\x03\x00\x02"
                           "\x00\x00\x00\x00"
                           "\x00\x02\x00\x01\x00\x10"
                           "\x00\x20\x00\x01\x00\x01"
                           "\x00\x00\x00\x00"
                           "\x00\x05\x00\x06\xFF\xFF\x00\x02"
                           "\x00\x00",
                           38);
    ASSERT_EQ(fmp::load(aroundHeader(data, 6, 4, false)), 0) << tileMap.loadError;
    EXPECT_EQ(tileMap.littleEndian, 0);
    EXPECT_EQ(tileMap.encodingType, 1);
    EXPECT_EQ(tileMap.mapWidth, 3);
    EXPECT_EQ(tileMap.mapHeight, 2);
    EXPECT_EQ(tileMap.blockWidth, 2);
    EXPECT_EQ(tileMap.blockHeight, 1);
    EXPECT_EQ(tileMap.graphicsDepth, 16);
    EXPECT_EQ(tileMap.blockDepth, 32) << "after realisation the screen's depth";
    EXPECT_EQ(tileMap.blockRecordSize, 32);
    EXPECT_EQ(tileMap.blockRecordCount, 1);
    EXPECT_EQ(tileMap.graphicCount, 1);
    EXPECT_EQ(tileMap.blockStepX, 5);
    EXPECT_EQ(tileMap.blockStepY, 6);
    EXPECT_EQ(tileMap.staggerX, -1);
    EXPECT_EQ(tileMap.staggerY, 2);
}

TEST_F(Decoders, HeaderFieldsLittleEndian)
{
    // The same header with byte-order byte 1: every 2-byte field low byte
    // first.
    const std::string data("\x00\x00\x01\x01"
                           "\x03\x00\x02\x00"
                           "\x00\x00\x00\x00"
                           "\x02\x00\x01\x00\x18\x00"
                           "\x20\x00\x01\x00\x01\x00"
                           "\x00\x00\x00\x00"
                           "\x05\x00\x06\x00\xFE\xFF\x02\x00",
                           36);
    ASSERT_EQ(fmp::load(aroundHeader(data, 6, 6, true)), 0) << tileMap.loadError;
    EXPECT_EQ(tileMap.littleEndian, 1);
    EXPECT_EQ(tileMap.mapWidth, 3);
    EXPECT_EQ(tileMap.mapHeight, 2);
    EXPECT_EQ(tileMap.graphicsDepth, 24);
    EXPECT_EQ(tileMap.blockStepX, 5);
    EXPECT_EQ(tileMap.staggerX, -2);
    EXPECT_EQ(tileMap.staggerY, 2);
}

TEST_F(Decoders, HeaderOf28BytesTakesTheBlockSizeAsStepAndNoStagger)
{
    fmp::Header h;
    h.withSteps = false;
    h.blockWidth = 3;
    h.blockHeight = 5;
    const std::string data = fmp::headerData(h);
    ASSERT_EQ(data.size(), 28u);
    // A previous map with steps and staggers must not leak into this one.
    fmp::Header stepped = h;
    stepped.withSteps = true;
    stepped.blockStepX = 9;
    stepped.staggerX = 4;
    ASSERT_EQ(fmp::load(aroundHeader(fmp::headerData(stepped), 4, 60, false)), 0);
    ASSERT_EQ(tileMap.staggerX, 4);

    ASSERT_EQ(fmp::load(aroundHeader(data, 4, 60, false)), 0) << tileMap.loadError;
    EXPECT_EQ(tileMap.blockStepX, 3);
    EXPECT_EQ(tileMap.blockStepY, 5);
    EXPECT_EQ(tileMap.staggerX, 0);
    EXPECT_EQ(tileMap.staggerY, 0);
}

class BlockRecords : public Decoders, public ::testing::WithParamInterface<bool> {};

TEST_P(BlockRecords, EveryFieldInTheDeclaredByteOrder)
{
    const bool little = GetParam();
    fmp::Header h;
    h.littleEndian = little;
    h.mapWidth = 1;
    h.mapHeight = 1;
    h.graphicCount = 4;
    h.blockRecordCount = 2;
    fmp::Block first;
    first.back = 3;
    first.fore1 = 1;
    first.fore2 = 0;
    first.fore3 = 2;
    first.user1 = 0x01020304;
    first.user2 = 0xFFFFFFFE;
    first.user3 = 0xABCD;
    first.user4 = 7;
    first.user5 = 0x80;
    first.user6 = 1;
    first.user7 = 0xFF;
    first.flags = 0xA5;
    const std::string chunks = fmp::mphd(h) + fmp::bkdt({first, fmp::Block{}}, little) +
                               chunk("BGFX", fmp::patternGraphics(4, 2, 2, 32)) + fmp::layer(0, {1}, little);
    ASSERT_EQ(fmp::load(form(chunks)), 0) << tileMap.loadError;
    const BlockRecord& b = tileMap.blockRecords[0];
    EXPECT_EQ(b.backGraphic.index, 3);
    EXPECT_EQ(b.foreGraphic1.index, 1);
    EXPECT_EQ(b.foreGraphic3.index, 2);
    EXPECT_EQ(b.userField1, 0x01020304u);
    EXPECT_EQ(b.userField2, 0xFFFFFFFEu);
    EXPECT_EQ(b.userField3, 0xABCD);
    EXPECT_EQ(b.userField4, 7);
    EXPECT_EQ(b.userField5, 0x80);
    EXPECT_EQ(b.userField6, 1);
    EXPECT_EQ(b.userField7, 0xFF);
    EXPECT_EQ(b.flags, 0xA5);
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, BlockRecords, ::testing::Values(false, true));

TEST_F(Decoders, BlockRecordBytesWrittenByHand)
{
    // One big-endian record: back 1, fore1 0, fore2 0, fore3 1, user fields
    // 0x11223344 and 5, 0x0102 and 0x0304, bytes 6, 7, 8, flags 0x0F.
    const std::string record("\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x01"
                             "\x11\x22\x33\x44\x00\x00\x00\x05\x01\x02\x03\x04\x06\x07\x08\x0F",
                             32);
    fmp::Header h;
    h.mapWidth = 1;
    h.mapHeight = 1;
    h.graphicCount = 2;
    ASSERT_EQ(fmp::load(form(fmp::mphd(h) + chunk("BKDT", record) +
                             chunk("BGFX", fmp::patternGraphics(2, 2, 2, 32)) + fmp::layer(0, {0}))),
              0)
        << tileMap.loadError;
    const BlockRecord& b = tileMap.blockRecords[0];
    EXPECT_EQ(b.backGraphic.index, 1);
    EXPECT_EQ(b.foreGraphic3.index, 1);
    EXPECT_EQ(b.userField1, 0x11223344u);
    EXPECT_EQ(b.userField2, 5u);
    EXPECT_EQ(b.userField3, 0x0102);
    EXPECT_EQ(b.userField4, 0x0304);
    EXPECT_EQ(b.userField5, 6);
    EXPECT_EQ(b.userField6, 7);
    EXPECT_EQ(b.userField7, 8);
    EXPECT_EQ(b.flags, kFlagExitUp | kFlagExitDown | kFlagExitLeft | kFlagExitRight);
}

TEST_F(Decoders, ByteOffsetsBecomeGraphicNumbersWithEncodingZero)
{
    // 32 x 32 blocks at 16 bits: one graphic is 2048 bytes, so 6144 is
    // graphic 3 and 2048 graphic 1.
    fmp::Header h;
    h.encodingType = 0;
    h.mapWidth = 1;
    h.mapHeight = 1;
    h.blockWidth = 32;
    h.blockHeight = 32;
    h.blockDepth = 16;
    h.graphicCount = 4;
    fmp::Block b;
    b.back = 6144;
    b.fore1 = 2048;
    const std::string chunks = fmp::mphd(h) + fmp::bkdt({b}) + chunk("BGFX", fmp::patternGraphics(4, 32, 32, 16)) +
                               fmp::layer(0, {0});
    ASSERT_EQ(fmp::load(form(chunks)), 0) << tileMap.loadError;
    EXPECT_EQ(tileMap.blockRecords[0].backGraphic.index, 3);
    EXPECT_EQ(tileMap.blockRecords[0].foreGraphic1.index, 1);
    EXPECT_EQ(tileMap.blockRecords[0].backGraphic.bitmap, tileMap.tileBitmaps[3]);
}

TEST_F(Decoders, LargerRecordsAreSteppedOverPastTheir32Bytes)
{
    fmp::Header h;
    h.mapWidth = 1;
    h.mapHeight = 1;
    h.blockRecordSize = 40;
    h.blockRecordCount = 2;
    h.graphicCount = 2;
    fmp::Block second;
    second.back = 1;
    second.flags = 0x03;
    const std::string chunks = fmp::mphd(h) + fmp::bkdt({fmp::Block{}, second}, false, 40) +
                               chunk("BGFX", fmp::patternGraphics(2, 2, 2, 32)) + fmp::layer(0, {1});
    ASSERT_EQ(fmp::load(form(chunks)), 0) << tileMap.loadError;
    EXPECT_EQ(tileMap.blockRecords[1].backGraphic.index, 1);
    EXPECT_EQ(tileMap.blockRecords[1].flags, 0x03);
    EXPECT_EQ(tileMap.blockRecords[0].userField1, 0u) << "the padding bytes 0xEE are not read";
}

}  // namespace
