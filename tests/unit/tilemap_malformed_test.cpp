// Malformed maps: every one is refused with its reason, leaves no map
// behind (the sanitizer build checks that nothing leaks), and never makes
// the loader read or write outside what it holds.
#include "tests/support/fmp_bytes.h"
#include "tests/support/fmp_checks.h"
#include "tests/support/fmp_samples.h"
#include "tests/support/headless.h"
#include "tilemap/tilemap.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using fmp::chunk;
using fmp::form;

// The pieces of a small valid map that the cases below spoil one at a time.
struct Parts {
    fmp::Header header;
    std::vector<fmp::Block> blocks;
    std::vector<int64_t> frames;
    std::vector<fmp::Anim> anims;
    std::string andtChunk;  // replaces the ANDT built from frames and anims
    std::string palette;
    std::string graphics;
    std::string bodyData;
    std::string before;  // chunks before MPHD
    std::string after;   // chunks after BODY
    bool withBlocks = true;
    bool withAnims = true;
    bool withGraphics = true;

    Parts()
    {
        header.mapWidth = 3;
        header.mapHeight = 2;
        header.blockRecordCount = 2;
        header.graphicCount = 2;
        blocks.resize(2);
        blocks[1].back = 1;
        blocks[1].fore1 = 1;
        frames = {0, 1};
        fmp::Anim a;
        a.type = 2;
        a.first = 0;
        a.end = 2;
        anims = {a};
        palette = std::string(6, '\x20');
        graphics = fmp::patternGraphics(2, 2, 2, 32);
        bodyData = fmp::shorts({0, 1, -1, 1, 1, 0});
    }

    std::string build() const
    {
        std::string chunks = before + fmp::mphd(header) + chunk("CMAP", palette);
        if (withBlocks) {
            chunks += fmp::bkdt(blocks, false, header.blockRecordSize);
        }
        if (withAnims) {
            chunks += andtChunk.empty() ? fmp::andt(frames, anims) : andtChunk;
        }
        if (withGraphics) {
            chunks += chunk("BGFX", graphics);
        }
        return form(chunks + chunk("BODY", bodyData) + after);
    }
};

struct Case {
    const char* name;
    std::function<void(Parts&)> spoil;
    int code;
};

std::string rawHeader(int length)
{
    return chunk("MPHD", fmp::headerData(Parts().header).substr(0, static_cast<std::size_t>(length)));
}

const std::vector<Case>& cases()
{
    static const std::vector<Case> table = {
        // Data that ends before what it promises.
        {"header shorter than its fields", [](Parts& p) { p.before = rawHeader(23); }, kLoadBadData},
        {"header cut inside the steps", [](Parts& p) { p.before = rawHeader(30); }, kLoadBadData},
        {"header of 35 bytes", [](Parts& p) { p.before = rawHeader(35) + fmp::mphd(Parts().header); }, kLoadBadData},
        {"block records cut short", [](Parts& p) { p.header.blockRecordCount = 3; }, kLoadBadData},
        {"no block records chunk", [](Parts& p) { p.withBlocks = false; }, kLoadBadData},
        {"animations without end record",
         [](Parts& p) { p.andtChunk = chunk("ANDT", fmp::shorts({0, 1, 0, 0, 0, 0, 0, 0, 0, 0})); }, kLoadBadData},
        {"empty animations chunk", [](Parts& p) { p.andtChunk = chunk("ANDT", ""); }, kLoadBadData},
        {"frame list not whole entries",
         [](Parts& p) { p.andtChunk = chunk("ANDT", std::string(2, '\0') + "\xFF" + std::string(15, '\0')); },
         kLoadBadData},
        {"graphics cut short", [](Parts& p) { p.graphics.pop_back(); }, kLoadBadData},
        {"no graphics chunk", [](Parts& p) { p.withGraphics = false; }, kLoadBadData},
        {"plain layer one cell short", [](Parts& p) { p.bodyData.resize(p.bodyData.size() - 2); }, kLoadBadData},
        {"plain layer odd byte short", [](Parts& p) { p.bodyData.pop_back(); }, kLoadBadData},
        {"run overshoots its row",
         [](Parts& p) {
             p.header.encodingType = 2;
             p.bodyData = fmp::shorts({4, 0, 0, 0, 0, 2, 0, 0});
         },
         kLoadBadData},
        {"fill overshoots its row",
         [](Parts& p) {
             p.header.encodingType = 2;
             p.bodyData = fmp::shorts({2, 0, 0, -2, 0, -3, 0});
         },
         kLoadBadData},
        {"fill overshoots the layer",
         [](Parts& p) {
             p.header.encodingType = 2;
             p.bodyData = fmp::shorts({-3, 0, -4, 0});
         },
         kLoadBadData},
        {"runs end before the layer is full",
         [](Parts& p) {
             p.header.encodingType = 2;
             p.bodyData = fmp::shorts({-3, 0, 1});
         },
         kLoadBadData},
        {"run count without its value",
         [](Parts& p) {
             p.header.encodingType = 2;
             p.bodyData = fmp::shorts({-3, 0, -3});
         },
         kLoadBadData},
        {"back-copy before the first cell",
         [](Parts& p) {
             p.header.encodingType = 3;
             p.bodyData = fmp::shorts({1, 0, -2, -2, -3, -3});
         },
         kLoadBadData},
        {"back-copy of the cell being written",
         [](Parts& p) {
             p.header.encodingType = 3;
             p.bodyData = fmp::shorts({1, 0, -2, 0, -3, -3});
         },
         kLoadBadData},
        {"back-copy from cells not yet written",
         [](Parts& p) {
             p.header.encodingType = 3;
             p.bodyData = fmp::shorts({1, 0, -2, 1, -3, -3});
         },
         kLoadBadData},
        // References to things that do not exist.
        {"cell names a missing block", [](Parts& p) { p.bodyData = fmp::shorts({0, 2, 0, 0, 0, 0}); },
         kLoadBadReference},
        {"cell names a missing animation", [](Parts& p) { p.bodyData = fmp::shorts({0, -2, 0, 0, 0, 0}); },
         kLoadBadReference},
        {"cell names an animation without animations chunk",
         [](Parts& p) {
             p.withAnims = false;
             p.bodyData = fmp::shorts({0, -1, 0, 0, 0, 0});
         },
         kLoadBadReference},
        {"cell of an extra layer names a missing block", [](Parts& p) { p.after = fmp::layer(2, {0, 0, 0, 0, 0, 7}); },
         kLoadBadReference},
        {"frame names a missing block", [](Parts& p) { p.frames = {0, 2}; }, kLoadBadReference},
        {"frame names a negative block", [](Parts& p) { p.frames = {-1, 0}; }, kLoadBadReference},
        {"animation ends past the frame list", [](Parts& p) { p.anims[0].end = 3; }, kLoadBadReference},
        {"animation starts before the frame list", [](Parts& p) { p.anims[0].first = -1; }, kLoadBadReference},
        {"animation starts after it ends",
         [](Parts& p) {
             p.anims[0].first = 2;
             p.anims[0].end = 1;
         },
         kLoadBadReference},
        {"empty animation at the end of the list",
         [](Parts& p) {
             p.anims[0].type = 1;
             p.anims[0].first = 2;
             p.anims[0].end = 2;
         },
         kLoadBadReference},
        {"frame position of extreme offsets",
         [](Parts& p) {
             p.header.encodingType = 0;
             p.blocks[1].back = 16;
             p.blocks[1].fore1 = 16;
             p.frames = {0, 32};
             p.anims[0].first = INT32_MIN;
             p.anims[0].end = INT32_MAX;
             p.bodyData = fmp::shorts({0, 32, -16, 32, 32, 0});
         },
         kLoadBadReference},
        {"background graphic past the graphics", [](Parts& p) { p.blocks[0].back = 2; }, kLoadBadReference},
        {"negative background graphic", [](Parts& p) { p.blocks[0].back = -1; }, kLoadBadReference},
        {"foreground graphic past the graphics", [](Parts& p) { p.blocks[1].fore3 = 2; }, kLoadBadReference},
        {"negative foreground graphic", [](Parts& p) { p.blocks[1].fore2 = -1; }, kLoadBadReference},
        {"palette index beyond the palette",
         [](Parts& p) {
             p.header.blockDepth = 8;
             p.graphics = std::string("\x01\x01\x00\x02\x00\x00\x00\x01", 8);
         },
         kLoadBadReference},
        {"8-bit graphics without palette",
         [](Parts& p) {
             p.header.blockDepth = 8;
             p.palette.clear();
             p.graphics = std::string(8, '\x01');
         },
         kLoadBadReference},
        {"header depth 12", [](Parts& p) { p.header.blockDepth = 12; }, kLoadBadReference},
        {"header depth 0", [](Parts& p) { p.header.blockDepth = 0; }, kLoadBadReference},
        {"map width 0", [](Parts& p) { p.header.mapWidth = 0; }, kLoadBadReference},
        {"negative map height", [](Parts& p) { p.header.mapHeight = -2; }, kLoadBadReference},
        {"block width 0", [](Parts& p) { p.header.blockWidth = 0; }, kLoadBadReference},
        {"negative block height", [](Parts& p) { p.header.blockHeight = -1; }, kLoadBadReference},
        {"block step 0", [](Parts& p) { p.header.blockStepX = 0; }, kLoadBadReference},
        {"negative block step", [](Parts& p) { p.header.blockStepY = -4; }, kLoadBadReference},
        {"record size 0", [](Parts& p) { p.header.blockRecordSize = 0; }, kLoadBadReference},
        {"record size below the 32 bytes read",
         [](Parts& p) {
             p.header.blockRecordSize = 31;
             p.withBlocks = false;
             p.before = chunk("BKDT", std::string(64, '\0'));
         },
         kLoadBadReference},
        {"negative record count", [](Parts& p) { p.header.blockRecordCount = -1; }, kLoadBadReference},
        {"negative graphic count", [](Parts& p) { p.header.graphicCount = -1; }, kLoadBadReference},
        {"block records before the header", [](Parts& p) { p.before = fmp::bkdt(p.blocks); }, kLoadBadReference},
        {"animations before the header", [](Parts& p) { p.before = fmp::andt({}, {}); }, kLoadBadReference},
        {"layer before the header", [](Parts& p) { p.before = fmp::layer(0, {0, 0, 0, 0, 0, 0}); },
         kLoadBadReference},
        {"extra layer before the header", [](Parts& p) { p.before = fmp::layer(3, {0, 0, 0, 0, 0, 0}); },
         kLoadBadReference},
        {"second header after the layers", [](Parts& p) { p.after = fmp::mphd(p.header); }, kLoadBadReference},
        // Versions and encodings this loader does not know.
        {"format version 2", [](Parts& p) { p.header.version = 2; }, kLoadBadVersion},
        {"encoding type 4", [](Parts& p) { p.header.encodingType = 4; }, kLoadBadVersion},
        // Sizes whose products overflow 32 bits or promise far more than
        // the file holds.
        {"huge map with a tiny layer",
         [](Parts& p) {
             p.header.mapWidth = 32767;
             p.header.mapHeight = 32767;
         },
         kLoadBadData},
        {"huge run-coded map with a tiny layer",
         [](Parts& p) {
             p.header.encodingType = 2;
             p.header.mapWidth = 32767;
             p.header.mapHeight = 32767;
             p.bodyData = fmp::shorts({-32767, 0});
         },
         kLoadBadData},
        {"huge graphics with a tiny graphics chunk",
         [](Parts& p) {
             p.header.blockWidth = 32767;
             p.header.blockHeight = 32767;
             p.header.graphicCount = 32767;
         },
         kLoadBadData},
        {"huge record count and size",
         [](Parts& p) {
             p.header.blockRecordCount = 32767;
             p.header.blockRecordSize = 32767;
             p.withBlocks = false;
             p.before = "";
             p.after = fmp::bkdt(p.blocks);
         },
         kLoadBadData},
        {"chunk length near 4 GiB", [](Parts& p) { p.after = "BIGG" + fmp::bigEndian32(0xFFFFFFF0u) + "only a few bytes"; },
         kLoadBadData},
    };
    return table;
}

class Malformed : public ::testing::Test {
protected:
    void SetUp() override { startHeadless(32); }
    void TearDown() override { freeMap(); }
};

TEST_F(Malformed, TheUnspoiledMapLoads)
{
    ASSERT_EQ(fmp::load(Parts().build()), 0) << tileMap.loadError;
}

TEST_F(Malformed, EachIsRefusedWithItsReasonAndLeavesNoMap)
{
    for (const Case& c : cases()) {
        Parts parts;
        c.spoil(parts);
        // A map loaded before must be gone too: the container was valid.
        ASSERT_EQ(fmp::load(fmp::sampleOffsets()), 0);
        EXPECT_EQ(fmp::load(parts.build()), -1) << c.name;
        EXPECT_EQ(tileMap.loadError, c.code) << c.name;
        EXPECT_TRUE(fmp::mapEmpty()) << c.name;
    }
}

TEST_F(Malformed, EveryTruncationIsRefusedAsShortData)
{
    // Cut anywhere, at chunk boundaries and inside headers and data alike,
    // the form length promises more than there is.
    const std::string whole = Parts().build();
    for (std::size_t size = 0; size < whole.size(); ++size) {
        EXPECT_EQ(fmp::load(whole.substr(0, size)), -1) << size;
        EXPECT_EQ(tileMap.loadError, kLoadBadData) << size;
        EXPECT_TRUE(fmp::mapEmpty()) << size;
    }
}

TEST_F(Malformed, FormEndingAtAChunkBoundaryBeforeTheGraphicsIsRefused)
{
    // The form length itself says the map ends early: the chunks before the
    // cut are decoded and the missing pieces refuse the map.
    const std::string whole = Parts().build();
    const std::size_t graphicsAt = whole.find("BGFX");
    std::string cut = whole.substr(0, graphicsAt);
    cut.replace(4, 4, fmp::bigEndian32(static_cast<uint32_t>(cut.size() - 8)));
    EXPECT_EQ(fmp::load(cut), -1);
    EXPECT_EQ(tileMap.loadError, kLoadBadData);
    EXPECT_TRUE(fmp::mapEmpty());
}

TEST_F(Malformed, FormLengthNear4GiBIsRefusedWhenTheFileEnds)
{
    std::string bytes = Parts().build();
    bytes.replace(4, 4, fmp::bigEndian32(0xFFFFFFFFu));
    EXPECT_EQ(fmp::load(bytes), -1);
    EXPECT_EQ(tileMap.loadError, kLoadBadData);
}

}  // namespace
