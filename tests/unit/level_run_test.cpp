// A level's life on the shipped maps: what begin builds and where, the end of
// the game, teardown without leaks, and the fatal paths for a missing map or picture.
#include "level/screens.h"
#include "base/counters.h"
#include "tests/unit/level_test_world.h"

#include <algorithm>
#include <iterator>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <utility>

namespace {

void noWait() {}

class RunTest : public testworld::GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        waitForEscPressAndRelease = noWait;  // the game-over page
    }

    Level level;
};

struct Placement { const char* map; int cartX, cartY, domeX, domeY; };

class ShippedMapTest : public RunTest, public ::testing::WithParamInterface<Placement> {};

TEST_P(ShippedMapTest, BeginPlacesCartAndDomeByMapNameThePlayEndsWithTheDomeAndEndEmptiesEverySlot)
{
    const Placement& p = GetParam();
    tickCounter = 777;
    level.begin(p.map);
    EXPECT_EQ(tickCounter.load(), 0);
    EXPECT_EQ(std::make_pair(level.craft->x, level.craft->y), std::make_pair(p.cartX, p.cartY));
    EXPECT_EQ(std::make_pair(level.cellX, level.cellY), std::make_pair(p.cartX / 32, p.cartY / 32));
    EXPECT_EQ(std::make_pair(level.domes[0]->x, level.domes[0]->y), std::make_pair(p.domeX, p.domeY));
    for (int i = 0; i < kDomeSlots; ++i) EXPECT_EQ(level.domes[i]->sprite->active, i == 0) << "slot " << i;
    for (Orb* orb : level.orbs) ASSERT_TRUE(orb && orb->sprite->strip && !orb->sprite->active);
    for (Alien* alien : level.aliens) ASSERT_TRUE(alien && alien->spawnTime >= 0 && alien->spawnTime < 1000);
    EXPECT_FALSE(level.frontEnginesOn || level.backEnginesOn || level.lastFireTick || level.lastScoreTick);
    // The camera keeps the cart's centre at (310, 230), inside the map.
    level.playFrame();
    EXPECT_EQ(std::make_pair(level.cameraX, level.cameraY),
              std::make_pair(std::max(0, p.cartX + 16 - 310), std::max(0, p.cartY + 16 - 230)));
    // The last dome falls: the frame is still scored, then the game ends.
    level.domes[0]->sprite->active = false;
    tickCounter = 60;
    level.playFrame();
    EXPECT_TRUE(level.gameOver);
    EXPECT_EQ(std::make_pair(level.secondsPlayed, level.score), std::make_pair(1, 0));
    level.end();
    EXPECT_TRUE(!level.craft && !level.guiBitmap && !level.faceBitmap && !tileMap.layers[0]);
    EXPECT_EQ(std::count(level.orbs, std::end(level.orbs), nullptr) + std::count(level.aliens, std::end(level.aliens), nullptr) +
                  std::count(level.domes, std::end(level.domes), nullptr),
              kOrbSlots + kAlienSlots + kDomeSlots);
}

INSTANTIATE_TEST_SUITE_P(Maps, ShippedMapTest,
                         ::testing::Values(Placement{"level1.fmp", 160, 128, 288, 160},
                                           Placement{"test.fmp", 320, 352, 640, 480}),
                         [](const auto& info) { return std::string(info.param.map[0] == 'l' ? "Level1" : "TestMap"); });

TEST_F(RunTest, AHundredRunsInOneProcessKeepNoMemory)
{
    const auto play = [this](int i) {
        level.begin(i % 2 ? "test.fmp" : "level1.fmp");
        key[KEY_SPACE] = 1;  // a shot reloads an orb's graphics
        tickCounter = 10;
        level.playFrame();
        key[KEY_SPACE] = 0;
        level.end();
    };
    play(0);  // the library and the map view keep buffers for the process
    play(1);
    const std::size_t before = testworld::heapBytesInUse();
    for (int i = 0; i < 100; ++i) play(i);
    // The smallest thing a run makes, a 16 x 16 orb frame, is 1 KB.
    EXPECT_LT(testworld::heapBytesInUse(), before + 64 * 1024);
    key[KEY_ESC] = 1;  // and run() itself, left at once, leaves nothing
    level.run("test.fmp");
    EXPECT_TRUE(!level.craft && !level.guiBitmap && !tileMap.layers[0]);
}

TEST_F(RunTest, MissingFilesEndTheProgramWithTheirMessageAndStatusZero)
{
    // Without a display the library prints its messages on stdout.
    EXPECT_EXIT((dup2(STDERR_FILENO, STDOUT_FILENO), level.begin("nowhere.fmp")), ::testing::ExitedWithCode(0),
                "^Cannot find MAP file:  nowhere\\.fmp$");
    TempDir copy;
    for (const char* name : {"level1.fmp", "Cart.bmp", "turret.bmp", "Gun.bmp", "orb.bmp", "alien.bmp", "dome.bmp", "face.bmp"})
        std::filesystem::copy_file(gameDir() + "/" + name, copy.file(name));
    ScopedChdir inCopy(copy.path());
    EXPECT_EXIT((dup2(STDERR_FILENO, STDOUT_FILENO), level.begin("level1.fmp")), ::testing::ExitedWithCode(0),
                "Cannot load picture file:  gui\\.bmp");
    Sprite strip;
    EXPECT_EXIT((dup2(STDERR_FILENO, STDOUT_FILENO), strip.load("absent.bmp", 8, 8, 3)), ::testing::ExitedWithCode(0),
                "Cannot load picture file:  absent\\.bmp");
}

}  // namespace
