// The shipped maps' tracks as the cart meets them: driven for thousands of
// frames from its start cell, forwards and then backwards, the cart stays on
// track cells inside the map and on its cell across its way of travel.
#include "entities/player_craft.h"
#include "level/level.h"
#include "shell/counters.h"
#include "tests/support/headless.h"
#include "tests/unit/level_test_world.h"
#include "tilemap/lookup.h"
#include "tilemap/tilemap.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

namespace {

constexpr int kFramesEachWay = 4000;

class TracksTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        startHeadless();
        text_mode(makecol(255, 0, 255));
        backBuffer = create_bitmap(640, 480);
        levelMusicStarted = 1;
        testworld::releaseAllKeys();
    }
    void TearDown() override
    {
        testworld::releaseAllKeys();
        destroy_bitmap(backBuffer);
        backBuffer = nullptr;
    }

    // Drives with `driveKey` held, one tick per frame, checking every frame.
    void drive(int driveKey, const char* way)
    {
        key[driveKey] = 1;
        const PlayerCraft& craft = *level.craft;
        for (int frame = 0; frame < kFramesEachWay; ++frame) {
            tickCounter += 1;
            level.handleInput();
            const int column = level.cellX;
            const int row = level.cellY;
            ASSERT_TRUE(column >= 0 && column < tileMap.mapWidth && row >= 0 && row < tileMap.mapHeight)
                << way << ", frame " << frame << ": cell " << column << "," << row << " outside the map";
            ASSERT_NE(getBlockAt(column, row)->flags, 0)
                << way << ", frame " << frame << ": cell " << column << "," << row << " is no track";
            const int direction = craft.moveDirection;
            if (direction == kDirectionLeft || direction == kDirectionRight) {
                ASSERT_EQ(craft.y, row * 32) << way << ", frame " << frame;
            } else if (direction != kDirectionNone) {
                ASSERT_EQ(craft.x, column * 32) << way << ", frame " << frame;
            }
            ASSERT_LT(std::abs(craft.x - column * 32), 32) << way << ", frame " << frame;
            ASSERT_LT(std::abs(craft.y - row * 32), 32) << way << ", frame " << frame;
            visited.insert({column, row});
        }
        key[driveKey] = 0;
    }

    ScopedChdir inGame{gameDir()};
    Level level;
    std::set<std::pair<int, int>> visited;
};

TEST_P(TracksTest, TheCartKeepsToTheTrackForwardsAndBackwards)
{
    tickCounter = 0;
    level.begin(GetParam());
    // During play the cart reads the layer the view drawing leaves current.
    level.drawScene();
    const int startColumn = level.cellX;
    const int startRow = level.cellY;
    ASSERT_NE(getBlockAt(startColumn, startRow)->flags, 0) << "the start cell is track";

    drive(KEY_LCONTROL, "forwards");
    const size_t forwardCells = visited.size();
    EXPECT_GE(forwardCells, 20u) << "the cart went somewhere";
    EXPECT_GT(level.craft->speed, 10.0f) << "at top speed";

    drive(KEY_ALT, "backwards");
    EXPECT_TRUE(level.backEnginesOn);
    level.end();
}

INSTANTIATE_TEST_SUITE_P(ShippedMaps, TracksTest, ::testing::Values("level1.fmp", "test.fmp"),
                         [](const auto& info) {
                             return std::string(info.param[0] == 'l' ? "Level1" : "TestMap");
                         });

}  // namespace
