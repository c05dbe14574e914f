// The generated assets as the game finds them: what of the format each
// shipped map uses, the cart's start cell and the dome ground against the
// track, and the frames of every sprite strip.
#include "tests/support/headless.h"
#include "tilemap/loader.h"
#include "tilemap/lookup.h"
#include "tilemap/tilemap.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>

namespace {

constexpr int kCell = 32;
constexpr int kDomeSize = 128;
constexpr int kShotRange = 250;
constexpr uint8_t kWayBits = 0x0F;

struct ShippedMap {
    const char* file;
    int graphicsDepth, littleEndian, encodingType, layerCount, startColumn, startRow, domeX, domeY;
};
const ShippedMap kLevelOne{"level1.fmp", 16, 0, 3, 2, 5, 4, 288, 160};
const ShippedMap kTestMap{"test.fmp", 8, 1, 0, 1, 10, 11, 640, 480};

class ShippedMapTest : public ::testing::TestWithParam<ShippedMap> {};

int ways(int layer, int column, int row)
{
    selectLayer(layer);
    return getBlockAt(column, row)->flags & kWayBits;
}

TEST_P(ShippedMapTest, FormatTrackStartAndDomeGround)
{
    const ShippedMap& map = GetParam();
    startHeadless(32);
    ASSERT_EQ(0, loadMap((gameDir() + "/" + map.file).c_str())) << "loadError " << tileMap.loadError;
    // Memory bitmaps, the file closed once the load is over, and no places
    // in a map without the chunk.
    EXPECT_EQ(std::tuple(2, nullptr, false), std::tuple(tileMap.bitmapMode, tileMap.mapFile, tileMap.places.present));
    EXPECT_EQ(std::tuple(map.graphicsDepth, map.littleEndian, map.encodingType),
              std::tuple(tileMap.graphicsDepth, tileMap.littleEndian, tileMap.encodingType));
    for (int n = 0; n < kLayerCount; ++n) {
        EXPECT_EQ(n < map.layerCount, tileMap.layers[n] != nullptr) << "layer " << n;
    }
    EXPECT_TRUE(tileMap.mapWidth >= 40 && tileMap.mapHeight >= 30) << tileMap.mapWidth << " x " << tileMap.mapHeight;
    EXPECT_TRUE(tileMap.blockWidth == kCell && tileMap.blockHeight == kCell);
    const int cells = tileMap.mapWidth * tileMap.mapHeight;
    if (map.graphicsDepth == 8) {
        EXPECT_NE(nullptr, tileMap.paletteData);
    } else {
        // Level 1: animated cells, and a layer 1 of mostly see-through block 0
        // with some overlays.
        EXPECT_GT(std::count_if(tileMap.layers[0], tileMap.layers[0] + cells, [](int16_t c) { return c < 0; }), 0);
        const int seeThrough = std::count(tileMap.layers[1], tileMap.layers[1] + cells, 0);
        EXPECT_TRUE(seeThrough > cells / 2 && seeThrough < cells) << seeThrough << " see-through cells of " << cells;
        BITMAP* empty = tileMap.blockRecords[0].backGraphic.bitmap;
        for (auto [x, y] : {std::pair{0, 0}, {kCell / 2, kCell / 2}, {kCell - 1, kCell - 1}}) {
            EXPECT_EQ(bitmap_mask_color(empty), getpixel(empty, x, y)) << "block 0 is see-through";
        }
    }

    // The cart's start cell and the dome's ground, against the track.
    const int cartLayer = tileMap.layers[1] ? 1 : 0;
    EXPECT_NE(0, ways(cartLayer, map.startColumn, map.startRow));
    double nearest = 1e9;
    for (int row = 0; row < tileMap.mapHeight; ++row) {
        for (int column = 0; column < tileMap.mapWidth; ++column) {
            SCOPED_TRACE(testing::Message() << "cell (" << column << ", " << row << ")");
            const int track = ways(cartLayer, column, row);
            const int x = column * kCell;
            const int y = row * kCell;
            if (x < map.domeX + kDomeSize && x + kCell > map.domeX && y < map.domeY + kDomeSize &&
                y + kCell > map.domeY) {
                EXPECT_EQ(0, track) << "track under the dome";
                EXPECT_GE(tileMap.layers[0][row * tileMap.mapWidth + column], 0) << "water under the dome";
            } else if (track) {
                const double dx = std::max({map.domeX - x - kCell / 2.0, 0.0, x + kCell / 2.0 - map.domeX - kDomeSize});
                const double dy = std::max({map.domeY - y - kCell / 2.0, 0.0, y + kCell / 2.0 - map.domeY - kDomeSize});
                nearest = std::min(nearest, std::hypot(dx, dy));
            }
        }
    }
    EXPECT_LE(nearest, kShotRange) << "no track within a turret shot of the dome";
    freeMap();
}

INSTANTIATE_TEST_SUITE_P(BothMaps, ShippedMapTest, ::testing::Values(kLevelOne, kTestMap),
                         [](const auto& info) { return std::string(info.param.file[0] == 'l' ? "level1" : "test"); });

// Each strip is a row of square frames whose corner is see-through.
TEST(ShippedPictureTest, StripsHaveTheirFrameSizesAndASeeThroughCorner)
{
    struct Strip {
        const char* file;
        int frameSize, frames;
    };
    constexpr Strip kStrips[] = {{"Cart.bmp", 32, 2}, {"turret.bmp", 32, 8},  {"Gun.bmp", 32, 1},
                                 {"orb.bmp", 16, 4},  {"alien.bmp", 128, 5}, {"dome.bmp", 128, 4}};
    startHeadless(32);
    for (const Strip& s : kStrips) {
        SCOPED_TRACE(s.file);
        BITMAP* strip = load_bitmap((gameDir() + "/" + s.file).c_str(), nullptr);
        ASSERT_NE(nullptr, strip);
        EXPECT_EQ(s.frameSize * s.frames, strip->w);
        EXPECT_EQ(s.frameSize, strip->h);
        EXPECT_EQ(makecol(255, 0, 255), getpixel(strip, 0, 0));
        destroy_bitmap(strip);
    }
}

}  // namespace
