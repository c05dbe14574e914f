// The generated assets as the game finds them in its folder: the two maps
// (the parts of the format each one uses, the track, the start cells and
// the dome ground) and the picture files (frame sizes, transparency, the
// panel's layout). Also writes a contact sheet of every sprite strip to
// artifacts/sprites.bmp for a person to look at.
#include "tests/support/headless.h"
#include "tilemap/loader.h"
#include "tilemap/lookup.h"
#include "tilemap/tilemap.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int kCell = 32;
constexpr int kMinimumWidth = 40;
constexpr int kMinimumHeight = 30;
constexpr int kDomeSize = 128;
constexpr int kShotRange = 250;
constexpr uint8_t kWayBits = 0x0F;

struct ShippedMap {
    const char* file;
    int startColumn;
    int startRow;
    int domeX;
    int domeY;
};

constexpr ShippedMap kLevelOne{"level1.fmp", 5, 4, 288, 160};
constexpr ShippedMap kTestMap{"test.fmp", 10, 11, 640, 480};

std::vector<uint8_t> fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ShippedMapTest : public ::testing::Test {
protected:
    void SetUp() override { startHeadless(32); }
    void TearDown() override { freeMap(); }

    void load(const ShippedMap& map)
    {
        ASSERT_EQ(0, loadMap((gameDir() + "/" + map.file).c_str())) << map.file << " loadError " << tileMap.loadError;
    }

    // The layer the cart reads during play.
    static int cartLayer() { return tileMap.layers[1] ? 1 : 0; }

    static uint8_t ways(int layer, int column, int row)
    {
        selectLayer(layer);
        return getBlockAt(column, row)->flags & kWayBits;
    }
};

TEST_F(ShippedMapTest, LevelOneUsesSixteenBitsBigEndianRunsAndTwoLayers)
{
    load(kLevelOne);
    EXPECT_EQ(16, tileMap.graphicsDepth);
    EXPECT_EQ(0, tileMap.littleEndian);
    EXPECT_EQ(3, tileMap.encodingType);
    EXPECT_NE(nullptr, tileMap.layers[0]);
    EXPECT_NE(nullptr, tileMap.layers[1]);
    for (int n = 2; n < kLayerCount; ++n) {
        EXPECT_EQ(nullptr, tileMap.layers[n]) << "layer " << n;
    }
    EXPECT_GE(tileMap.mapWidth, kMinimumWidth);
    EXPECT_GE(tileMap.mapHeight, kMinimumHeight);
    EXPECT_EQ(kCell, tileMap.blockWidth);
    EXPECT_EQ(kCell, tileMap.blockHeight);

    // Block 0, which fills most of layer 1, is wholly transparent.
    BITMAP* empty = tileMap.blockRecords[0].backGraphic.bitmap;
    ASSERT_NE(nullptr, empty);
    int opaque = 0;
    for (int y = 0; y < empty->h; ++y) {
        for (int x = 0; x < empty->w; ++x) {
            opaque += getpixel(empty, x, y) != bitmap_mask_color(empty);
        }
    }
    EXPECT_EQ(0, opaque);
    const int cells = tileMap.mapWidth * tileMap.mapHeight;
    const long transparent = std::count(tileMap.layers[1], tileMap.layers[1] + cells, 0);
    EXPECT_GT(transparent, cells / 2) << "layer 1 should be mostly see-through";
    EXPECT_LT(transparent, cells) << "layer 1 should carry some overlays";
}

TEST_F(ShippedMapTest, LevelOneAnimationsShowTheirLoadTimeFrames)
{
    load(kLevelOne);
    ASSERT_NE(nullptr, tileMap.animRecords);
    const int cells = tileMap.mapWidth * tileMap.mapHeight;
    int animated = 0;
    bool sawLastFrameStart = false;
    for (int i = 0; i < cells; ++i) {
        const int16_t cell = tileMap.layers[0][i];
        if (cell >= 0) {
            continue;
        }
        ++animated;
        const AnimRecord& anim = tileMap.animRecordsEnd[cell];
        // Types 2, 6 and 7 start on their last frame, the others on the first.
        const bool startsOnLast = anim.type == 2 || anim.type == 6 || anim.type == 7;
        const int32_t expectedFrame = startsOnLast ? anim.endFrame - 1 : anim.firstFrame;
        sawLastFrameStart = sawLastFrameStart || (startsOnLast && anim.endFrame - anim.firstFrame > 1);
        selectLayer(0);
        EXPECT_EQ(&tileMap.blockRecords[tileMap.animFrames[expectedFrame]],
                  getBlockAt(i % tileMap.mapWidth, i / tileMap.mapWidth));
    }
    EXPECT_GT(animated, 0);
    EXPECT_TRUE(sawLastFrameStart) << "no animation that starts on its last frame";
}

// Walks the chunks of a plain FMP file and counts the back-copy runs in its
// BODY chunk: the level is meant to exercise them.
int countBackCopies(const std::vector<uint8_t>& bytes, int width, int height)
{
    auto bigEndian32 = [&](std::size_t at) {
        return static_cast<uint32_t>(bytes[at] << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8 | bytes[at + 3]);
    };
    auto bigEndian16 = [&](std::size_t at) { return static_cast<int16_t>(bytes[at] << 8 | bytes[at + 1]); };
    constexpr std::size_t kFormHeader = 12;
    constexpr std::size_t kChunkHeader = 8;
    for (std::size_t at = kFormHeader; at + kChunkHeader <= bytes.size();) {
        const uint32_t length = bigEndian32(at + 4);
        if (std::string(bytes.begin() + at, bytes.begin() + at + 4) == "BODY") {
            std::size_t p = at + kChunkHeader;
            int copies = 0;
            for (int row = 0; row < height; ++row) {
                for (int column = 0; column < width && p + 2 <= bytes.size();) {
                    const int16_t count = bigEndian16(p);
                    p += 2;
                    if (count > 0) {
                        p += 2 * count;
                        column += count;
                    } else if (count < 0) {
                        p += 2;
                        column -= count;
                        ++copies;
                    }
                }
            }
            return copies;
        }
        at += kChunkHeader + length;
    }
    return -1;
}

TEST_F(ShippedMapTest, LevelOneBodyIsCodedWithBackCopies)
{
    load(kLevelOne);
    const std::vector<uint8_t> bytes = fileBytes(gameDir() + "/level1.fmp");
    ASSERT_GT(bytes.size(), 12u);
    EXPECT_EQ("FORM", std::string(bytes.begin(), bytes.begin() + 4));
    EXPECT_GT(countBackCopies(bytes, tileMap.mapWidth, tileMap.mapHeight), 0);
}

TEST_F(ShippedMapTest, TestMapIsPackedEightBitLittleEndianByteOffsetsOneLayer)
{
    const std::vector<uint8_t> bytes = fileBytes(gameDir() + "/test.fmp");
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ("slh!", std::string(bytes.begin(), bytes.begin() + 4)) << "not in the packed-file format";

    load(kTestMap);
    EXPECT_EQ(8, tileMap.graphicsDepth);
    EXPECT_EQ(1, tileMap.littleEndian);
    EXPECT_EQ(0, tileMap.encodingType);
    EXPECT_NE(nullptr, tileMap.paletteData);
    EXPECT_NE(nullptr, tileMap.layers[0]);
    for (int n = 1; n < kLayerCount; ++n) {
        EXPECT_EQ(nullptr, tileMap.layers[n]) << "layer " << n;
    }
    EXPECT_GE(tileMap.mapWidth, kMinimumWidth);
    EXPECT_GE(tileMap.mapHeight, kMinimumHeight);
}

class ShippedTrackTest : public ShippedMapTest, public ::testing::WithParamInterface<ShippedMap> {};

TEST_P(ShippedTrackTest, EveryWayOutLeadsToAWayBackInsideTheMap)
{
    load(GetParam());
    const int width = tileMap.mapWidth;
    const int height = tileMap.mapHeight;
    int trackCells = 0;
    for (int layer = 0; layer <= cartLayer(); ++layer) {
        for (int row = 0; row < height; ++row) {
            for (int column = 0; column < width; ++column) {
                const uint8_t here = ways(layer, column, row);
                trackCells += here != 0;
                SCOPED_TRACE(testing::Message() << "layer " << layer << " cell (" << column << ", " << row << ")");
                if (here & kFlagExitUp) {
                    ASSERT_GT(row, 0);
                    EXPECT_TRUE(ways(layer, column, row - 1) & kFlagExitDown);
                }
                if (here & kFlagExitDown) {
                    ASSERT_LT(row, height - 1);
                    EXPECT_TRUE(ways(layer, column, row + 1) & kFlagExitUp);
                }
                if (here & kFlagExitLeft) {
                    ASSERT_GT(column, 0);
                    EXPECT_TRUE(ways(layer, column - 1, row) & kFlagExitRight);
                }
                if (here & kFlagExitRight) {
                    ASSERT_LT(column, width - 1);
                    EXPECT_TRUE(ways(layer, column + 1, row) & kFlagExitLeft);
                }
                // Before its first frame the cart reads layer 0: it must
                // find the same track there.
                EXPECT_EQ(ways(0, column, row), ways(cartLayer(), column, row));
            }
        }
    }
    EXPECT_GT(trackCells, 0);
}

TEST_P(ShippedTrackTest, StartCellIsOnTheTrack)
{
    load(GetParam());
    EXPECT_NE(0, ways(0, GetParam().startColumn, GetParam().startRow));
    EXPECT_NE(0, ways(cartLayer(), GetParam().startColumn, GetParam().startRow));
}

TEST_P(ShippedTrackTest, DomeStandsOnBareGroundWithinAShotOfTheTrack)
{
    load(GetParam());
    const ShippedMap& map = GetParam();
    double nearest = 1e9;
    for (int row = 0; row < tileMap.mapHeight; ++row) {
        for (int column = 0; column < tileMap.mapWidth; ++column) {
            const int left = column * kCell;
            const int top = row * kCell;
            const bool underDome = left < map.domeX + kDomeSize && left + kCell > map.domeX &&
                                   top < map.domeY + kDomeSize && top + kCell > map.domeY;
            if (underDome) {
                SCOPED_TRACE(testing::Message() << "cell (" << column << ", " << row << ")");
                EXPECT_EQ(0, ways(0, column, row));
                EXPECT_EQ(0, ways(cartLayer(), column, row));
                EXPECT_GE(tileMap.layers[0][row * tileMap.mapWidth + column], 0) << "no water under the dome";
                continue;
            }
            if (ways(cartLayer(), column, row) == 0) {
                continue;
            }
            // Distance from the cell's centre to the dome's box.
            const double cx = left + kCell / 2.0;
            const double cy = top + kCell / 2.0;
            const double dx = std::max({map.domeX - cx, 0.0, cx - (map.domeX + kDomeSize)});
            const double dy = std::max({map.domeY - cy, 0.0, cy - (map.domeY + kDomeSize)});
            nearest = std::min(nearest, std::hypot(dx, dy));
        }
    }
    EXPECT_LE(nearest, kShotRange);
}

// Drives a cart forward cell by cell with the game's turning rule (the
// first open side across the way it came, else back) and checks it never
// leaves the track: dead ends turn it round, the network has no trap.
TEST_P(ShippedTrackTest, ACartDrivingForeverStaysOnTheTrack)
{
    load(GetParam());
    enum Direction { kLeftward, kRightward, kDownward, kUpward };
    const uint8_t bit[] = {kFlagExitLeft, kFlagExitRight, kFlagExitDown, kFlagExitUp};
    const int dx[] = {-1, 1, 0, 0};
    const int dy[] = {0, 0, 1, -1};
    const int layer = cartLayer();
    int column = GetParam().startColumn;
    int row = GetParam().startRow;
    int direction = kDownward;  // the cart starts facing down
    constexpr int kSteps = 20000;
    int visited = 0;
    std::vector<bool> seen(tileMap.mapWidth * tileMap.mapHeight, false);
    for (int step = 0; step < kSteps; ++step) {
        const uint8_t here = ways(layer, column, row);
        ASSERT_NE(0, here) << "off the track at (" << column << ", " << row << ")";
        if (!(here & bit[direction])) {
            const bool horizontal = direction == kLeftward || direction == kRightward;
            const int first = horizontal ? kUpward : kLeftward;
            const int second = horizontal ? kDownward : kRightward;
            const int back = direction ^ 1;
            direction = (here & bit[first]) ? first : (here & bit[second]) ? second : back;
        }
        ASSERT_TRUE(here & bit[direction]) << "stuck at (" << column << ", " << row << ")";
        column += dx[direction];
        row += dy[direction];
        ASSERT_TRUE(column >= 0 && row >= 0 && column < tileMap.mapWidth && row < tileMap.mapHeight);
        if (!seen[row * tileMap.mapWidth + column]) {
            seen[row * tileMap.mapWidth + column] = true;
            ++visited;
        }
    }
    EXPECT_GT(visited, 40) << "the cart should get round a good part of the network";
}

INSTANTIATE_TEST_SUITE_P(BothMaps, ShippedTrackTest, ::testing::Values(kLevelOne, kTestMap),
                         [](const testing::TestParamInfo<ShippedMap>& info) {
                             return std::string(info.param.file[0] == 'l' ? "level1" : "test");
                         });

// --- Pictures ---------------------------------------------------------------

struct Strip {
    const char* file;
    int frameWidth;
    int frameHeight;
    int frames;
    bool animated;  // frames must differ from each other
};

constexpr Strip kStrips[] = {
    {"Cart.bmp", 32, 32, 2, true},      {"turret.bmp", 32, 32, 8, true}, {"Gun.bmp", 32, 32, 1, false},
    {"orb.bmp", 16, 16, 4, true},       {"alien.bmp", 128, 128, 5, true},
    {"dome.bmp", 128, 128, 4, true},
};

class ShippedPictureTest : public ::testing::Test {
protected:
    void SetUp() override { startHeadless(32); }

    static BITMAP* load(const char* file) { return load_bitmap((gameDir() + "/" + file).c_str(), nullptr); }
    static bool transparent(BITMAP* bitmap, int x, int y) { return getpixel(bitmap, x, y) == makecol(255, 0, 255); }

    static int opaquePixels(BITMAP* bitmap, int x0, int y0, int w, int h)
    {
        int count = 0;
        for (int y = y0; y < y0 + h; ++y) {
            for (int x = x0; x < x0 + w; ++x) {
                count += !transparent(bitmap, x, y);
            }
        }
        return count;
    }

    static bool sameFrames(BITMAP* strip, int a, int b, int w, int h)
    {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (getpixel(strip, a * w + x, y) != getpixel(strip, b * w + x, y)) {
                    return false;
                }
            }
        }
        return true;
    }
};

TEST_F(ShippedPictureTest, StripsHaveTheirFramesInOneRowOnATransparentGround)
{
    for (const Strip& strip : kStrips) {
        SCOPED_TRACE(strip.file);
        BITMAP* bitmap = load(strip.file);
        ASSERT_NE(nullptr, bitmap);
        EXPECT_EQ(strip.frameWidth * strip.frames, bitmap->w);
        EXPECT_EQ(strip.frameHeight, bitmap->h);
        for (int frame = 0; frame < strip.frames; ++frame) {
            const int x0 = frame * strip.frameWidth;
            // Corners are see-through; the figure fills a fair part of the frame.
            EXPECT_TRUE(transparent(bitmap, x0, 0));
            EXPECT_TRUE(transparent(bitmap, x0 + strip.frameWidth - 1, strip.frameHeight - 1));
            const int opaque = opaquePixels(bitmap, x0, 0, strip.frameWidth, strip.frameHeight);
            EXPECT_GT(opaque, strip.frameWidth * strip.frameHeight / 10) << "frame " << frame;
            if (strip.animated && frame > 0) {
                EXPECT_FALSE(sameFrames(bitmap, frame - 1, frame, strip.frameWidth, strip.frameHeight))
                    << "frames " << frame - 1 << " and " << frame << " are the same";
            }
        }
        destroy_bitmap(bitmap);
    }
}

TEST_F(ShippedPictureTest, GunPointsDownFromTheCentre)
{
    BITMAP* gun = load("Gun.bmp");
    ASSERT_NE(nullptr, gun);
    // The barrel runs below the centre; nothing of it reaches above.
    EXPECT_GT(opaquePixels(gun, 12, 20, 8, 10), 40);
    EXPECT_EQ(0, opaquePixels(gun, 0, 0, 32, 10));
    destroy_bitmap(gun);
}

TEST_F(ShippedPictureTest, PanelIsSeeThroughOverThePlayAreaWithAWindowForTheFace)
{
    BITMAP* gui = load("gui.bmp");
    BITMAP* face = load("face.bmp");
    ASSERT_NE(nullptr, gui);
    ASSERT_NE(nullptr, face);
    EXPECT_EQ(640, gui->w);
    EXPECT_EQ(480, gui->h);
    EXPECT_EQ(0, opaquePixels(gui, 0, 0, 640, 370));
    // The band is opaque outside the face window: whole rows above it, and
    // beside it down to the bottom edge.
    EXPECT_EQ(640 * 5, opaquePixels(gui, 0, 382, 640, 5));
    const int right = 13 + face->w;
    EXPECT_EQ(13 * 90, opaquePixels(gui, 0, 390, 13, 90));
    EXPECT_EQ((640 - right) * 90, opaquePixels(gui, right, 390, 640 - right, 90));
    // The face fits its box above the bottom edge and shows through a hole.
    EXPECT_LE(390 + face->h, 480);
    EXPECT_LE(face->w, 100);
    EXPECT_EQ(0, opaquePixels(gui, 13, 390, face->w, face->h));
    EXPECT_EQ(face->w * face->h, opaquePixels(face, 0, 0, face->w, face->h)) << "the portrait is opaque";
    destroy_bitmap(face);
    destroy_bitmap(gui);
}

// Every strip scaled up on grass-coloured ground (so the transparency and
// the contrast against the map can be judged), one strip per row.
TEST_F(ShippedPictureTest, ContactSheetOfEveryStrip)
{
    constexpr int kRowHeight = 256;
    constexpr int kGap = 8;
    constexpr int kSheetWidth = 1280;
    const int rows = static_cast<int>(std::size(kStrips));
    BITMAP* sheet = create_bitmap(kSheetWidth, rows * (kRowHeight + kGap));
    ASSERT_NE(nullptr, sheet);
    clear_to_color(sheet, makecol(74, 140, 60));
    int top = 0;
    for (const Strip& strip : kStrips) {
        BITMAP* bitmap = load(strip.file);
        ASSERT_NE(nullptr, bitmap);
        const int scale = std::min(kRowHeight / strip.frameHeight, kSheetWidth / bitmap->w);
        BITMAP* scaled = create_bitmap(bitmap->w * scale, bitmap->h * scale);
        stretch_blit(bitmap, scaled, 0, 0, bitmap->w, bitmap->h, 0, 0, scaled->w, scaled->h);
        draw_sprite(sheet, scaled, 0, top);
        // Frame boundaries as thin dark ticks under the row.
        for (int frame = 0; frame <= strip.frames; ++frame) {
            vline(sheet, frame * strip.frameWidth * scale, top + scaled->h, top + scaled->h + kGap - 2, 0);
        }
        top += kRowHeight + kGap;
        destroy_bitmap(scaled);
        destroy_bitmap(bitmap);
    }
    const std::filesystem::path folder = std::filesystem::path(GLIM_BINARY_DIR) / "artifacts";
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "sprites.bmp").string();
    EXPECT_EQ(0, save_bitmap(path.c_str(), sheet, nullptr));
    destroy_bitmap(sheet);
    EXPECT_TRUE(std::filesystem::exists(path));
}

}  // namespace
