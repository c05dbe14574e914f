// Reading and drawing the map: layer selection, the block a cell shows, the
// camera clamp, the layer-1 overlay, clipping and staggered rows. Maps are
// built from solid-colour tiles with layers of exactly mapWidth x mapHeight
// cells, so the sanitizer build sees any read past them.
#include "tests/support/headless.h"
#include "tilemap/lookup.h"
#include "tilemap/tilemap.h"
#include "tilemap/view.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <tuple>
#include <utility>

namespace {

constexpr int kBlock = 32;
constexpr int kMapsBitmapMode = 2;
constexpr int kPatternGraphics = 13;

int mask() { return makecol(255, 0, 255); }
int graphicColor(int i) { return makecol(i * 37 % 200 + 20, i * 91 % 230 + 10, i * 53 % 190 + 30); }

// A width x height map with `graphics` tiles and block records: tile i is
// filled with graphicColor(i); block i shows it as background, with no
// foreground and no ways out.
void begin(int width, int height, int graphics)
{
    startHeadless(32);
    freeMap();
    tileMap = TileMap{};
    tileMap.mapWidth = width;
    tileMap.mapHeight = height;
    tileMap.blockWidth = tileMap.blockHeight = tileMap.blockStepX = tileMap.blockStepY = kBlock;
    tileMap.bitmapMode = kMapsBitmapMode;
    tileMap.graphicCount = tileMap.blockRecordCount = graphics;
    tileMap.tileBitmaps = static_cast<BITMAP**>(std::calloc(graphics + 1, sizeof(BITMAP*)));
    tileMap.blockRecords = static_cast<BlockRecord*>(std::calloc(graphics, sizeof(BlockRecord)));
    for (int i = 0; i < graphics; ++i) {
        BITMAP* tile = tileMap.tileBitmaps[i] = create_bitmap(kBlock, kBlock);
        clear_to_color(tile, graphicColor(i));
        tileMap.blockRecords[i].backGraphic = GraphicRef{i, tile};
    }
}

// Fills layer n with cell(column, row); layer 0 becomes current.
void makeLayer(int n, const std::function<int(int, int)>& cell)
{
    const int count = tileMap.mapWidth * tileMap.mapHeight;
    tileMap.layers[n] = static_cast<int16_t*>(std::realloc(tileMap.layers[n], sizeof(int16_t) * count));
    for (int i = 0; i < count; ++i) {
        tileMap.layers[n][i] = static_cast<int16_t>(cell(i % tileMap.mapWidth, i / tileMap.mapWidth));
    }
    tileMap.currentLayer = tileMap.layers[0];
}

// Neighbouring cells of the pattern map differ across and down.
int pattern(int column, int row) { return (column + 7 * row) % kPatternGraphics; }

struct Picture {
    BITMAP* bitmap;
    explicit Picture(int fill = 0, int w = kViewWidth, int h = kViewHeight) : bitmap(create_bitmap(w, h))
    {
        clear_to_color(bitmap, fill);
    }
    ~Picture() { destroy_bitmap(bitmap); }
    operator BITMAP*() const { return bitmap; }
};

int differences(BITMAP* actual, BITMAP* expected)
{
    int count = 0;
    for (int y = 0; y < expected->h; ++y) {
        for (int x = 0; x < expected->w; ++x) {
            count += getpixel(actual, x, y) != getpixel(expected, x, y);
        }
    }
    return count;
}

class MapTest : public ::testing::Test {
protected:
    void TearDown() override { freeMap(); }
};

TEST_F(MapTest, RefusedSelectionsKeepTheLayerAndAFrameLeavesTheCartOnLayerOne)
{
    // Layer 0 holds block 1 but block 3 at (2, 1); layer 1 holds block 2.
    begin(6, 4, 4);
    makeLayer(0, [](int column, int row) { return column == 2 && row == 1 ? 3 : 1; });
    makeLayer(1, [](int, int) { return 2; });
    // Layer 5 is absent; the block at (2, 1) tells which layer is current.
    for (auto [layer, answer, block] :
         {std::tuple{8, -1, 3}, {-1, -1, 3}, {5, -1, 3}, {1, 1, 2}, {7, -1, 2}, {0, 0, 3}}) {
        SCOPED_TRACE(layer);
        EXPECT_EQ(answer, selectLayer(layer));
        EXPECT_EQ(&tileMap.blockRecords[block], getBlockAt(2, 1));
    }
    // After a frame the cart reads layer 1, or layer 0 (painted twice) when
    // there is no layer 1.
    Picture frame;
    int cameraX = 0, cameraY = 0;
    drawMapView(frame, &cameraX, &cameraY);
    EXPECT_EQ(&tileMap.blockRecords[2], getBlockAt(2, 1));
    std::free(std::exchange(tileMap.layers[1], nullptr));
    selectLayer(0);
    drawMapView(frame, &cameraX, &cameraY);
    EXPECT_EQ(&tileMap.blockRecords[3], getBlockAt(2, 1));
}

TEST_F(MapTest, AnimatedCellsShowTheirFrameAndWhatLeadsNowhereReadsAsAWall)
{
    const int cells[] = {0, -1, -2, 8, -3, -4, -30, 2};
    begin(8, 1, 8);
    makeLayer(0, [&cells](int column, int) { return cells[column]; });
    // Frames name blocks 7 down to 2. Behind the end record: one record
    // pointing just past the frame list, one at frame 1, the last at frame 4.
    tileMap.animFrameCount = 6;
    tileMap.animFrames = static_cast<int32_t*>(std::malloc(6 * sizeof(int32_t)));
    for (int i = 0; i < 6; ++i) tileMap.animFrames[i] = 7 - i;
    tileMap.animRecords = static_cast<AnimRecord*>(std::calloc(4, sizeof(AnimRecord)));
    tileMap.animRecordsEnd = tileMap.animRecords + 4;
    tileMap.animRecords[0].type = -1;
    for (auto [record, frame] : {std::pair{1, 6}, {2, 1}, {3, 4}}) tileMap.animRecords[record].currentFrame = frame;
    const BlockRecord* b = tileMap.blockRecords;
    const BlockRecord* want[] = {&b[0], &b[3], &b[6], nullptr, nullptr, nullptr, nullptr, &b[2]};
    // A wall: none of the map's blocks, no ways out, the first graphic behind it.
    auto isWall = [b](const BlockRecord* block) {
        return (block < b || block >= b + 8) && block->flags == 0 && !block->foreGraphic1.bitmap &&
               block->backGraphic.bitmap == tileMap.tileBitmaps[0];
    };
    for (int column = 0; column < 8; ++column) {
        const BlockRecord* got = getBlockAt(column, 0);
        EXPECT_TRUE(want[column] ? got == want[column] : isWall(got)) << "cell " << cells[column];
    }
    for (auto [column, row] : {std::pair{-1, 0}, {0, -1}, {8, 0}, {0, 1}, {-100, 5000}}) {
        EXPECT_TRUE(isWall(getBlockAt(column, row))) << "(" << column << ", " << row << ")";
    }
    freeMap();
    EXPECT_TRUE(getBlockAt(0, 0)->flags == 0 && !getBlockAt(0, 0)->backGraphic.bitmap) << "without a map";
}

TEST_F(MapTest, CameraIsClampedIntoTheMapAndASmallMapIsDrawnOnBlack)
{
    // 100 blocks are 3200 pixels: the camera stops a view's size short of them.
    // At 40, column 1 shows its last 24 pixels and column 21 its first 8. On a
    // 5 x 4 map the upper limit wins: the map sits in the bottom-right corner,
    // read from its own cells only (the sanitizer build checks that).
    for (auto [width, height, cameraX, cameraY, wantX, wantY] :
         {std::tuple{30, 30, -5, -7, 0, 0}, {100, 100, 3000, 3000, 2560, 2720}, {30, 20, 40, 0, 40, 0},
          {5, 4, 0, 0, 5 * kBlock - kViewWidth, 4 * kBlock - kViewHeight}}) {
        SCOPED_TRACE(testing::Message() << width << " x " << height << ", camera " << cameraX << ", " << cameraY);
        begin(width, height, kPatternGraphics);
        makeLayer(0, pattern);
        makeLayer(1, pattern);
        Picture frame(makecol(255, 255, 255)), expected;
        drawMapView(frame, &cameraX, &cameraY);
        EXPECT_EQ(std::pair(wantX, wantY), std::pair(cameraX, cameraY));
        for (int i = 0; i < width * height; ++i) {
            const int x = i % width * kBlock - wantX, y = i / width * kBlock - wantY;
            rectfill(expected, x, y, x + kBlock - 1, y + kBlock - 1, graphicColor(pattern(i % width, i / width)));
        }
        EXPECT_EQ(0, differences(frame, expected));
    }
}

TEST_F(MapTest, LayerOneCoversLayerZeroExceptThroughItsMaskAndInsideTheClip)
{
    // Layer 0: graphic 0 under foreground 1 (top half magenta) everywhere.
    // Layer 1: solid graphic 2 in column 0, graphic 3 (left half magenta)
    // elsewhere. At a half-block step each block's left half covers the one
    // before, so only column 0's left half of layer 1 is left in view.
    for (auto [layers, step] : {std::pair{1, kBlock}, {2, kBlock}, {2, kBlock / 2}}) {
        SCOPED_TRACE(testing::Message() << layers << " layers, step " << step);
        begin(40, 15, 4);
        tileMap.blockStepX = step;
        rectfill(tileMap.tileBitmaps[1], 0, 0, kBlock - 1, kBlock / 2 - 1, mask());
        rectfill(tileMap.tileBitmaps[3], 0, 0, kBlock / 2 - 1, kBlock - 1, mask());
        tileMap.blockRecords[0].foreGraphic1 = GraphicRef{1, tileMap.tileBitmaps[1]};
        makeLayer(0, [](int, int) { return 0; });
        Picture frame, expected(graphicColor(0));
        for (int top = 0; top < kViewHeight; top += kBlock) {
            rectfill(expected, 0, top + kBlock / 2, kViewWidth - 1, top + kBlock - 1, graphicColor(1));
        }
        set_clip_rect(frame, 10, 20, 600, 400);
        set_clip_rect(expected, 10, 20, 600, 400);  // layer 0 is drawn whole, the overlay clipped
        for (int left = 0; layers == 2 && step == kBlock && left < kViewWidth; left += kBlock) {
            rectfill(expected, left + kBlock / 2, 0, left + kBlock - 1, kViewHeight - 1, graphicColor(left ? 3 : 2));
        }
        if (layers == 2) {
            makeLayer(1, [](int column, int) { return column == 0 ? 2 : 3; });
            rectfill(expected, 0, 0, kBlock / 2 - 1, kViewHeight - 1, graphicColor(2));
        }
        int cameraX = 0, cameraY = 0;
        drawMapView(frame, &cameraX, &cameraY);
        EXPECT_EQ(0, differences(frame, expected));
    }
}

TEST_F(MapTest, StaggeredRowsComeInShiftedPairs)
{
    // The walk starts half a block up and left; rows 2p and 2p + 1 share a
    // band, the second half a block further right and down. Cell (1, 1)
    // shows graphic 0, which a staggered map leaves out as empty.
    constexpr int kHalf = kBlock / 2, kColumns = 4, kRows = 6;
    auto graphic = [](int column, int row) { return column == 1 && row == 1 ? 0 : 1 + row * kColumns + column; };
    begin(kColumns, kRows, kColumns * kRows + 1);
    tileMap.staggerX = tileMap.staggerY = kHalf;
    makeLayer(0, graphic);
    Picture frame(makecol(4, 4, 4), 96, 96), expected(makecol(4, 4, 4), 96, 96);
    drawBackgroundLayer(frame, 0, 0, 0, 0, 96, 96);
    for (int i = 0; i < kColumns * kRows; ++i) {
        const int row = i / kColumns;
        const int x = i % kColumns * kBlock - kHalf + row % 2 * kHalf;
        const int y = row / 2 * kBlock - kHalf + row % 2 * kHalf;
        if (graphic(i % kColumns, row) != 0) {
            rectfill(expected, x, y, x + kBlock - 1, y + kBlock - 1, graphicColor(graphic(i % kColumns, row)));
        }
    }
    EXPECT_EQ(0, differences(frame, expected));
}

}  // namespace
