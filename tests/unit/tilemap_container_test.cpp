// The FMP container: packed and plain files, the FORM/FMAP check, the chunk
// walk, and refused files: each with its reason, and what it
// leaves of a map loaded before (the sanitizer build checks for leaks and
// reads out of bounds).
#include "tests/support/fmp_checks.h"

#include <allegro.h>

#include <fstream>
#include <sstream>
#include <utility>

namespace {

using fmp::chunk;
using fmp::Parts;
using fmp::shorts;

std::string readWhole(const std::string& path)
{
    std::ostringstream out;
    out << std::ifstream(path, std::ios::binary).rdbuf();
    return out.str();
}

class Container : public LoaderTest {
protected:
    TempDir dir;
    const std::string good = Parts().build();
};

TEST_F(Container, PlainAndPackedFilesLoadAndEarlyRefusalsKeepThePreviousMap)
{
    const std::string plain = dir.file("plain.fmp"), packed = dir.file("packed.fmp");
    ASSERT_TRUE(writeFile(plain, good));
    PACKFILE* out = pack_fopen(packed.c_str(), "wp");
    ASSERT_NE(out, nullptr);
    pack_fwrite(good.data(), static_cast<long>(good.size()), out);
    pack_fclose(out);
    const std::string packedBytes = readWhole(packed);
    ASSERT_NE(packedBytes.compare(0, 4, "FORM"), 0);
    for (const std::string& path : {plain, packed}) {
        ASSERT_EQ(loadMap(path.c_str()), 0) << path;
        EXPECT_EQ(tileMap.bitmapMode, 2);
        EXPECT_EQ(tileMap.mapFile, nullptr) << "closed once the load is over";
        EXPECT_EQ(fmp::cells(), (std::vector<int>{0, 1, -1, 1, 1, 0}));
    }
    EXPECT_EQ(loadMap(dir.file("absent.fmp").c_str()), -1);
    EXPECT_EQ(tileMap.loadError, kLoadCannotOpen);
    EXPECT_NE(tileMap.tileBitmaps, nullptr);
    std::string notForm = good, notFmap = good;
    notForm.replace(0, 4, "FORN");
    notFmap.replace(8, 4, "FMAQ");
    // Memory input is taken as a plain map only.
    for (const std::string& bytes : {notForm, notFmap, good.substr(0, 3), good.substr(0, 7), good.substr(0, 11),
                                     std::string(), packedBytes}) {
        EXPECT_EQ(fmp::load(bytes), -1) << bytes.size();
        EXPECT_EQ(tileMap.loadError, kLoadBadData);
        EXPECT_NE(tileMap.tileBitmaps, nullptr) << "previous map kept";
    }
}

TEST_F(Container, RefusalAfterTheContainerHeaderLeavesNoMap)
{
    // Chunks without a map header; then a good map with no screen.
    for (BITMAP* target : {screen, static_cast<BITMAP*>(nullptr)}) {
        ASSERT_EQ(Parts().load(), 0);
        BITMAP* saved = std::exchange(screen, target);
        const int result = fmp::load(target ? fmp::form("") : good);
        screen = saved;
        EXPECT_EQ(result, -1);
        EXPECT_EQ(tileMap.loadError, target ? kLoadBadReference : kLoadNoScreen);
        EXPECT_TRUE(fmp::mapEmpty());
    }
}

TEST_F(Container, ChunksAreWalkedWithoutPaddingUpToTheFormLength)
{
    // Odd lengths put later chunks on odd offsets, where a pad byte would
    // shift the ids; in a little-endian map the lengths stay big-endian. A
    // later header or layer replaces the earlier one.
    Parts p;
    p.header.littleEndian = true;
    fmp::Header wide = p.header;
    wide.mapWidth = 50;
    p.before = chunk("ABCD", "x") + chunk("NOVC", "abc") + chunk("zz!z", "12345") + fmp::mphd(wide);
    p.after = fmp::layer(0, std::vector<int>(6, 1), true) + fmp::layer(4, {0, 1, 0, 1, 0, 1}, true);
    std::string bytes = p.build();
    ASSERT_NE(bytes.find(std::string("BKDT\0\0\0\x40", 8)), std::string::npos);
    ASSERT_EQ(fmp::load(bytes), 0) << tileMap.loadError;
    EXPECT_EQ(tileMap.mapWidth, 3);
    EXPECT_EQ(fmp::cells(), std::vector<int>(6, 1));
    EXPECT_EQ(fmp::cells(4), (std::vector<int>{0, 1, 0, 1, 0, 1}));
    EXPECT_EQ(tileMap.currentLayer, tileMap.layers[0]) << "an extra layer is not made current";
    // A form ending two bytes into the first BODY's data ends the walk there.
    bytes.replace(4, 4, fmp::bigEndian32(static_cast<uint32_t>(bytes.find("BODY") + 2)));
    ASSERT_EQ(fmp::load(bytes), 0) << tileMap.loadError;
    EXPECT_EQ(fmp::cells(), (std::vector<int>{0, 1, -1, 1, 1, 0}));
    EXPECT_EQ(tileMap.layers[4], nullptr);
    const uint8_t length[] = {0xFF, 0x02, 0x03, 0x04};
    EXPECT_EQ(readChunkLength(length), 0xFF020304u);
}

struct Case {
    const char* name;
    void (*spoil)(Parts&);
};

std::string cutHeader(int length)
{
    return chunk("MPHD", fmp::mphd(Parts().header).substr(8, static_cast<std::size_t>(length)));
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
         p.blocks[1] = fmp::Block{16, 16};  // graphic 1, 16 bytes on
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

TEST_F(Container, EachMalformedFileIsRefusedWithItsReasonAndLeavesNoMap)
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

TEST_F(Container, EveryTruncationIsRefusedAsShortData)
{
    // Cut anywhere, or with a form length near 4 GiB, the file ends before
    // what the form length promises.
    std::vector<std::string> cuts{good};
    cuts[0].replace(4, 4, fmp::bigEndian32(0xFFFFFFFFu));
    for (std::size_t size = 0; size < good.size(); ++size) {
        cuts.push_back(good.substr(0, size));
    }
    for (const std::string& cut : cuts) {
        EXPECT_EQ(fmp::load(cut), -1) << cut.size();
        EXPECT_EQ(tileMap.loadError, kLoadBadData) << cut.size();
        EXPECT_TRUE(fmp::mapEmpty()) << cut.size();
    }
}

}  // namespace
