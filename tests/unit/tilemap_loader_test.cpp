// The map loader on FMP files built in the test from the file layout: every
// chunk decoder on bytes laid out by hand and by the builder in both byte
// orders, the tile graphics at every screen depth, the container, and
// refused files, each with its reason and what it leaves of a map loaded
// before (the sanitizer build checks for leaks and reads out of bounds).
#include "tests/support/fmp_bytes.h"
#include "tests/support/headless.h"
#include "tilemap/loader.h"
#include "tilemap/map_memory.h"
#include "tilemap/tilemap.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <utility>

namespace {

using namespace fmp;
using Ints = std::vector<int64_t>;

int load(const std::string& bytes)
{
    return loadMapFromMemory(bytes.data(), bytes.size());
}

// No array of the map is held (the header values may remain).
bool mapEmpty()
{
    const TileMap& m = tileMap;
    return std::count(std::begin(m.layers), std::end(m.layers), nullptr) == kLayerCount && !m.currentLayer &&
           !m.paletteData && !m.blockGraphics && !m.tileBitmaps && !m.blockRecords && !m.animRecords && !m.animFrames;
}

// 3 x 2 cells, two block records, two 2 x 2 graphics at 32 bits, frames 0
// and 1 and one animation over both; all in the header's byte order.
struct TestMap {
    Header header{1, 1, 3, 2, 2, 2, 32, 32, 2, 2};
    std::vector<Block> blocks{Block{}, Block{1, 1}};
    std::vector<int64_t> frames{0, 1};
    std::vector<Anim> anims{Anim{2, 0, 0, 0, 0, 0, 2}};
    std::vector<int> cells{0, 1, -1, 1, 1, 0};
    std::string mphdChunk, bkdtChunk, andtChunk, body;  // when not empty, used instead of the fields
    std::string palette = std::string(6, '\x20');
    std::string graphics = patternGraphics(2, 2, 2, 32);
    std::string before, after;  // chunks before MPHD and after BODY
    bool withBlocks = true, withAnims = true, withGraphics = true;

    std::string build() const
    {
        const bool little = header.littleEndian;
        std::string chunks = before + pick(mphdChunk, mphd(header)) + chunk("CMAP", palette);
        chunks += withBlocks ? pick(bkdtChunk, bkdt(blocks, little, header.blockRecordSize)) : "";
        chunks += withAnims ? pick(andtChunk, andt(frames, anims, little)) : "";
        chunks += withGraphics ? chunk("BGFX", graphics) : "";
        return form(chunks + chunk("BODY", pick(body, shorts(cells, little))) + after);
    }
    static std::string pick(const std::string& set, const std::string& built) { return set.empty() ? built : set; }
    int load() const { return ::load(build()); }
};

std::vector<int> cells(int layer = 0)
{
    return std::vector<int>(tileMap.layers[layer], tileMap.layers[layer] + tileMap.mapWidth * tileMap.mapHeight);
}

class Loader : public ::testing::Test {
protected:
    void SetUp() override { startHeadless(32); }
    void TearDown() override { freeMap(); }

    const std::string good = TestMap().build();
};

TEST_F(Loader, LittleEndianHeaderRecordsEndRecordAndPlacesAndAHeaderOf28Bytes)
{
    // The big-endian order of these fields is in the fmpinfo dump's map and in
    // the level's places test. Header: version 0, encoding 1; map 3 x 2;
    // blocks 2 x 1 at 24 bits; records of 40 bytes, 2 records, 4 graphics;
    // steps 5 x 6; staggers -2 and 2; two bytes not read. Cut to 28 bytes,
    // the block size is the step and nothing of the map loaded before remains.
    const std::string header("\0\0\x01\x01\x03\0\x02\0\0\0\0\0\x02\0\x01\0\x18\0\x28\0\x02\0\x04\0\0\0\0\0\x05\0\x06\0"
                             "\xFE\xFF\x02\0\x7F\x7F", 38);
    // back 3, fore1 1, fore2 0, fore3 2, users 0x11223344, 0xFFFFFFFE,
    // 0xABCD, 0x0304, 0x80, 7, 0xFF, flags 0xA5, padded with 0xEE; then a
    // record of zeros.
    const std::string records =
        std::string("\x03\0\0\0\x01\0\0\0\0\0\0\0\x02\0\0\0\x44\x33\x22\x11\xFE\xFF\xFF\xFF\xCD\xAB\x04\x03\x80\x07"
                    "\xFF\xA5", 32) + std::string(8, '\xEE') + std::string(32, 0) + std::string(8, '\xEE');
    for (const std::string& mphdData : {header, header.substr(0, 28)}) {
        const bool cut = mphdData.size() == 28;
        TestMap p;
        p.header.littleEndian = true;
        p.mphdChunk = chunk("MPHD", mphdData);
        p.bkdtChunk = chunk("BKDT", records);
        p.graphics = patternGraphics(4, 2, 1, 24);
        p.andtChunk = andt({}, {}, true);  // the end record alone
        p.cells = {0, 1, 0, 1, 1, 1};
        p.after = chunk("PLCS", shorts({2, 1, 5, 0, 0, 1, 0, 2, 0, 0, 1, 2, 1}, true));
        ASSERT_EQ(p.load(), 0) << cut << " " << tileMap.loadError;
        const TileMap& m = tileMap;
        EXPECT_EQ((Ints{m.littleEndian, m.encodingType, m.mapWidth, m.mapHeight, m.blockWidth, m.blockHeight,
                        m.graphicsDepth, m.blockDepth, m.blockRecordSize, m.blockRecordCount, m.graphicCount,
                        m.blockStepX, m.blockStepY, m.staggerX, m.staggerY}),
                  (Ints{1, 1, 3, 2, 2, 1, 24, 32, 40, 2, 4, cut ? 2 : 5, cut ? 1 : 6, cut ? 0 : -2, cut ? 0 : 2}))
            << cut;
        const BlockRecord& b = m.blockRecords[0];
        EXPECT_EQ((Ints{b.backGraphic.index, b.foreGraphic1.index, b.foreGraphic2.index, b.foreGraphic3.index,
                        b.userField1, b.userField2, b.userField3, b.userField4, b.userField5, b.userField6,
                        b.userField7, b.flags, m.blockRecords[1].userField1}),
                  (Ints{3, 1, 0, 2, 0x11223344, 0xFFFFFFFE, 0xABCD, 0x0304, 0x80, 7, 0xFF, 0xA5, 0}));
        EXPECT_EQ((Ints{m.animFrameCount, m.animRecordsEnd - m.animRecords, m.animRecords[0].type}), (Ints{0, 1, -1}));
        const MapPlaces& places = m.places;
        EXPECT_EQ((Ints{places.present, places.start.x, places.start.y, places.domeCount, places.domes[0].x,
                        places.domes[2].x, places.domes[4].x, places.domes[4].y}),
                  (Ints{1, 2, 1, 5, 0, 2, 2, 1}));
    }
}

TEST_F(Loader, AnimationKindsAreFoldedAndStartOnTheirFrame)
{
    // Backward kinds (2, and 6 and 7 folded to 6) start on the last frame of
    // their span, the others (8 folded to 5, 9 to 3) on the first.
    const struct {
        int type, first, end, foldedType, current;
    } rows[] = {{2, 4, 8, 2, 7}, {1, 4, 8, 1, 4}, {2, 1, 1, 2, 1}, {8, 1, 4, 5, 1}, {7, 1, 4, 6, 3},
                {9, 1, 4, 3, 1}, {6, 1, 4, 6, 3}, {0, 1, 4, 0, 1}};
    // Little-endian: the big-endian records are in the next test and the
    // fmpinfo dump's map.
    TestMap p;
    p.header.littleEndian = true;
    p.cells = {0, 0, -8, -1, 0, 0};
    p.frames = {0, 1, 1, 0, 1, 0, 0, 1};
    p.anims.clear();
    for (const auto& r : rows) {
        p.anims.push_back(Anim{r.type, 1, 2, 3, 0, r.first, r.end});
    }
    ASSERT_EQ(p.load(), 0) << tileMap.loadError;
    ASSERT_EQ(tileMap.animRecordsEnd - tileMap.animRecords, 9);
    EXPECT_EQ(Ints(tileMap.animFrames, tileMap.animFrames + 8), (Ints{0, 1, 1, 0, 1, 0, 0, 1}));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const AnimRecord& a = tileMap.animRecords[i + 1];
        EXPECT_EQ((Ints{a.type, a.delay, a.counter, a.userByte, a.currentFrame, a.firstFrame, a.endFrame}),
                  (Ints{rows[i].foldedType, 1, 2, 3, rows[i].current, rows[i].first, rows[i].end}))
            << "row " << i;
    }
}

TEST_F(Loader, ByteOffsetsBecomeNumbersAndPositionsWithEncodingZero)
{
    // 32 x 32 blocks at 16 bits: a graphic is 2048 bytes, a record 32. The
    // ANDT data is 48 bytes: four frames, the end record and one record; a
    // position is (value + 48) / 4, so -40 is 2 and -36 is 3. The end
    // record is never reset: it keeps its converted current value.
    TestMap p;
    p.header = Header{1, 0, 3, 2, 32, 32, 16, 32, 4, 4};
    p.graphics = patternGraphics(4, 32, 32, 16);
    p.blocks = {Block{6144, 2048}, {}, {}, {}};
    p.andtChunk = chunk("ANDT", fields(false, {{0, 4}, {32, 4}, {64, 4}, {96, 4}, {0xFF000000, 4},
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
    EXPECT_EQ(cells(), (std::vector<int>{0, 1, -1, 2, 3, 0}));
}

TEST_F(Loader, EveryLayerEncoding)
{
    // Byte offsets (encoding 0) are in the test above. The run coding reads
    // its values as the plain cells do, so one byte order is enough here.
    const struct {
        const char* name;
        int encoding, width, height;
        std::vector<int> data, cells;
    } rows[] = {
        {"plain", 1, 3, 2, {0, 1, 2, 3, -1, -2}, {0, 1, 2, 3, -1, -2}},
        {"literal then fill", 2, 5, 1, {3, 4, 5, 6, -2, 7}, {4, 5, 6, 7, 7}},
        {"count 0 takes two bytes", 2, 2, 1, {0, 1, 3, 0, 0, 1, 4}, {3, 4}},
        {"each row restarts its count", 2, 2, 3, {-2, 1, 1, 2, 1, 3, -2, 5}, {1, 1, 2, 3, 5, 5}},
        {"a fill is a value", 2, 3, 1, {-3, -1}, {-1, -1, -1}},
        {"bytes after a full layer", 2, 2, 1, {-2, 3, 99, 99, 99}, {3, 3}},
        {"back-copy of one cell", 3, 4, 1, {1, 6, -3, -1}, {6, 6, 6, 6}},
        {"back-copy of a pattern, a row", 3, 6, 2, {2, 1, 2, -4, -2, -6, -6}, {1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2}},
    };
    for (const auto& r : rows) {
        TestMap p;
        p.header = Header{1, r.encoding, r.width, r.height, 2, 2, 32, 32, 8, 1};
        p.blocks.assign(8, Block{});
        p.graphics = patternGraphics(1, 2, 2, 32);
        p.frames = {1};
        p.anims.assign(2, Anim{1, 0, 0, 0, 0, 0, 1});  // cells -1 and -2
        p.body = shorts(r.data);
        ASSERT_EQ(p.load(), 0) << r.name << " " << tileMap.loadError;
        EXPECT_EQ(cells(), r.cells) << r.name;
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

TEST_F(Loader, EverySourceDepthOntoEveryScreenDepth)
{
    for (const Source& s : kSources) {
        TestMap p;
        p.header = Header{1, 1, 3, 2, 4, 1, s.depth, 32, 2, 1};
        p.blocks = {Block{}, Block{}};
        p.palette = std::string("\x00\x00\x00\xFF\xFF\xFF\x00\x00\x00\x0C\x22\x38", 12);
        p.graphics = s.pixels;
        for (int target : {8, 15, 16, 24, 32}) {
            SCOPED_TRACE("from " + std::to_string(s.depth) + " bits to " + std::to_string(target));
            startHeadless(target);
            ASSERT_EQ(p.load(), 0) << tileMap.loadError;
            BITMAP* tile = tileMap.tileBitmaps[0];
            EXPECT_EQ((std::vector<int>{tileMap.blockDepth, bitmap_color_depth(tile), tile->w, tile->h, tile->clip}),
                      (std::vector<int>{target, target, 4, 1, 0}));
            const auto colour = [&](int r, int g, int b) { return makecol_depth(target, r, g, b); };
            std::vector<int> want{bitmap_mask_color(tile), colour(255, 255, 255), colour(0, 0, 0),
                                  colour(s.mid[0], s.mid[1], s.mid[2])};
            if (target == 8 && s.depth == 8) {
                want = {0, 1, 2, 3};  // an 8-bit map keeps its indices
            }
            EXPECT_EQ((std::vector<int>{getpixel(tile, 0, 0), getpixel(tile, 1, 0), getpixel(tile, 2, 0),
                                        getpixel(tile, 3, 0)}),
                      want);
        }
    }
}

TEST_F(Loader, ChunksAreWalkedWithoutPaddingUpToTheFormLength)
{
    // Odd lengths put later chunks on odd offsets, where a pad byte would
    // shift the ids; in a little-endian map the lengths stay big-endian. A
    // later header or layer replaces the earlier one.
    TestMap p;
    p.header.littleEndian = true;
    Header wide = p.header;
    wide.mapWidth = 50;
    p.before = chunk("ABCD", "x") + chunk("NOVC", "abc") + chunk("zz!z", "12345") + mphd(wide);
    p.after = layer(0, std::vector<int>(6, 1), true) + layer(4, {0, 1, 0, 1, 0, 1}, true);
    std::string bytes = p.build();
    ASSERT_EQ(load(bytes), 0) << tileMap.loadError;
    EXPECT_EQ(tileMap.mapWidth, 3);
    EXPECT_EQ(cells(), std::vector<int>(6, 1));
    EXPECT_EQ(cells(4), (std::vector<int>{0, 1, 0, 1, 0, 1}));
    EXPECT_EQ(tileMap.currentLayer, tileMap.layers[0]) << "an extra layer is not made current";
    // A form ending two bytes into the first BODY's data ends the walk there.
    bytes.replace(4, 4, fields(false, {{static_cast<int64_t>(bytes.find("BODY") + 2), 4}}));
    ASSERT_EQ(load(bytes), 0) << tileMap.loadError;
    EXPECT_EQ(cells(), (std::vector<int>{0, 1, -1, 1, 1, 0}));
    EXPECT_EQ(tileMap.layers[4], nullptr);
}

// Makes the request numbered failingRequest (from 0) fail, counting them.
int requestsMade = 0, failingRequest = 0;
bool failNow() { return requestsMade++ == failingRequest; }
void* allocateOrFail(std::size_t bytes) { return failNow() ? nullptr : std::malloc(bytes); }
void* allocateZeroedOrFail(std::size_t n, std::size_t size) { return failNow() ? nullptr : std::calloc(n, size); }
void* reallocateOrFail(void* block, std::size_t bytes) { return failNow() ? nullptr : std::realloc(block, bytes); }
BITMAP* createBitmapOrFail(int depth, int w, int h) { return failNow() ? nullptr : create_bitmap_ex(depth, w, h); }

TEST_F(Loader, RunningOutOfMemoryOrBitmapsAtAnyRequestLeavesNoMapAndSaysWhich)
{
    // Each request in turn fails, until a load needs fewer. 16-bit graphics
    // widen on a 32-bit screen (a second buffer); the big map grows its
    // chunk buffer, and is the one loaded at the end.
    TestMap wider;
    wider.header.blockDepth = 16;
    wider.graphics = patternGraphics(2, 2, 2, 16);
    // 300 graphics of 32 x 32 at 32 bits: a graphics chunk larger than the
    // loader's first chunk buffer (1 MiB), which must still load whole.
    TestMap big;
    big.header.blockWidth = big.header.blockHeight = 32;
    big.header.graphicCount = 300;
    big.graphics = patternGraphics(300, 32, 32, 32);
    const MapMemory failingMemory{allocateOrFail, allocateZeroedOrFail, reallocateOrFail, create_bitmap_ex};
    const MapMemory failingBitmaps{std::malloc, std::calloc, std::realloc, createBitmapOrFail};
    const struct {
        std::string map;
        MapMemory memory;
        int code, leastFailures;
    } sweeps[] = {{wider.build(), failingMemory, kLoadNoMemory, 14},
                  {good, failingBitmaps, kLoadNoBitmap, 2},
                  {big.build(), failingMemory, kLoadNoMemory, 14}};
    for (const auto& sweep : sweeps) {
        int failures = 0;
        for (failingRequest = 0;; ++failingRequest, ++failures) {
            ASSERT_EQ(load(good), 0);
            requestsMade = 0;
            mapMemory = sweep.memory;
            const int result = load(sweep.map);
            mapMemory = defaultMapMemory();
            if (requestsMade <= failingRequest) {
                EXPECT_EQ(result, 0) << tileMap.loadError;
                break;
            }
            EXPECT_EQ(result, -1) << failingRequest;
            EXPECT_EQ(tileMap.loadError, sweep.code) << failingRequest;
            EXPECT_TRUE(mapEmpty()) << failingRequest;
        }
        EXPECT_GE(failures, sweep.leastFailures);
    }
    // The last pixel of the last graphic: bytes 4093 to 4095 of its pattern.
    const auto byte = [](int i) { return (299 * 37 + i * 11 + 1) & 0xFF; };
    EXPECT_EQ(getpixel(tileMap.tileBitmaps[299], 31, 31), makecol32(byte(4093), byte(4094), byte(4095)));
}

struct Case {
    const char* name;
    void (*spoil)(TestMap&);
};

std::string cutHeader(int length)
{
    return chunk("MPHD", mphd(TestMap().header).substr(8, static_cast<std::size_t>(length)));
}

void runs(TestMap& p, int encoding, const std::vector<int>& stream)
{
    p.header.encodingType = encoding;
    p.body = shorts(stream);
}

// Data that ends before what it promises, or sizes promising far more
// than there is (their products overflow 32 bits).
const std::vector<Case> kShortData = {
    {"header shorter than its fields", [](TestMap& p) { p.before = cutHeader(23); }},
    {"header of 35 bytes", [](TestMap& p) { p.before = cutHeader(35); }},
    {"block records cut short", [](TestMap& p) { p.header.blockRecordCount = 3; }},
    {"no block records", [](TestMap& p) { p.withBlocks = false; }},
    {"animations without end record", [](TestMap& p) { p.andtChunk = chunk("ANDT", shorts(std::vector<int>(10, 1))); }},
    {"frames not whole entries",
     [](TestMap& p) { p.andtChunk = chunk("ANDT", std::string(2, 0) + "\xFF" + std::string(15, 0)); }},
    {"graphics cut short", [](TestMap& p) { p.graphics.pop_back(); }},
    {"no graphics", [](TestMap& p) { p.withGraphics = false; }},
    {"plain layer one cell short", [](TestMap& p) { p.cells.pop_back(); }},
    {"run overshoots its row", [](TestMap& p) { runs(p, 2, {4, 0, 0, 0, 0, 3, 0, 0, 0}); }},
    {"fill overshoots its row", [](TestMap& p) { runs(p, 2, {2, 0, 0, -2, 0, -3, 0}); }},
    {"runs end before the layer is full", [](TestMap& p) { runs(p, 2, {-3, 0, 1}); }},
    {"run count without its value", [](TestMap& p) { runs(p, 2, {-3, 0, -3}); }},
    {"back-copy before the first cell", [](TestMap& p) { runs(p, 3, {1, 0, -2, -2, -3, -3}); }},
    {"back-copy of the cell being written", [](TestMap& p) { runs(p, 3, {1, 0, -2, 0, -3, -3}); }},
    {"chunk length near 4 GiB",
     [](TestMap& p) { p.after = "BIGG" + fields(false, {{0xFFFFFFF0, 4}}) + "a few bytes"; }},
    {"huge map", [](TestMap& p) { p.header.mapWidth = p.header.mapHeight = 32767; }},
    {"huge run-coded map", [](TestMap& p) { p.header.mapWidth = p.header.mapHeight = 32767; runs(p, 2, {-32767, 0}); }},
    {"huge graphics", [](TestMap& p) { p.header.blockWidth = p.header.blockHeight = p.header.graphicCount = 32767; }},
    {"huge record count and size", [](TestMap& p) { p.header.blockRecordCount = p.header.blockRecordSize = 32767; }},
};

// References to what does not exist, and sizes that cannot be.
const std::vector<Case> kBadReferences = {
    {"cell names a missing block", [](TestMap& p) { p.cells[1] = 2; }},
    {"cell names a missing animation", [](TestMap& p) { p.cells[1] = -2; }},
    {"animation cell without animations", [](TestMap& p) { p.withAnims = false; }},
    {"extra layer names a missing block", [](TestMap& p) { p.after = layer(2, {0, 0, 0, 0, 0, 7}); }},
    {"frame names a missing block", [](TestMap& p) { p.frames = {0, 2}; }},
    {"frame names a negative block", [](TestMap& p) { p.frames = {-1, 0}; }},
    {"animation ends past the frames", [](TestMap& p) { p.anims[0].end = 3; }},
    {"animation starts before the frames", [](TestMap& p) { p.anims[0].first = -1; }},
    {"animation starts after it ends", [](TestMap& p) { p.anims[0] = Anim{2, 0, 0, 0, 0, 2, 1}; }},
    {"empty animation after the frames", [](TestMap& p) { p.anims[0] = Anim{1, 0, 0, 0, 0, 2, 2}; }},
    {"frame positions of extreme offsets", [](TestMap& p) {
         p.header.encodingType = 0;
         p.blocks[1] = Block{16, 16};  // graphic 1, 16 bytes on
         p.frames = {0, 32};
         p.anims[0] = Anim{2, 0, 0, 0, 0, INT32_MIN, INT32_MAX};
         p.cells = {0, 32, -16, 32, 32, 0};
     }},
    {"background graphic past the graphics", [](TestMap& p) { p.blocks[0].back = 2; }},
    {"negative background graphic", [](TestMap& p) { p.blocks[0].back = -1; }},
    {"foreground graphic past the graphics", [](TestMap& p) { p.blocks[1].fore3 = 2; }},
    {"palette index beyond the palette",
     [](TestMap& p) { p.header.blockDepth = 8; p.graphics = std::string("\x01\x01\x00\x02\x00\x00\x00\x01", 8); }},
    {"8-bit graphics without palette",
     [](TestMap& p) { p.header.blockDepth = 8; p.palette.clear(); p.graphics = std::string(8, 1); }},
    {"header depth 12", [](TestMap& p) { p.header.blockDepth = 12; }},
    {"map width 0", [](TestMap& p) { p.header.mapWidth = 0; }},
    {"negative map height", [](TestMap& p) { p.header.mapHeight = -2; }},
    {"block width 0", [](TestMap& p) { p.header.blockWidth = 0; }},
    {"negative block height", [](TestMap& p) { p.header.blockHeight = -1; }},
    {"block step 0", [](TestMap& p) { p.header.blockStepX = 0; }},
    {"record size below the 32 bytes read",
     [](TestMap& p) { p.header.blockRecordSize = 31; p.bkdtChunk = chunk("BKDT", std::string(64, 0)); }},
    {"negative record count", [](TestMap& p) { p.header.blockRecordCount = -1; }},
    {"negative graphic count", [](TestMap& p) { p.header.graphicCount = -1; }},
    {"block records before the header", [](TestMap& p) { p.before = bkdt(p.blocks); }},
    {"animations before the header", [](TestMap& p) { p.before = andt({}, {}); }},
    {"layer before the header", [](TestMap& p) { p.before = layer(0, std::vector<int>(6, 0)); }},
    {"second header after the layers", [](TestMap& p) { p.after = mphd(p.header); }},
};

// The places chunk: start x, y, dome count, then the domes (map 3 x 2).
std::string placesChunk(const std::vector<int>& values) { return chunk("PLCS", shorts(values)); }
const std::vector<Case> kBadPlaces = {
    {"no dome", [](TestMap& p) { p.after = placesChunk({0, 0, 0}); }},
    {"six domes", [](TestMap& p) { p.after = placesChunk({0, 0, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}); }},
    {"a dome short", [](TestMap& p) { p.after = placesChunk({0, 0, 2, 1, 1}); }},
    {"a byte too many", [](TestMap& p) { p.after = chunk("PLCS", shorts({0, 0, 1, 1, 1}) + "x"); }},
    {"count missing", [](TestMap& p) { p.after = placesChunk({0, 0}); }},
    {"start right of the map", [](TestMap& p) { p.after = placesChunk({3, 0, 1, 1, 1}); }},
    {"start above the map", [](TestMap& p) { p.after = placesChunk({0, -1, 1, 1, 1}); }},
    {"dome below the map", [](TestMap& p) { p.after = placesChunk({0, 0, 2, 1, 1, 2, 2}); }},
    {"dome left of the map", [](TestMap& p) { p.after = placesChunk({0, 0, 1, -1, 0}); }},
    {"places before the header", [](TestMap& p) { p.before = placesChunk({0, 0, 1, 1, 1}); }},
};

const std::vector<Case> kUnknownVersions = {
    {"format version 2", [](TestMap& p) { p.header.version = 2; }},
    {"encoding type 4", [](TestMap& p) { p.header.encodingType = 4; }},
};

const std::vector<Case> kNoScreen = {{"no screen to realise the graphics for", [](TestMap&) { screen = nullptr; }}};

TEST_F(Loader, EachMalformedFileIsRefusedWithItsReasonAndLeavesNoMap)
{
    for (const auto& [cases, code] : {std::pair(&kShortData, kLoadBadData),
                                      std::pair(&kBadReferences, kLoadBadReference),
                                      std::pair(&kUnknownVersions, kLoadBadVersion),
                                      std::pair(&kBadPlaces, kLoadBadPlaces),
                                      std::pair(&kNoScreen, kLoadNoScreen)}) {
        for (const Case& c : *cases) {
            ASSERT_EQ(load(good), 0);  // goes too: the container was valid
            TestMap map;
            BITMAP* saved = screen;
            c.spoil(map);
            EXPECT_EQ(map.load(), -1) << c.name;
            screen = saved;
            EXPECT_EQ(tileMap.loadError, code) << c.name;
            EXPECT_TRUE(mapEmpty()) << c.name;
        }
    }
}

TEST_F(Loader, BadContainersKeepThePreviousMapAndEveryTruncationLeavesNone)
{
    // Until FORM and FMAP have been read the map loaded before stays. Cut
    // anywhere after them, or with a form length near 4 GiB, the file ends
    // before what the form length promises and nothing remains. (Loading
    // the shipped files, plain and packed, is in the shipped maps' test.)
    std::string notForm = good, notFmap = good, endless = good;
    notForm.replace(0, 4, "FORN");
    notFmap.replace(8, 4, "FMAQ");
    endless.replace(4, 4, fields(false, {{0xFFFFFFFF, 4}}));
    std::ifstream packedFile(gameDir() + "/test.fmp", std::ios::binary);
    const std::string packed(std::istreambuf_iterator<char>(packedFile), {});
    ASSERT_EQ(packed.compare(0, 4, "slh!"), 0);
    // Memory input is taken as a plain map only.
    std::vector<std::pair<std::string, bool>> files{{notForm, true}, {notFmap, true}, {packed, true}, {endless, false}};
    for (std::size_t size = 0; size < good.size(); ++size) {
        files.emplace_back(good.substr(0, size), size < 12);
    }
    for (const auto& [bytes, kept] : files) {
        ASSERT_EQ(load(good), 0);
        EXPECT_EQ(load(bytes), -1) << bytes.size();
        EXPECT_EQ(tileMap.loadError, kLoadBadData) << bytes.size();
        EXPECT_NE(mapEmpty(), kept) << bytes.size();
    }
    ASSERT_EQ(load(good), 0);
    EXPECT_EQ(loadMap((gameDir() + "/absent.fmp").c_str()), -1);
    EXPECT_EQ(tileMap.loadError, kLoadCannotOpen);
    EXPECT_FALSE(mapEmpty()) << "previous map kept";
    EXPECT_EQ(load(form("")), -1);
    EXPECT_EQ(tileMap.loadError, kLoadBadReference) << "no map header at all";
}

}  // namespace
