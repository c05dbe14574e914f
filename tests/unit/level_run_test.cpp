// A level's life on the shipped maps: what begin builds and where it puts
// the cart and the dome, one frame of play, the end of the game, teardown
// without leaks, and the fatal paths for a missing map or picture.
#include "entities/alien.h"
#include "entities/dome.h"
#include "entities/orb.h"
#include "entities/player_craft.h"
#include "entities/sprite.h"
#include "level/level.h"
#include "level/screens.h"
#include "shell/counters.h"
#include "tests/support/headless.h"
#include "tests/unit/level_test_world.h"
#include "tilemap/tilemap.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

void noWait() {}

class RunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        startHeadless();
        text_mode(makecol(255, 0, 255));
        backBuffer = create_bitmap(640, 480);
        // Music is for the end-to-end tests; here it counts as started.
        levelMusicStarted = 1;
        testworld::releaseAllKeys();
        std::srand(1);
        savedWait = waitForEscPressAndRelease;
        waitForEscPressAndRelease = noWait;
    }
    void TearDown() override
    {
        waitForEscPressAndRelease = savedWait;
        testworld::releaseAllKeys();
        destroy_bitmap(backBuffer);
        backBuffer = nullptr;
    }

    ScopedChdir inGame{gameDir()};
    Level level;
    void (*savedWait)() = nullptr;
};

struct Placement {
    const char* map;
    int craftX, craftY, cellX, cellY, domeX, domeY;
};

class RunPlacementTest : public RunTest, public ::testing::WithParamInterface<Placement> {};

TEST_P(RunPlacementTest, BeginBuildsTheLevelAndPlacesCartAndDomeByMapName)
{
    const Placement& p = GetParam();
    tickCounter = 777;
    level.begin(p.map);

    ASSERT_NE(level.craft, nullptr);
    EXPECT_EQ(level.craft->x, p.craftX);
    EXPECT_EQ(level.craft->y, p.craftY);
    EXPECT_EQ(level.cellX, p.cellX);
    EXPECT_EQ(level.cellY, p.cellY);
    EXPECT_EQ(level.cellCentreX, p.craftX + 16);
    EXPECT_EQ(level.cellCentreY, p.craftY + 16);
    EXPECT_EQ(level.craft->speed, 0.0f);
    EXPECT_EQ(level.craft->maxSpeed, 10);
    EXPECT_EQ(level.craft->facing, kDirectionDown);

    ASSERT_NE(level.domes[0], nullptr);
    EXPECT_TRUE(level.domes[0]->sprite->active);
    EXPECT_EQ(level.domes[0]->x, p.domeX);
    EXPECT_EQ(level.domes[0]->y, p.domeY);
    EXPECT_EQ(level.domes[0]->health, 50);
    for (int i = 1; i < kDomeSlots; ++i) {
        ASSERT_NE(level.domes[i], nullptr);
        EXPECT_FALSE(level.domes[i]->sprite->active) << "slot " << i << " counts as fallen";
    }
    for (Orb* orb : level.orbs) {
        ASSERT_NE(orb, nullptr);
        EXPECT_FALSE(orb->sprite->active);
        EXPECT_NE(orb->sprite->strip, nullptr) << "graphics loaded before play";
    }
    for (Alien* alien : level.aliens) {
        ASSERT_NE(alien, nullptr);
        EXPECT_FALSE(alien->sprite->active);
        EXPECT_GE(alien->spawnTime, 0);
        EXPECT_LT(alien->spawnTime, 1000);
    }
    EXPECT_EQ(tickCounter.load(), 0);
    EXPECT_NE(level.guiBitmap, nullptr);
    EXPECT_NE(level.faceBitmap, nullptr);
    EXPECT_EQ(level.score, 0);
    EXPECT_EQ(level.secondsPlayed, 0);
    EXPECT_FALSE(level.gameOver);
    EXPECT_NE(tileMap.layers[0], nullptr);

    level.end();
}

INSTANTIATE_TEST_SUITE_P(ShippedMaps, RunPlacementTest,
                         ::testing::Values(Placement{"level1.fmp", 160, 128, 5, 4, 288, 160},
                                           Placement{"test.fmp", 320, 352, 10, 11, 640, 480}),
                         [](const auto& info) {
                             return std::string(info.param.map[0] == 'l' ? "Level1" : "TestMap");
                         });

TEST_F(RunTest, EndEmptiesEverySlotAndFreesTheMap)
{
    level.begin("level1.fmp");
    level.end();
    EXPECT_EQ(level.craft, nullptr);
    for (Orb* orb : level.orbs) {
        EXPECT_EQ(orb, nullptr);
    }
    for (Alien* alien : level.aliens) {
        EXPECT_EQ(alien, nullptr);
    }
    for (Dome* dome : level.domes) {
        EXPECT_EQ(dome, nullptr);
    }
    EXPECT_EQ(level.guiBitmap, nullptr);
    EXPECT_EQ(level.faceBitmap, nullptr);
    EXPECT_EQ(tileMap.layers[0], nullptr);
}

TEST_F(RunTest, TheFirstFrameOnLevel1ShowsTheDomeWhereItWasPlaced)
{
    level.begin("level1.fmp");
    level.playFrame();
    EXPECT_EQ(level.cameraX, 0) << "the cart's camera is clamped to the map's corner";
    EXPECT_EQ(level.cameraY, 0);
    // Every opaque pixel of the dome's frame is on the screen at (288, 160),
    // unless the panel covers it.
    const Dome& dome = *level.domes[0];
    BITMAP* frame = dome.sprite->frameBitmap;
    int checked = 0;
    int mismatches = 0;
    for (int y = 0; y < frame->h; ++y) {
        for (int x = 0; x < frame->w; ++x) {
            const int pixel = getpixel(frame, x, y);
            if (pixel == bitmap_mask_color(frame) ||
                getpixel(level.guiBitmap, 288 + x, 160 + y) != bitmap_mask_color(level.guiBitmap)) {
                continue;
            }
            ++checked;
            mismatches += getpixel(screen, 288 + x, 160 + y) != pixel;
        }
    }
    EXPECT_GT(checked, 1000);
    EXPECT_EQ(mismatches, 0);
    level.end();
}

TEST_F(RunTest, AFrameCountsItselfAndScoresAtOnceAfterTheClockReset)
{
    level.begin("test.fmp");
    const int32_t frames = frameCounter.load();
    level.playFrame();
    EXPECT_EQ(frameCounter.load(), frames + 1);
    // The first run's last scoring tick is 0, and the clock is back at 0:
    // no step yet.
    EXPECT_EQ(level.secondsPlayed, 0);
    tickCounter = 51;
    level.playFrame();
    EXPECT_EQ(level.secondsPlayed, 1);
    EXPECT_EQ(level.score, 1);
    level.end();
}

TEST_F(RunTest, WhenTheLastDomeFallsTheGameEndsButTheFrameIsStillScoredAndDrawn)
{
    level.begin("level1.fmp");
    level.domes[0]->sprite->active = false;
    tickCounter = 60;
    level.playFrame();
    EXPECT_TRUE(level.gameOver);
    EXPECT_EQ(level.secondsPlayed, 1) << "the scoring step of the last pass";
    EXPECT_EQ(level.score, 0);
    level.end();
}

TEST_F(RunTest, RunReturnsAtOnceWhileEscIsHeldAndLeavesNothingBehind)
{
    key[KEY_ESC] = 1;
    level.run("test.fmp");
    EXPECT_EQ(level.craft, nullptr);
    EXPECT_EQ(level.guiBitmap, nullptr);
    EXPECT_EQ(tileMap.layers[0], nullptr);
}

TEST_F(RunTest, EnginesAndTheLastTicksCarryOverToTheNextRun)
{
    level.begin("level1.fmp");
    level.frontEnginesOn = true;
    level.lastFireTick = 400;
    level.lastScoreTick = 500;
    level.end();
    level.begin("test.fmp");
    EXPECT_TRUE(level.frontEnginesOn);
    EXPECT_EQ(level.lastFireTick, 400);
    EXPECT_EQ(level.lastScoreTick, 500);
    level.playFrame();
    EXPECT_EQ(level.secondsPlayed, 1) << "|0 - 500| > 50: a step at the first frame";
    level.end();
}

TEST_F(RunTest, AHundredRunsInOneProcessKeepNoMemory)
{
    // Warm-up: the library and the map view keep buffers of their own for
    // the whole process.
    for (int i = 0; i < 2; ++i) {
        level.begin(i % 2 ? "test.fmp" : "level1.fmp");
        level.playFrame();
        level.end();
    }
    const std::size_t before = testworld::heapBytesInUse();
    for (int i = 0; i < 100; ++i) {
        level.begin(i % 2 ? "test.fmp" : "level1.fmp");
        key[KEY_SPACE] = 1;  // a shot reloads an orb's graphics
        tickCounter = 10;
        level.playFrame();
        key[KEY_SPACE] = 0;
        level.end();
    }
    // The smallest thing a run makes is a 16 x 16 orb frame of 1 KB: one of
    // them kept per run would add 100 KB.
    EXPECT_LT(testworld::heapBytesInUse(), before + 64 * 1024);
}

using RunDeathTest = RunTest;

TEST_F(RunDeathTest, AMissingMapEndsTheProgramWithItsMessageAndStatusZero)
{
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            level.begin("nowhere.fmp");
        },
        ::testing::ExitedWithCode(0), "^Cannot find MAP file:  nowhere\\.fmp$");
}

TEST_F(RunDeathTest, AMissingPanelPictureEndsTheProgramNamingIt)
{
    TempDir copy;
    for (const char* name : {"level1.fmp", "Cart.bmp", "turret.bmp", "Gun.bmp", "orb.bmp",
                             "alien.bmp", "dome.bmp", "face.bmp"}) {
        std::filesystem::copy_file(gameDir() + "/" + name, copy.file(name));
    }
    ScopedChdir inCopy(copy.path());
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            level.begin("level1.fmp");
        },
        ::testing::ExitedWithCode(0), "Cannot load picture file:  gui\\.bmp");
}

TEST_F(RunDeathTest, TheFirstRunStartsTheLevelMusicOnceForTheProcess)
{
    // In a child process, so that the music stream stays out of the others.
    EXPECT_EXIT(
        {
            levelMusicStarted = 0;
            level.begin("test.fmp");
            level.end();
            std::exit(levelMusicStarted == 1 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
