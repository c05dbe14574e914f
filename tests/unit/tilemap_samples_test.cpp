// The sample maps that seed the fuzzer must be valid maps: each loads at
// every screen depth, and the committed seed files are exactly the samples.
#include "tests/support/fmp_samples.h"
#include "tests/support/headless.h"
#include "tilemap/loader.h"
#include "tilemap/tilemap.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string readWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

TEST(SampleMaps, EachLoadsAtEveryScreenDepth)
{
    for (int depth : {8, 15, 16, 24, 32}) {
        startHeadless(depth);
        for (const auto& [name, bytes] : fmp::sampleMaps()) {
            EXPECT_EQ(loadMapFromMemory(bytes.data(), bytes.size()), 0) << name << " at " << depth;
            EXPECT_EQ(tileMap.loadError, kLoadOk) << name << " at " << depth;
            EXPECT_EQ(tileMap.blockDepth, depth) << name;
            ASSERT_NE(tileMap.tileBitmaps, nullptr) << name;
            EXPECT_EQ(tileMap.tileBitmaps[tileMap.graphicCount], nullptr) << name;
            freeMap();
        }
    }
}

TEST(SampleMaps, FuzzSeedsAreTheSamples)
{
    const std::string corpus = std::string(GLIM_TEST_DATA_DIR) + "/../../fuzz/corpus/loadmap_fuzzer/";
    for (const auto& [name, bytes] : fmp::sampleMaps()) {
        EXPECT_EQ(readWhole(corpus + name), bytes) << name;
    }
}

}  // namespace
