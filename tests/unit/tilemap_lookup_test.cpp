// Layer selection and the block a cell shows, including animated cells and
// positions outside the map.
#include "tests/unit/tilemap_view_fixture.h"
#include "tilemap/lookup.h"
#include "tilemap/view.h"

namespace {

using testmap::MapTest;

constexpr int kWidth = 6;
constexpr int kHeight = 4;

// Layer 0 holds block 1 everywhere but (2, 1), which holds block 3; layer 1
// holds block 2 everywhere.
void twoLayerMap()
{
    testmap::begin(kWidth, kHeight);
    testmap::makeGraphics(5);
    testmap::makeBlocks(5);
    tileMap.blockRecords[1].flags = kFlagExitLeft | kFlagExitRight;
    tileMap.blockRecords[2].flags = kFlagExitUp;
    testmap::makeLayer(0, [](int column, int row) -> int16_t { return column == 2 && row == 1 ? 3 : 1; });
    testmap::makeLayer(1, [](int, int) -> int16_t { return 2; });
}

using LookupTest = MapTest;

TEST_F(LookupTest, RefusedSelectionsKeepTheCurrentLayer)
{
    twoLayerMap();
    ASSERT_EQ(&tileMap.blockRecords[3], getBlockAt(2, 1));

    EXPECT_EQ(-1, selectLayer(8));
    EXPECT_EQ(-1, selectLayer(-1));
    EXPECT_EQ(-1, selectLayer(5));  // absent
    EXPECT_EQ(&tileMap.blockRecords[3], getBlockAt(2, 1));

    EXPECT_EQ(1, selectLayer(1));
    EXPECT_EQ(&tileMap.blockRecords[2], getBlockAt(2, 1));
    EXPECT_EQ(-1, selectLayer(7));
    EXPECT_EQ(&tileMap.blockRecords[2], getBlockAt(2, 1));
    EXPECT_EQ(0, selectLayer(0));
    EXPECT_EQ(&tileMap.blockRecords[3], getBlockAt(2, 1));
}

TEST_F(LookupTest, CellsIndexRowMajor)
{
    testmap::begin(kWidth, kHeight);
    testmap::makeGraphics(kWidth * kHeight);
    testmap::makeBlocks(kWidth * kHeight);
    testmap::makeLayer(0, [](int column, int row) -> int16_t { return static_cast<int16_t>(row * kWidth + column); });
    EXPECT_EQ(&tileMap.blockRecords[0], getBlockAt(0, 0));
    EXPECT_EQ(&tileMap.blockRecords[kWidth - 1], getBlockAt(kWidth - 1, 0));
    EXPECT_EQ(&tileMap.blockRecords[kWidth + 2], getBlockAt(2, 1));
    EXPECT_EQ(&tileMap.blockRecords[kWidth * kHeight - 1], getBlockAt(kWidth - 1, kHeight - 1));
}

TEST_F(LookupTest, AnimatedCellsShowTheirCurrentFrame)
{
    testmap::begin(kWidth, kHeight);
    testmap::makeGraphics(8);
    testmap::makeBlocks(8);
    // Frame list: positions 0..5 name blocks 7, 6, 5, 4, 3, 2. The record
    // before the last shows position 1 (block 6), the last position 4
    // (block 3).
    testmap::makeAnimations({7, 6, 5, 4, 3, 2}, {{1, 0, 3, 1}, {2, 2, 5, 4}});
    testmap::makeLayer(0, [](int column, int) -> int16_t {
        switch (column) {
        case 0:
            return 0;
        case 1:
            return -1;
        case 2:
            return -2;
        default:
            return 1;
        }
    });
    EXPECT_EQ(&tileMap.blockRecords[0], getBlockAt(0, 0));
    EXPECT_EQ(&tileMap.blockRecords[3], getBlockAt(1, 2));
    EXPECT_EQ(&tileMap.blockRecords[6], getBlockAt(2, 3));
}

void expectNoWayOut(const BlockRecord* block)
{
    ASSERT_NE(nullptr, block);
    EXPECT_EQ(0, block->flags);
}

TEST_F(LookupTest, OutsideTheMapIsAWallWithTheFirstGraphicBehindIt)
{
    twoLayerMap();
    for (auto [column, row] : {std::pair{-1, 0}, {0, -1}, {kWidth, 0}, {0, kHeight}, {-100, 5000}}) {
        SCOPED_TRACE(testing::Message() << "(" << column << ", " << row << ")");
        const BlockRecord* block = getBlockAt(column, row);
        expectNoWayOut(block);
        EXPECT_EQ(tileMap.tileBitmaps[0], block->backGraphic.bitmap);
        EXPECT_EQ(nullptr, block->foreGraphic1.bitmap);
    }
    // The map's own record is untouched by handing out the wall.
    EXPECT_EQ(kFlagExitLeft | kFlagExitRight, getBlockAt(0, 0)->flags);
}

TEST_F(LookupTest, ReferencesToNothingReadAsAWall)
{
    testmap::begin(kWidth, kHeight);
    testmap::makeGraphics(3);
    testmap::makeBlocks(3);
    for (int i = 0; i < 3; ++i) {
        tileMap.blockRecords[i].flags = kFlagExitUp | kFlagExitDown;
    }
    // One animation whose frame position lies past the frame list.
    testmap::makeAnimations({1, 2}, {{1, 5, 6, 5}});
    testmap::makeLayer(0, [](int column, int) -> int16_t {
        switch (column) {
        case 0:
            return 3;  // past the block records
        case 1:
            return -2;  // the end record
        case 2:
            return -30;  // before the first record
        case 3:
            return -1;  // frame position out of the list
        default:
            return 2;
        }
    });
    for (int column = 0; column < 4; ++column) {
        SCOPED_TRACE(column);
        expectNoWayOut(getBlockAt(column, 0));
    }
    EXPECT_EQ(&tileMap.blockRecords[2], getBlockAt(4, 0));
}

TEST_F(LookupTest, WithoutAMapTheLookUpStillAnswers)
{
    startHeadless(32);
    freeMap();
    const BlockRecord* block = getBlockAt(0, 0);
    expectNoWayOut(block);
    EXPECT_EQ(nullptr, block->backGraphic.bitmap);
    EXPECT_EQ(-1, selectLayer(0));
}

TEST_F(LookupTest, AfterAFrameTheCartReadsLayerOneWhenThereIsOne)
{
    twoLayerMap();
    tileMap.mapWidth = 20;  // large enough for the view
    tileMap.mapHeight = 15;
    testmap::makeLayer(0, [](int, int) -> int16_t { return 1; });
    testmap::makeLayer(1, [](int, int) -> int16_t { return 2; });
    BITMAP* frame = create_bitmap(kViewWidth, kViewHeight);
    int cameraX = 0;
    int cameraY = 0;

    EXPECT_EQ(kFlagExitLeft | kFlagExitRight, getBlockAt(3, 3)->flags);
    drawMapView(frame, &cameraX, &cameraY);
    EXPECT_EQ(kFlagExitUp, getBlockAt(3, 3)->flags);

    // A map with layer 0 alone stays on layer 0.
    std::free(tileMap.layers[1]);
    tileMap.layers[1] = nullptr;
    selectLayer(0);
    drawMapView(frame, &cameraX, &cameraY);
    EXPECT_EQ(kFlagExitLeft | kFlagExitRight, getBlockAt(3, 3)->flags);
    destroy_bitmap(frame);
}

}  // namespace
