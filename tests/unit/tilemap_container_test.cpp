// The FMP container: opening packed and plain files, the FORM/FMAP check,
// the chunk walk and what happens to a map already loaded when a load fails.
#include "tests/support/fmp_bytes.h"
#include "tests/support/fmp_checks.h"
#include "tests/support/fmp_samples.h"
#include "tests/support/headless.h"
#include "tilemap/loader.h"
#include "tilemap/tilemap.h"

#include <allegro.h>
#include <gtest/gtest.h>

namespace {

using fmp::chunk;
using fmp::form;

class Container : public ::testing::Test {
protected:
    void SetUp() override { startHeadless(32); }
    void TearDown() override { freeMap(); }

    // A one-block map whose only cell names block record 0.
    static std::string chunksOfSmallMap(const fmp::Header& header = smallHeader())
    {
        return fmp::mphd(header) + fmp::bkdt({fmp::Block{}}, header.littleEndian) +
               chunk("BGFX", fmp::pixel32(1, 2, 3)) + fmp::layer(0, {0}, header.littleEndian);
    }
    static fmp::Header smallHeader()
    {
        fmp::Header h;
        h.mapWidth = 1;
        h.mapHeight = 1;
        h.blockWidth = 1;
        h.blockHeight = 1;
        return h;
    }
    // Loads a map with a recognisable header so a later test can tell
    // whether it survived.
    static void loadMarkerMap()
    {
        ASSERT_EQ(fmp::load(fmp::sampleIndexed()), 0);
        ASSERT_EQ(tileMap.mapWidth, 3);
    }
    TempDir dir;
};

TEST_F(Container, PlainFileLoadsAfterThePackedOpenRefusesIt)
{
    const std::string path = dir.file("plain.fmp");
    ASSERT_TRUE(writeFile(path, form(chunksOfSmallMap())));
    EXPECT_EQ(loadMap(path.c_str()), 0);
    EXPECT_EQ(tileMap.loadError, kLoadOk);
    EXPECT_EQ(tileMap.bitmapMode, 2);
    EXPECT_EQ(tileMap.mapFile, nullptr) << "the file is closed once the load is over";
    ASSERT_NE(tileMap.layers[0], nullptr);
    EXPECT_EQ(tileMap.currentLayer, tileMap.layers[0]);
}

TEST_F(Container, PackedFileLoadsLikeThePlainOne)
{
    const std::string bytes = fmp::sampleOffsets();
    const std::string path = dir.file("packed.fmp");
    PACKFILE* out = pack_fopen(path.c_str(), "wp");
    ASSERT_NE(out, nullptr);
    ASSERT_EQ(pack_fwrite(bytes.data(), static_cast<long>(bytes.size()), out), static_cast<long>(bytes.size()));
    pack_fclose(out);

    ASSERT_EQ(loadMap(path.c_str()), 0);
    const std::vector<int16_t> packedCells(tileMap.layers[1], tileMap.layers[1] + 4);
    ASSERT_EQ(fmp::load(bytes), 0);
    const std::vector<int16_t> plainCells(tileMap.layers[1], tileMap.layers[1] + 4);
    EXPECT_EQ(packedCells, plainCells);
    EXPECT_EQ(plainCells, (std::vector<int16_t>{2, 2, 0, -1}));
}

TEST_F(Container, MemoryInputIsTakenAsAPlainMapOnly)
{
    // Packed data in memory starts with the packer's signature, not "FORM".
    const std::string path = dir.file("packed.fmp");
    PACKFILE* out = pack_fopen(path.c_str(), "wp");
    ASSERT_NE(out, nullptr);
    const std::string bytes = fmp::sampleIndexed();
    pack_fwrite(bytes.data(), static_cast<long>(bytes.size()), out);
    pack_fclose(out);
    PACKFILE* in = pack_fopen(path.c_str(), "r");
    ASSERT_NE(in, nullptr);
    std::string packed(static_cast<std::size_t>(file_size_ex(path.c_str())), '\0');
    ASSERT_EQ(pack_fread(&packed[0], static_cast<long>(packed.size()), in), static_cast<long>(packed.size()));
    pack_fclose(in);
    ASSERT_NE(packed.compare(0, 4, "FORM"), 0);

    EXPECT_EQ(fmp::load(packed), -1);
    EXPECT_EQ(tileMap.loadError, kLoadBadData);
}

TEST_F(Container, FileThatCannotBeOpenedKeepsThePreviousMap)
{
    loadMarkerMap();
    EXPECT_EQ(loadMap(dir.file("absent.fmp").c_str()), -1);
    EXPECT_EQ(tileMap.loadError, kLoadCannotOpen);
    EXPECT_NE(tileMap.tileBitmaps, nullptr);
    EXPECT_EQ(tileMap.mapWidth, 3);
}

TEST_F(Container, WrongContainerKeepsThePreviousMap)
{
    const std::string body = chunksOfSmallMap();
    const std::string good = form(body);
    std::string notForm = good;
    notForm.replace(0, 4, "FORN");
    std::string notFmap = good;
    notFmap.replace(8, 4, "FMAQ");
    for (const std::string& bytes : {notForm, notFmap, good.substr(0, 3), good.substr(0, 7), good.substr(0, 11),
                                     std::string()}) {
        loadMarkerMap();
        EXPECT_EQ(fmp::load(bytes), -1) << bytes.size();
        EXPECT_EQ(tileMap.loadError, kLoadBadData);
        EXPECT_NE(tileMap.tileBitmaps, nullptr) << "previous map kept";
        EXPECT_EQ(tileMap.mapWidth, 3);
    }
}

TEST_F(Container, FailureAfterTheContainerHeaderLeavesNoMap)
{
    loadMarkerMap();
    const std::string good = form(chunksOfSmallMap());
    EXPECT_EQ(fmp::load(good.substr(0, good.size() - 1)), -1);
    EXPECT_EQ(tileMap.loadError, kLoadBadData);
    EXPECT_TRUE(fmp::mapEmpty());
}

TEST_F(Container, OddChunkLengthsAndUnknownChunksAreWalkedWithoutPadding)
{
    // Odd lengths put every later chunk on an odd offset; a pad byte would
    // shift the ids and the load would fail.
    const std::string chunks = chunk("ABCD", "x") + chunksOfSmallMap() + chunk("NOVC", "abc") + chunk("zz!z", "12345");
    ASSERT_EQ(fmp::load(form(chunks)), 0) << tileMap.loadError;
    EXPECT_EQ(tileMap.layers[0][0], 0);
}

TEST_F(Container, ChunkLengthsStayBigEndianInLittleEndianMaps)
{
    fmp::Header h = smallHeader();
    h.littleEndian = true;
    h.mapWidth = 2;
    h.blockRecordCount = 2;
    const std::string chunks = fmp::mphd(h) + fmp::bkdt({fmp::Block{}, fmp::Block{}}, true) +
                               chunk("BGFX", fmp::pixel32(1, 2, 3)) + fmp::layer(0, {1, 0}, true);
    // The BKDT length (64) written big-endian: 00 00 00 40.
    ASSERT_NE(chunks.find(std::string("BKDT\0\0\0\x40", 8)), std::string::npos);
    ASSERT_EQ(fmp::load(form(chunks)), 0) << tileMap.loadError;
    EXPECT_EQ(tileMap.layers[0][0], 1);
    EXPECT_EQ(tileMap.layers[0][1], 0);
}

TEST_F(Container, FormLengthEndingInsideAChunkStillDecodesThatChunkWhole)
{
    const std::string chunks = chunksOfSmallMap() + fmp::layer(1, {0});
    std::string bytes = form(chunks);
    // Claim the form ends two bytes into the BODY chunk's data.
    const std::size_t bodyAt = bytes.find("BODY");
    const std::string shortLength = fmp::bigEndian32(static_cast<uint32_t>(bodyAt + 8 + 2 - 8));
    bytes.replace(4, 4, shortLength);
    ASSERT_EQ(fmp::load(bytes), 0) << tileMap.loadError;
    EXPECT_NE(tileMap.layers[0], nullptr);
    EXPECT_EQ(tileMap.layers[1], nullptr) << "the walk ends after the chunk the form length ends in";
}

TEST_F(Container, FormLengthBeyondTheFileLeavesNoMap)
{
    std::string bytes = form(chunksOfSmallMap());
    bytes.replace(4, 4, fmp::bigEndian32(static_cast<uint32_t>(bytes.size())));
    EXPECT_EQ(fmp::load(bytes), -1);
    EXPECT_EQ(tileMap.loadError, kLoadBadData);
    EXPECT_TRUE(fmp::mapEmpty());
}

TEST_F(Container, FormWithTheHeaderOnlyIsRefusedForLackOfMapHeader)
{
    EXPECT_EQ(fmp::load(form("")), -1);
    EXPECT_EQ(tileMap.loadError, kLoadBadReference);
    EXPECT_TRUE(fmp::mapEmpty());
}

TEST_F(Container, ChunkLengthIsReadMostSignificantByteFirst)
{
    const uint8_t bytes[] = {0x01, 0x02, 0x03, 0x04};
    EXPECT_EQ(readChunkLength(bytes), 0x01020304u);
    const uint8_t high[] = {0xFF, 0x00, 0x00, 0x01};
    EXPECT_EQ(readChunkLength(high), 0xFF000001u);
}

TEST_F(Container, SecondLayerChunkReplacesTheFirstAndCurrentLayerFollows)
{
    fmp::Header h = smallHeader();
    h.blockRecordCount = 2;
    const std::string chunks = fmp::mphd(h) + fmp::bkdt({fmp::Block{}, fmp::Block{}}) +
                               chunk("BGFX", fmp::pixel32(1, 2, 3)) + fmp::layer(0, {0}) + fmp::layer(0, {1});
    ASSERT_EQ(fmp::load(form(chunks)), 0);
    EXPECT_EQ(tileMap.layers[0][0], 1);
    EXPECT_EQ(tileMap.currentLayer, tileMap.layers[0]);
}

TEST_F(Container, SecondHeaderReplacesTheFirstUntilAChunkHasUsedIt)
{
    fmp::Header wide = smallHeader();
    wide.mapWidth = 50;
    const std::string twoHeaders = fmp::mphd(wide) + chunksOfSmallMap();
    ASSERT_EQ(fmp::load(form(twoHeaders)), 0) << tileMap.loadError;
    EXPECT_EQ(tileMap.mapWidth, 1);

    // After the layer was sized by the first header, a new header would
    // describe cells that are not there.
    const std::string late = chunksOfSmallMap() + fmp::mphd(wide);
    EXPECT_EQ(fmp::load(form(late)), -1);
    EXPECT_EQ(tileMap.loadError, kLoadBadReference);
    EXPECT_TRUE(fmp::mapEmpty());
}

TEST_F(Container, FreeMapEmptiesArraysAndKeepsHeaderValues)
{
    ASSERT_EQ(fmp::load(fmp::sampleOffsets()), 0);
    freeMap();
    EXPECT_TRUE(fmp::mapEmpty());
    EXPECT_EQ(tileMap.mapWidth, 2);
    EXPECT_EQ(tileMap.blockRecordCount, 3);
    EXPECT_EQ(tileMap.encodingType, 0);
    EXPECT_EQ(tileMap.littleEndian, 1);
    freeMap();
    EXPECT_TRUE(fmp::mapEmpty());
    EXPECT_EQ(tileMap.mapWidth, 2);
}

}  // namespace
