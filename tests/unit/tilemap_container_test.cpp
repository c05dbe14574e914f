// The FMP container: packed and plain files, the FORM/FMAP check, the chunk
// walk, what each failure leaves of a map loaded before, and the fuzz seeds.
#include "tests/support/fmp_checks.h"

#include <allegro.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using fmp::chunk;
using fmp::Parts;

std::string readWhole(const std::string& path)
{
    std::ostringstream out;
    out << std::ifstream(path, std::ios::binary).rdbuf();
    return out.str();
}

class Container : public LoaderTest {
protected:
    void SetUp() override
    {
        LoaderTest::SetUp();
        ASSERT_TRUE(writeFile(plain, good));
        PACKFILE* out = pack_fopen(packed.c_str(), "wp");
        ASSERT_NE(out, nullptr);
        pack_fwrite(good.data(), static_cast<long>(good.size()), out);
        pack_fclose(out);
        ASSERT_NE(readWhole(packed).compare(0, 4, "FORM"), 0);
    }
    TempDir dir;
    const std::string good = Parts().build(), plain = dir.file("plain.fmp"), packed = dir.file("packed.fmp");
};

TEST_F(Container, PackedAndPlainFilesLoadAndAreClosed)
{
    for (const std::string& path : {plain, packed}) {
        ASSERT_EQ(loadMap(path.c_str()), 0) << path;
        EXPECT_EQ(tileMap.bitmapMode, 2);
        EXPECT_EQ(tileMap.mapFile, nullptr) << "closed once the load is over";
        EXPECT_EQ(tileMap.currentLayer, tileMap.layers[0]);
        EXPECT_EQ(fmp::cells(), (std::vector<int>{0, 1, -1, 1, 1, 0}));
    }
}

TEST_F(Container, RefusalBeforeTheChunksKeepsThePreviousMap)
{
    std::string notForm = good, notFmap = good;
    notForm.replace(0, 4, "FORN");
    notFmap.replace(8, 4, "FMAQ");
    // Memory input is taken as a plain map only.
    for (const std::string& bytes : {notForm, notFmap, good.substr(0, 3), good.substr(0, 7), good.substr(0, 11),
                                     std::string(), readWhole(packed)}) {
        ASSERT_EQ(Parts().load(), 0);
        EXPECT_EQ(fmp::load(bytes), -1) << bytes.size();
        EXPECT_EQ(tileMap.loadError, kLoadBadData);
        EXPECT_NE(tileMap.tileBitmaps, nullptr) << "previous map kept";
    }
    EXPECT_EQ(loadMap(dir.file("absent.fmp").c_str()), -1);
    EXPECT_EQ(tileMap.loadError, kLoadCannotOpen);
    EXPECT_NE(tileMap.tileBitmaps, nullptr);
}

TEST_F(Container, RefusalAfterTheContainerHeaderLeavesNoMap)
{
    std::string beyond = good;
    beyond.replace(4, 4, fmp::bigEndian32(static_cast<uint32_t>(good.size())));
    const std::pair<std::string, int> cases[] = {{good.substr(0, good.size() - 1), kLoadBadData}, {beyond, kLoadBadData},
                 {fmp::form(""), kLoadBadReference}, {good, kLoadNoScreen}};
    for (const auto& [bytes, code] : cases) {
        ASSERT_EQ(Parts().load(), 0);
        BITMAP* saved = screen;
        screen = code == kLoadNoScreen ? nullptr : screen;
        EXPECT_EQ(fmp::load(bytes), -1) << code;
        screen = saved;
        EXPECT_EQ(tileMap.loadError, code);
        EXPECT_TRUE(fmp::mapEmpty()) << code;
    }
}

TEST_F(Container, ChunksAreWalkedWithoutPaddingAndWithBigEndianLengths)
{
    // Odd lengths put later chunks on odd offsets, where a pad byte would
    // shift the ids; in a little-endian map the lengths stay big-endian.
    Parts p;
    p.header.littleEndian = true;
    p.before = chunk("ABCD", "x");
    p.after = chunk("NOVC", "abc") + chunk("zz!z", "12345");
    const std::string bytes = p.build();
    ASSERT_NE(bytes.find(std::string("BKDT\0\0\0\x40", 8)), std::string::npos);
    ASSERT_EQ(fmp::load(bytes), 0) << tileMap.loadError;
    EXPECT_EQ(fmp::cells(), (std::vector<int>{0, 1, -1, 1, 1, 0}));
    const uint8_t length[] = {0xFF, 0x02, 0x03, 0x04};
    EXPECT_EQ(readChunkLength(length), 0xFF020304u);
}

TEST_F(Container, FormLengthEndingInsideAChunkEndsTheWalkAfterIt)
{
    Parts p;
    p.after = fmp::layer(1, std::vector<int>(6, 0));
    std::string bytes = p.build();
    // The form ends two bytes into the BODY data.
    bytes.replace(4, 4, fmp::bigEndian32(static_cast<uint32_t>(bytes.find("BODY") + 2)));
    ASSERT_EQ(fmp::load(bytes), 0) << tileMap.loadError;
    EXPECT_NE(tileMap.layers[0], nullptr);
    EXPECT_EQ(tileMap.layers[1], nullptr);
}

TEST_F(Container, LaterHeaderOrLayerReplacesTheEarlierOne)
{
    Parts p;
    fmp::Header wide = p.header;
    wide.mapWidth = 50;
    p.before = fmp::mphd(wide);
    p.after = fmp::layer(0, {1, 1, 1, 1, 1, 1}) + fmp::layer(4, {0, 1, 0, 1, 0, 1});
    ASSERT_EQ(p.load(), 0) << tileMap.loadError;
    EXPECT_EQ(tileMap.mapWidth, 3);
    EXPECT_EQ(fmp::cells(), std::vector<int>(6, 1));
    EXPECT_EQ(fmp::cells(4), (std::vector<int>{0, 1, 0, 1, 0, 1}));
    EXPECT_EQ(tileMap.currentLayer, tileMap.layers[0]) << "an extra layer is not made current";
    freeMap();
    EXPECT_TRUE(fmp::mapEmpty());
    EXPECT_EQ(tileMap.mapWidth, 3) << "header values outlive the arrays";
    freeMap();
}

TEST_F(Container, EveryFuzzSeedLoadsAtEveryScreenDepth)
{
    int seeds = 0;
    for (const auto& seed : std::filesystem::directory_iterator(testDataDir() + "/../../fuzz/corpus/loadmap_fuzzer")) {
        const std::string bytes = readWhole(seed.path());
        for (int depth : {8, 15, 16, 24, 32}) {
            startHeadless(depth);
            ASSERT_EQ(fmp::load(bytes), 0) << seed.path() << " at " << depth << ": " << tileMap.loadError;
            EXPECT_EQ(tileMap.blockDepth, depth);
            EXPECT_EQ(tileMap.tileBitmaps[tileMap.graphicCount], nullptr) << "the list ends in null";
        }
        ++seeds;
    }
    EXPECT_GE(seeds, 5);
}

}  // namespace
