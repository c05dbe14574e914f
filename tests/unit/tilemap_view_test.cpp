// Drawing the map view: the camera clamp, which cells land where, the
// layer-1 overlay, clipping, staggered rows and maps smaller than the view.
// Pictures are compared pixel by pixel with ones built by hand.
#include "tests/unit/tilemap_view_fixture.h"
#include "tilemap/lookup.h"
#include "tilemap/view.h"

#include <algorithm>
#include <cstdlib>

namespace {

using testmap::kBlock;
using testmap::MapTest;

// Owns a memory bitmap for the length of a test.
struct Picture {
    BITMAP* bitmap;
    explicit Picture(int w = kViewWidth, int h = kViewHeight, int fill = 0) : bitmap(create_bitmap(w, h))
    {
        clear_to_color(bitmap, fill);
    }
    ~Picture() { destroy_bitmap(bitmap); }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    operator BITMAP*() const { return bitmap; }
};

#define EXPECT_SAME_PICTURE(actual, expected)                                      \
    do {                                                                           \
        std::string where;                                                         \
        EXPECT_EQ(0, testmap::countDifferences((actual), (expected), &where)) << where; \
    } while (0)

// A map whose cell (column, row) shows graphic column % columnsPerGraphic,
// so every column of the view has its own colour.
void columnMap(int width, int height)
{
    testmap::begin(width, height);
    testmap::makeGraphics(width);
    testmap::makeBlocks(width);
    testmap::makeLayer(0, [](int column, int) -> int16_t { return static_cast<int16_t>(column); });
}

// The picture of columnMap seen from camera x: column c covers the screen
// from c * 32 - cameraX.
void drawColumnsExpected(BITMAP* expected, int cameraX)
{
    for (int column = 0; column < tileMap.mapWidth; ++column) {
        const int left = column * kBlock - cameraX;
        rectfill(expected, left, 0, left + kBlock - 1, kViewHeight - 1, testmap::graphicColor(column));
    }
}

using ViewTest = MapTest;

TEST_F(ViewTest, NegativeCameraIsClampedToTheTopLeft)
{
    columnMap(30, 20);
    Picture frame;
    int cameraX = -5;
    int cameraY = -7;
    drawMapView(frame, &cameraX, &cameraY);
    EXPECT_EQ(0, cameraX);
    EXPECT_EQ(0, cameraY);
    Picture expected;
    drawColumnsExpected(expected, 0);
    EXPECT_SAME_PICTURE(frame, expected);
}

TEST_F(ViewTest, LargeCameraIsClampedToTheBottomRightCorner)
{
    testmap::begin(100, 100);
    // Graphic 1 marks the bottom-right block, graphic 0 everything else.
    testmap::makeGraphics(2);
    testmap::makeBlocks(2);
    testmap::makeLayer(0, [](int column, int row) -> int16_t { return column == 99 && row == 99 ? 1 : 0; });
    Picture frame;
    int cameraX = 3000;
    int cameraY = 3000;
    drawMapView(frame, &cameraX, &cameraY);
    EXPECT_EQ(2560, cameraX);
    EXPECT_EQ(2720, cameraY);

    Picture expected(kViewWidth, kViewHeight, testmap::graphicColor(0));
    rectfill(expected, kViewWidth - kBlock, kViewHeight - kBlock, kViewWidth - 1, kViewHeight - 1,
             testmap::graphicColor(1));
    EXPECT_SAME_PICTURE(frame, expected);
}

TEST_F(ViewTest, CameraFortyShowsPartOfColumnOneAndColumnTwentyOneLast)
{
    columnMap(30, 20);
    Picture frame;
    int cameraX = 40;
    int cameraY = 0;
    drawMapView(frame, &cameraX, &cameraY);
    // Column 1 starts at -8 and shows 24 pixels; column 21 starts at 632.
    EXPECT_EQ(testmap::graphicColor(1), getpixel(frame, 0, 10));
    EXPECT_EQ(testmap::graphicColor(1), getpixel(frame, 23, 10));
    EXPECT_EQ(testmap::graphicColor(2), getpixel(frame, 24, 10));
    EXPECT_EQ(testmap::graphicColor(20), getpixel(frame, 631, 10));
    EXPECT_EQ(testmap::graphicColor(21), getpixel(frame, 632, 10));
    EXPECT_EQ(testmap::graphicColor(21), getpixel(frame, 639, 479));

    Picture expected;
    drawColumnsExpected(expected, 40);
    EXPECT_SAME_PICTURE(frame, expected);
}

TEST_F(ViewTest, ForegroundPassDrawsOnlyTheMaskedForegrounds)
{
    testmap::begin(4, 2);
    // Graphic 2 is a foreground with a magenta left half.
    testmap::makeGraphics(3, [](int i, BITMAP* tile) {
        if (i == 2) {
            rectfill(tile, 0, 0, kBlock / 2 - 1, kBlock - 1, testmap::mask());
        }
    });
    testmap::makeBlocks(3);
    testmap::setForeground(1, 2);
    testmap::makeLayer(0, [](int column, int) -> int16_t { return column == 1 ? 1 : 0; });

    const int paper = makecol(1, 2, 3);
    Picture frame(4 * kBlock, 2 * kBlock, paper);
    drawForegroundLayer(frame, 0, 0, 0, 0, 4 * kBlock, 2 * kBlock, 0);

    // Only the right half of the two column-1 cells changes.
    Picture expected(4 * kBlock, 2 * kBlock, paper);
    rectfill(expected, kBlock + kBlock / 2, 0, 2 * kBlock - 1, 2 * kBlock - 1, testmap::graphicColor(2));
    EXPECT_SAME_PICTURE(frame, expected);

    // A which of 1 or 2 picks foreground fields that are all empty here.
    Picture untouched(4 * kBlock, 2 * kBlock, paper);
    drawForegroundLayer(untouched, 0, 0, 0, 0, 4 * kBlock, 2 * kBlock, 1);
    drawForegroundLayer(untouched, 0, 0, 0, 0, 4 * kBlock, 2 * kBlock, 2);
    Picture blank(4 * kBlock, 2 * kBlock, paper);
    EXPECT_SAME_PICTURE(untouched, blank);
}

// Layer 0 of the overlay tests: graphic 0 background everywhere, with a
// foreground (graphic 1) on cell (1, 0).
void baseLayer(int width, int height)
{
    testmap::begin(width, height);
    // Graphic 3 is half magenta (left half), graphic 2 solid.
    testmap::makeGraphics(4, [](int i, BITMAP* tile) {
        if (i == 3) {
            rectfill(tile, 0, 0, kBlock / 2 - 1, kBlock - 1, testmap::mask());
        }
        if (i == 1) {
            rectfill(tile, 0, 0, kBlock - 1, kBlock / 2 - 1, testmap::mask());
        }
    });
    testmap::makeBlocks(4);
    testmap::setForeground(0, 1);
    testmap::makeLayer(0, [](int, int) -> int16_t { return 0; });
}

TEST_F(ViewTest, OneLayerMapLooksLikeLayerZeroAlone)
{
    baseLayer(20, 15);
    Picture frame;
    int cameraX = 0;
    int cameraY = 0;
    drawMapView(frame, &cameraX, &cameraY);

    // Every block: graphic 0, its bottom half covered by the foreground.
    Picture expected(kViewWidth, kViewHeight, testmap::graphicColor(0));
    for (int top = 0; top < kViewHeight; top += kBlock) {
        rectfill(expected, 0, top + kBlock / 2, kViewWidth - 1, top + kBlock - 1, testmap::graphicColor(1));
    }
    EXPECT_SAME_PICTURE(frame, expected);
}

TEST_F(ViewTest, LayerOneHidesLayerZeroExceptThroughItsMask)
{
    baseLayer(20, 15);
    // Layer 1: solid graphic 2 in column 0, half-magenta graphic 3 elsewhere.
    testmap::makeLayer(1, [](int column, int) -> int16_t { return column == 0 ? 2 : 3; });
    Picture frame;
    int cameraX = 0;
    int cameraY = 0;
    drawMapView(frame, &cameraX, &cameraY);

    Picture expected(kViewWidth, kViewHeight, testmap::graphicColor(0));
    for (int top = 0; top < kViewHeight; top += kBlock) {
        rectfill(expected, 0, top + kBlock / 2, kViewWidth - 1, top + kBlock - 1, testmap::graphicColor(1));
    }
    for (int left = 0; left < kViewWidth; left += kBlock) {
        // Column 0 is covered whole; the others keep layer 0 in their left half.
        const int from = left == 0 ? 0 : left + kBlock / 2;
        rectfill(expected, from, 0, left + kBlock - 1, kViewHeight - 1,
                 testmap::graphicColor(left == 0 ? 2 : 3));
    }
    EXPECT_SAME_PICTURE(frame, expected);
}

TEST_F(ViewTest, LayerOperationsDrawInsideTheirRectangleAndRestoreTheClip)
{
    columnMap(30, 20);
    const int paper = makecol(9, 9, 9);
    Picture frame(kViewWidth, kViewHeight, paper);
    set_clip_rect(frame, 5, 6, 600, 400);

    // Rectangle (100, 50) 64 x 40 showing map pixel (10, 0): column 0's
    // last 22 pixels, then columns 1 and 2 (cut at the right edge).
    drawBackgroundLayer(frame, 10, 0, 100, 50, 64, 40);
    int left, top, right, bottom;
    get_clip_rect(frame, &left, &top, &right, &bottom);
    EXPECT_EQ(5, left);
    EXPECT_EQ(6, top);
    EXPECT_EQ(600, right);
    EXPECT_EQ(400, bottom);

    drawForegroundLayer(frame, 0, 0, 0, 0, 30, 30, 0);
    get_clip_rect(frame, &left, &top, &right, &bottom);
    EXPECT_EQ(5, left);
    EXPECT_EQ(400, bottom);

    set_clip_rect(frame, 0, 0, kViewWidth - 1, kViewHeight - 1);
    Picture expected(kViewWidth, kViewHeight, paper);
    rectfill(expected, 100, 50, 121, 89, testmap::graphicColor(0));
    rectfill(expected, 122, 50, 153, 89, testmap::graphicColor(1));
    rectfill(expected, 154, 50, 163, 89, testmap::graphicColor(2));
    EXPECT_SAME_PICTURE(frame, expected);
}

TEST_F(ViewTest, NothingIsDrawnBeforeAnyMapLoadHasStarted)
{
    columnMap(30, 20);
    tileMap.bitmapMode = 0;
    Picture frame;
    drawBackgroundLayer(frame, 0, 0, 0, 0, kViewWidth, kViewHeight);
    Picture blank;
    EXPECT_SAME_PICTURE(frame, blank);
}

TEST_F(ViewTest, StaggeredRowsComeInShiftedPairs)
{
    // Half-block stagger: the second row of each pair sits 16 pixels right
    // and 16 down from the first.
    constexpr int kHalf = kBlock / 2;
    constexpr int kColumns = 4;
    constexpr int kRows = 6;
    testmap::begin(kColumns, kRows);
    tileMap.staggerX = kHalf;
    tileMap.staggerY = kHalf;
    testmap::makeGraphics(kColumns * kRows + 1);
    testmap::makeBlocks(kColumns * kRows + 1);
    // Cell (c, r) shows graphic 1 + r * kColumns + c, except (1, 1) which
    // shows graphic 0 and so is skipped as empty.
    testmap::makeLayer(0, [](int column, int row) -> int16_t {
        return column == 1 && row == 1 ? 0 : static_cast<int16_t>(1 + row * kColumns + column);
    });
    const int paper = makecol(4, 4, 4);
    constexpr int kSize = 96;
    Picture frame(kSize, kSize, paper);
    drawBackgroundLayer(frame, 0, 0, 0, 0, kSize, kSize);

    // Map pixel (0, 0) less the stagger puts the walk at (-16, -16): pair p
    // of rows draws row 2p at y 32p - 16 and row 2p + 1 at y 32p, columns
    // from x -16 and 0 respectively, later blocks over earlier ones.
    Picture expected(kSize, kSize, paper);
    for (int pair = 0; pair * 2 < kRows; ++pair) {
        for (int half = 0; half < 2; ++half) {
            const int row = pair * 2 + half;
            const int y = pair * kBlock - kHalf + half * kHalf;
            for (int column = 0; column < kColumns; ++column) {
                if (column == 1 && row == 1) {
                    continue;
                }
                const int x = column * kBlock - kHalf + half * kHalf;
                rectfill(expected, x, y, x + kBlock - 1, y + kBlock - 1,
                         testmap::graphicColor(1 + row * kColumns + column));
            }
        }
    }
    EXPECT_SAME_PICTURE(frame, expected);
    // Spot checks of the arithmetic above: (8, 8) lies in row 1 column 0,
    // (20, 20) in row 2 column 1, and (40, 8) shows row 0 column 1 through
    // the skipped empty cell.
    EXPECT_EQ(testmap::graphicColor(1 + kColumns), getpixel(frame, 8, 8));
    EXPECT_EQ(testmap::graphicColor(1 + 2 * kColumns + 1), getpixel(frame, 20, 20));
    EXPECT_EQ(testmap::graphicColor(2), getpixel(frame, 40, 8));
}

TEST_F(ViewTest, SmallMapIsDrawnWhereTheClampPutsItAndTheRestIsBlack)
{
    // 5 x 4 blocks: the clamp gives camera (160 - 640, 128 - 480), so the map
    // sits in the bottom-right corner. The layers are exactly 20 cells long;
    // the sanitizer build catches any read beyond them.
    columnMap(5, 4);
    testmap::makeLayer(1, [](int column, int) -> int16_t { return static_cast<int16_t>(column); });
    Picture frame(kViewWidth, kViewHeight, makecol(255, 255, 255));
    int cameraX = 0;
    int cameraY = 0;
    drawMapView(frame, &cameraX, &cameraY);
    EXPECT_EQ(5 * kBlock - kViewWidth, cameraX);
    EXPECT_EQ(4 * kBlock - kViewHeight, cameraY);

    Picture expected;
    for (int column = 0; column < 5; ++column) {
        const int left = column * kBlock - cameraX;
        rectfill(expected, left, -cameraY, left + kBlock - 1, kViewHeight - 1, testmap::graphicColor(column));
    }
    EXPECT_SAME_PICTURE(frame, expected);
}

TEST_F(ViewTest, WalkOutsideTheMapReadsNothing)
{
    columnMap(3, 3);
    const int paper = makecol(7, 7, 7);
    Picture frame(kViewWidth, kViewHeight, paper);
    drawBackgroundLayer(frame, -1000, -1000, 0, 0, kViewWidth, kViewHeight);
    drawBackgroundLayer(frame, 5000, 5000, 0, 0, kViewWidth, kViewHeight);
    Picture blank(kViewWidth, kViewHeight, paper);
    EXPECT_SAME_PICTURE(frame, blank);

    // Partly outside: the map's 96 x 96 pixels appear from (40, 20).
    drawBackgroundLayer(frame, -40, -20, 0, 0, kViewWidth, kViewHeight);
    Picture expected(kViewWidth, kViewHeight, paper);
    for (int column = 0; column < 3; ++column) {
        rectfill(expected, 40 + column * kBlock, 20, 40 + column * kBlock + kBlock - 1, 20 + 3 * kBlock - 1,
                 testmap::graphicColor(column));
    }
    EXPECT_SAME_PICTURE(frame, expected);
}

}  // namespace

namespace {

// The view as the plain recipe makes it: layer 0 into dest, layer 1 into an
// overlay filled with the mask colour, the overlay laid over dest with
// draw_sprite. drawMapView takes short cuts; its picture must not differ.
void referenceView(BITMAP* dest, int cameraX, int cameraY)
{
    const int maxX = tileMap.mapWidth * tileMap.blockWidth - kViewWidth;
    const int maxY = tileMap.mapHeight * tileMap.blockHeight - kViewHeight;
    cameraX = std::min(std::max(cameraX, 0), maxX);
    cameraY = std::min(std::max(cameraY, 0), maxY);
    if (maxX < 0 || maxY < 0) {
        clear_to_color(dest, 0);
    }
    selectLayer(0);
    drawBackgroundLayer(dest, cameraX, cameraY, 0, 0, kViewWidth, kViewHeight);
    drawForegroundLayer(dest, cameraX, cameraY, 0, 0, kViewWidth, kViewHeight, 0);
    BITMAP* overlay = create_bitmap(dest->w, dest->h);
    clear_to_color(overlay, testmap::mask());
    selectLayer(1);
    drawBackgroundLayer(overlay, cameraX, cameraY, 0, 0, kViewWidth, kViewHeight);
    drawForegroundLayer(overlay, cameraX, cameraY, 0, 0, kViewWidth, kViewHeight, 0);
    draw_sprite(dest, overlay, 0, 0);
    destroy_bitmap(overlay);
}

// A two-layer map of random cells over eight graphics, of which some have
// magenta holes (stripes, a corner) and some serve as foregrounds.
void randomTwoLayerMap(int width, int height, unsigned seed)
{
    std::srand(seed);
    testmap::begin(width, height);
    constexpr int kGraphics = 8;
    testmap::makeGraphics(kGraphics, [](int i, BITMAP* tile) {
        if (i == 0) {
            clear_to_color(tile, testmap::mask());
        } else if (i % 3 == 0) {
            for (int x = 0; x < kBlock; x += 4) {
                vline(tile, x, 0, kBlock - 1, testmap::mask());
            }
        } else if (i % 3 == 1) {
            rectfill(tile, 0, 0, 11, 11, testmap::mask());
        }
    });
    testmap::makeBlocks(kGraphics);
    testmap::setForeground(2, 3);
    testmap::setForeground(5, 4);
    testmap::makeLayer(0, [](int, int) -> int16_t { return static_cast<int16_t>(1 + std::rand() % 7); });
    testmap::makeLayer(1, [](int, int) -> int16_t {
        return static_cast<int16_t>(std::rand() % 3 == 0 ? std::rand() % 8 : 0);
    });
}

void expectSameAsReference(int cameraX, int cameraY, bool clipped)
{
    SCOPED_TRACE(testing::Message() << "camera (" << cameraX << ", " << cameraY << ")" << (clipped ? " clipped" : ""));
    const int paper = makecol(12, 34, 56);
    Picture actual(kViewWidth, kViewHeight, paper);
    Picture expected(kViewWidth, kViewHeight, paper);
    if (clipped) {
        set_clip_rect(actual, 10, 20, 600, 400);
        set_clip_rect(expected, 10, 20, 600, 400);
    }
    referenceView(expected, cameraX, cameraY);
    drawMapView(actual, &cameraX, &cameraY);
    EXPECT_SAME_PICTURE(actual, expected);
}

TEST_F(ViewTest, ShortCutsGiveThePictureOfTheOverlayRecipe)
{
    randomTwoLayerMap(30, 25, 7);
    for (auto [x, y] : {std::pair{0, 0}, {37, 51}, {9999, 9999}, {-40, 300}}) {
        expectSameAsReference(x, y, false);
        expectSameAsReference(x, y, true);
    }
    // Smaller than the view, and with overlapping blocks (the overlay path).
    randomTwoLayerMap(7, 5, 8);
    expectSameAsReference(0, 0, false);
    randomTwoLayerMap(30, 25, 9);
    tileMap.blockStepX = 24;
    tileMap.blockStepY = 28;
    expectSameAsReference(100, 60, false);
    expectSameAsReference(100, 60, true);
    randomTwoLayerMap(30, 40, 10);
    tileMap.staggerX = 16;
    tileMap.staggerY = 8;
    tileMap.blockStepY = 16;
    expectSameAsReference(50, 70, false);
}

}  // namespace
