// Builds small tile maps in memory for the look-up and drawing tests, with
// solid-colour tile bitmaps, so those tests do not depend on the loader.
// Everything is allocated the way freeMap releases it.
#pragma once

#include "tests/support/headless.h"
#include "tilemap/tilemap.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace testmap {

constexpr int kBlock = 32;
constexpr int kMapsBitmapMode = 2;

inline int mask()
{
    return makecol(255, 0, 255);
}

// A distinct, never magenta colour for graphic number i.
inline int graphicColor(int i)
{
    return makecol((i * 37) % 200 + 20, (i * 91) % 230 + 10, (i * 53) % 190 + 30);
}

// Starts an empty map of width x height blocks of kBlock pixels.
inline void begin(int width, int height, int block = kBlock)
{
    startHeadless(32);
    freeMap();
    tileMap.mapWidth = static_cast<int16_t>(width);
    tileMap.mapHeight = static_cast<int16_t>(height);
    tileMap.blockWidth = static_cast<int16_t>(block);
    tileMap.blockHeight = static_cast<int16_t>(block);
    tileMap.blockStepX = block;
    tileMap.blockStepY = block;
    tileMap.staggerX = 0;
    tileMap.staggerY = 0;
    tileMap.blockDepth = 32;
    tileMap.bitmapMode = kMapsBitmapMode;
}

// Makes `count` tile bitmaps; graphic i is filled with graphicColor(i), then
// `paint` may draw on it (for example magenta holes).
inline void makeGraphics(int count, const std::function<void(int, BITMAP*)>& paint = {})
{
    tileMap.graphicCount = static_cast<int16_t>(count);
    tileMap.tileBitmaps = static_cast<BITMAP**>(std::calloc(count + 2, sizeof(BITMAP*)));
    for (int i = 0; i < count; ++i) {
        BITMAP* tile = create_bitmap(tileMap.blockWidth, tileMap.blockHeight);
        clear_to_color(tile, graphicColor(i));
        if (paint) {
            paint(i, tile);
        }
        tileMap.tileBitmaps[i] = tile;
    }
}

// Makes `count` block records; block i shows graphic i as background and
// no foreground, with no ways out.
inline void makeBlocks(int count)
{
    tileMap.blockRecordCount = static_cast<int16_t>(count);
    tileMap.blockRecords = static_cast<BlockRecord*>(std::calloc(count, sizeof(BlockRecord)));
    for (int i = 0; i < count; ++i) {
        tileMap.blockRecords[i].backGraphic = GraphicRef{i, tileMap.tileBitmaps[i]};
    }
}

inline void setForeground(int block, int graphic)
{
    tileMap.blockRecords[block].foreGraphic1 = GraphicRef{graphic, tileMap.tileBitmaps[graphic]};
}

// Allocates layer n with exactly mapWidth x mapHeight cells (so the address
// sanitizer sees any read past it), filled by cell(column, row).
inline void makeLayer(int n, const std::function<int16_t(int, int)>& cell)
{
    const int width = tileMap.mapWidth;
    const int height = tileMap.mapHeight;
    auto* cells = static_cast<int16_t*>(std::malloc(sizeof(int16_t) * width * height));
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            cells[row * width + column] = cell(column, row);
        }
    }
    std::free(tileMap.layers[n]);
    tileMap.layers[n] = cells;
    if (n == 0) {
        tileMap.currentLayer = cells;
    }
}

// Animation records in file order, the end record first, and the shared
// frame list. Each entry of `anims` is {type, firstFrame, endFrame,
// currentFrame}.
struct Anim {
    int8_t type;
    int32_t firstFrame;
    int32_t endFrame;
    int32_t currentFrame;
};

inline void makeAnimations(const std::vector<int32_t>& frames, const std::vector<Anim>& anims)
{
    tileMap.animFrameCount = static_cast<int32_t>(frames.size());
    tileMap.animFrames = static_cast<int32_t*>(std::malloc(sizeof(int32_t) * (frames.size() + 1)));
    std::memcpy(tileMap.animFrames, frames.data(), sizeof(int32_t) * frames.size());
    const std::size_t count = anims.size() + 1;
    tileMap.animRecords = static_cast<AnimRecord*>(std::calloc(count, sizeof(AnimRecord)));
    tileMap.animRecords[0].type = -1;
    for (std::size_t i = 0; i < anims.size(); ++i) {
        AnimRecord& record = tileMap.animRecords[i + 1];
        record.type = anims[i].type;
        record.firstFrame = anims[i].firstFrame;
        record.endFrame = anims[i].endFrame;
        record.currentFrame = anims[i].currentFrame;
    }
    tileMap.animRecordsEnd = tileMap.animRecords + count;
}

// Cleans up after every test so the next starts from an empty map.
class MapTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        freeMap();
        tileMap.bitmapMode = 0;
    }
};

// Number of pixels in which two bitmaps of the same size differ; the first
// difference is described in `where`.
inline int countDifferences(BITMAP* actual, BITMAP* expected, std::string* where = nullptr)
{
    int differences = 0;
    for (int y = 0; y < expected->h; ++y) {
        for (int x = 0; x < expected->w; ++x) {
            const int a = getpixel(actual, x, y);
            const int e = getpixel(expected, x, y);
            if (a != e) {
                if (differences == 0 && where) {
                    char text[96];
                    std::snprintf(text, sizeof text, "first at (%d, %d): 0x%06x, expected 0x%06x", x, y, a, e);
                    *where = text;
                }
                ++differences;
            }
        }
    }
    return differences;
}

}  // namespace testmap
