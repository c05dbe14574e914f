// Test helpers around the loaded tile map: a small valid map whose pieces a
// test spoils or changes, loading bytes, and asking whether the map is empty.
#pragma once

#include "tests/support/fmp_bytes.h"
#include "tests/support/headless.h"
#include "tilemap/loader.h"
#include "tilemap/tilemap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace fmp {

inline int load(const std::string& bytes)
{
    return loadMapFromMemory(bytes.data(), bytes.size());
}

// No array of the map is held (the header values may remain).
inline bool mapEmpty()
{
    const TileMap& m = tileMap;
    return std::count(std::begin(m.layers), std::end(m.layers), nullptr) == kLayerCount && !m.currentLayer &&
           !m.paletteData && !m.blockGraphics && !m.tileBitmaps && !m.blockRecords && !m.animRecords && !m.animFrames;
}

// 3 x 2 cells, two block records, two 2 x 2 graphics at 32 bits, frames 0
// and 1 and one animation over both; all in the header's byte order.
struct Parts {
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
    static std::string pick(const std::string& given, const std::string& built) { return given.empty() ? built : given; }
    int load() const { return fmp::load(build()); }
};

inline std::vector<int> cells(int layer = 0)
{
    return std::vector<int>(tileMap.layers[layer], tileMap.layers[layer] + tileMap.mapWidth * tileMap.mapHeight);
}

}  // namespace fmp

class LoaderTest : public ::testing::Test {
protected:
    void SetUp() override { startHeadless(32); }
    void TearDown() override { freeMap(); }
};
