// Malformed maps: each is refused with its reason and leaves no map behind
// (the sanitizer build checks that nothing leaks or is read out of bounds).
#include "tests/support/fmp_checks.h"

namespace {

using fmp::chunk;
using fmp::Parts;
using fmp::shorts;

struct Case {
    const char* name;
    void (*spoil)(Parts&);
};

std::string cutHeader(int length)
{
    return chunk("MPHD", fmp::headerData(Parts().header).substr(0, static_cast<std::size_t>(length)));
}

void runs(Parts& p, int encoding, const std::vector<int>& stream)
{
    p.header.encodingType = encoding;
    p.body = shorts(stream);
}

// Data that ends before what it promises, or sizes promising far more
// than there is (their products overflow 32 bits).
const std::vector<Case> kShortData = {
    {"header shorter than its fields", [](Parts& p) { p.before = cutHeader(23); }},
    {"header cut inside the steps", [](Parts& p) { p.before = cutHeader(30); }},
    {"header of 35 bytes", [](Parts& p) { p.before = cutHeader(35); }},
    {"block records cut short", [](Parts& p) { p.header.blockRecordCount = 3; }},
    {"no block records", [](Parts& p) { p.withBlocks = false; }},
    {"animations without end record", [](Parts& p) { p.andtChunk = chunk("ANDT", shorts(std::vector<int>(10, 1))); }},
    {"empty animations chunk", [](Parts& p) { p.andtChunk = chunk("ANDT", ""); }},
    {"frames not whole entries",
     [](Parts& p) { p.andtChunk = chunk("ANDT", std::string(2, 0) + "\xFF" + std::string(15, 0)); }},
    {"graphics cut short", [](Parts& p) { p.graphics.pop_back(); }},
    {"no graphics", [](Parts& p) { p.withGraphics = false; }},
    {"plain layer one cell short", [](Parts& p) { p.cells.pop_back(); }},
    {"plain layer a byte short", [](Parts& p) { p.body = shorts(p.cells).substr(1); }},
    {"run overshoots its row", [](Parts& p) { runs(p, 2, {4, 0, 0, 0, 0, 2, 0, 0}); }},
    {"fill overshoots its row", [](Parts& p) { runs(p, 2, {2, 0, 0, -2, 0, -3, 0}); }},
    {"fill overshoots the layer", [](Parts& p) { runs(p, 2, {-3, 0, -4, 0}); }},
    {"runs end before the layer is full", [](Parts& p) { runs(p, 2, {-3, 0, 1}); }},
    {"run count without its value", [](Parts& p) { runs(p, 2, {-3, 0, -3}); }},
    {"back-copy before the first cell", [](Parts& p) { runs(p, 3, {1, 0, -2, -2, -3, -3}); }},
    {"back-copy of the cell being written", [](Parts& p) { runs(p, 3, {1, 0, -2, 0, -3, -3}); }},
    {"back-copy of cells not yet written", [](Parts& p) { runs(p, 3, {1, 0, -2, 1, -3, -3}); }},
    {"chunk length near 4 GiB", [](Parts& p) { p.after = "BIGG" + fmp::bigEndian32(0xFFFFFFF0u) + "a few bytes"; }},
    {"huge map", [](Parts& p) { p.header.mapWidth = p.header.mapHeight = 32767; }},
    {"huge run-coded map", [](Parts& p) { p.header.mapWidth = p.header.mapHeight = 32767; runs(p, 2, {-32767, 0}); }},
    {"huge graphics", [](Parts& p) { p.header.blockWidth = p.header.blockHeight = p.header.graphicCount = 32767; }},
    {"huge record count and size", [](Parts& p) { p.header.blockRecordCount = p.header.blockRecordSize = 32767; }},
};

// References to what does not exist, and sizes that cannot be.
const std::vector<Case> kBadReferences = {
    {"cell names a missing block", [](Parts& p) { p.cells[1] = 2; }},
    {"cell names a missing animation", [](Parts& p) { p.cells[1] = -2; }},
    {"animation cell without animations", [](Parts& p) { p.withAnims = false; }},
    {"extra layer names a missing block", [](Parts& p) { p.after = fmp::layer(2, {0, 0, 0, 0, 0, 7}); }},
    {"frame names a missing block", [](Parts& p) { p.frames = {0, 2}; }},
    {"frame names a negative block", [](Parts& p) { p.frames = {-1, 0}; }},
    {"animation ends past the frames", [](Parts& p) { p.anims[0].end = 3; }},
    {"animation starts before the frames", [](Parts& p) { p.anims[0].first = -1; }},
    {"animation starts after it ends", [](Parts& p) { p.anims[0] = fmp::Anim{2, 0, 0, 0, 0, 2, 1}; }},
    {"empty animation after the frames", [](Parts& p) { p.anims[0] = fmp::Anim{1, 0, 0, 0, 0, 2, 2}; }},
    {"frame positions of extreme offsets", [](Parts& p) {
         p.header.encodingType = 0;
         p.blocks[1] = fmp::Block{16, 16};
         p.frames = {0, 32};
         p.anims[0] = fmp::Anim{2, 0, 0, 0, 0, INT32_MIN, INT32_MAX};
         p.cells = {0, 32, -16, 32, 32, 0};
     }},
    {"background graphic past the graphics", [](Parts& p) { p.blocks[0].back = 2; }},
    {"negative background graphic", [](Parts& p) { p.blocks[0].back = -1; }},
    {"foreground graphic past the graphics", [](Parts& p) { p.blocks[1].fore3 = 2; }},
    {"negative foreground graphic", [](Parts& p) { p.blocks[1].fore2 = -1; }},
    {"palette index beyond the palette",
     [](Parts& p) { p.header.blockDepth = 8; p.graphics = std::string("\x01\x01\x00\x02\x00\x00\x00\x01", 8); }},
    {"8-bit graphics without palette",
     [](Parts& p) { p.header.blockDepth = 8; p.palette.clear(); p.graphics = std::string(8, 1); }},
    {"header depth 12", [](Parts& p) { p.header.blockDepth = 12; }},
    {"map width 0", [](Parts& p) { p.header.mapWidth = 0; }},
    {"negative map height", [](Parts& p) { p.header.mapHeight = -2; }},
    {"block width 0", [](Parts& p) { p.header.blockWidth = 0; }},
    {"negative block height", [](Parts& p) { p.header.blockHeight = -1; }},
    {"block step 0", [](Parts& p) { p.header.blockStepX = 0; }},
    {"record size 0", [](Parts& p) { p.header.blockRecordSize = 0; }},
    {"record size below the 32 bytes read",
     [](Parts& p) { p.header.blockRecordSize = 31; p.bkdtChunk = chunk("BKDT", std::string(64, 0)); }},
    {"negative record count", [](Parts& p) { p.header.blockRecordCount = -1; }},
    {"negative graphic count", [](Parts& p) { p.header.graphicCount = -1; }},
    {"block records before the header", [](Parts& p) { p.before = fmp::bkdt(p.blocks); }},
    {"animations before the header", [](Parts& p) { p.before = fmp::andt({}, {}); }},
    {"layer before the header", [](Parts& p) { p.before = fmp::layer(0, std::vector<int>(6, 0)); }},
    {"second header after the layers", [](Parts& p) { p.after = fmp::mphd(p.header); }},
};

const std::vector<Case> kUnknownVersions = {
    {"format version 2", [](Parts& p) { p.header.version = 2; }},
    {"encoding type 4", [](Parts& p) { p.header.encodingType = 4; }},
};

using Malformed = LoaderTest;

TEST_F(Malformed, EachIsRefusedWithItsReasonAndLeavesNoMap)
{
    for (const auto& [cases, code] : {std::pair(&kShortData, kLoadBadData),
                                      std::pair(&kBadReferences, kLoadBadReference),
                                      std::pair(&kUnknownVersions, kLoadBadVersion)}) {
        for (const Case& c : *cases) {
            Parts parts;
            c.spoil(parts);
            ASSERT_EQ(Parts().load(), 0);  // goes too: the container was valid
            EXPECT_EQ(parts.load(), -1) << c.name;
            EXPECT_EQ(tileMap.loadError, code) << c.name;
            EXPECT_TRUE(fmp::mapEmpty()) << c.name;
        }
    }
}

TEST_F(Malformed, EveryTruncationIsRefusedAsShortData)
{
    // Cut anywhere, the form length promises more than there is; ended by
    // the form length at a chunk boundary, the missing chunks refuse it.
    const std::string whole = Parts().build();
    std::vector<std::string> cuts;
    for (std::size_t size = 0; size < whole.size(); ++size) {
        cuts.push_back(whole.substr(0, size));
    }
    for (const char* id : {"CMAP", "BKDT", "BGFX"}) {
        cuts.push_back(whole.substr(0, whole.find(id)));
        cuts.back().replace(4, 4, fmp::bigEndian32(static_cast<uint32_t>(cuts.back().size() - 8)));
    }
    cuts.push_back(whole);
    cuts.back().replace(4, 4, fmp::bigEndian32(0xFFFFFFFFu));
    for (const std::string& cut : cuts) {
        EXPECT_EQ(fmp::load(cut), -1) << cut.size();
        EXPECT_EQ(tileMap.loadError, kLoadBadData) << cut.size();
        EXPECT_TRUE(fmp::mapEmpty()) << cut.size();
    }
}

}  // namespace
