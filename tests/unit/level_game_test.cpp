// Monsters on a hand-filled field, and levels of the shipped maps, headless in the game's
// folder with the clock set by hand.
#include "level/screens.h"
#include "base/colors.h"
#include "base/counters.h"
#include "tests/unit/level_test_world.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

using Lines = std::vector<std::pair<int, std::string>>;

// Stand-in for the pages' wait: counts, and keeps the screen as it is then.
int pageWaits = 0;
BITMAP* shownPage = nullptr;
void recordPage()
{
    ++pageWaits;
    blit(screen, shownPage, 0, 0, 0, 0, screen->w, screen->h);
}

class PlayTest : public testworld::GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        clear_to_color(screen, colorRed);
        shownPage = create_bitmap(screen->w, screen->h);
        savedWait_ = std::exchange(waitForEscPressAndRelease, recordPage);
        pageWaits = 0;
    }
    void TearDown() override
    {
        waitForEscPressAndRelease = savedWait_;
        destroy_bitmap(shownPage);
        GameTest::TearDown();
    }

    // The page's lines are as expected (trailing blanks show only there),
    // and it waited once, showing them white on black in the library's font.
    static void expectPage(const std::vector<PageLine>& lines, const Lines& expected)
    {
        Lines given;
        for (const PageLine& line : lines) given.emplace_back(line.y, line.text);
        EXPECT_EQ(given, expected);
        ASSERT_EQ(pageWaits, 1);
        BITMAP* want = create_bitmap(screen->w, screen->h);
        clear_to_color(want, colorBlack);
        for (const auto& [y, text] : expected) textout_ex(want, font, text.c_str(), 0, y, colorWhite, -1);
        int differingRows = 0;  // of 32-bit pixels, 4 bytes each
        for (int y = 0; y < screen->h; ++y) {
            differingRows += std::memcmp(want->line[y], shownPage->line[y], screen->w * 4) != 0;
        }
        EXPECT_EQ(differingRows, 0);
        destroy_bitmap(want);
    }

    Level level;

private:
    void (*savedWait_)() = nullptr;
};

class FieldTest : public testworld::WorldTest {};

// A Balrog's five frames on a map of 40 x 30 blocks, a dome at (1000, 1000).
TEST_F(FieldTest, TenHitsSendAMonsterBackWithFullHealthWithin2000Ticks)
{
    testworld::writeStrip(folder.file("alien.bmp"), 128, 128, 5);
    useTrack(std::vector<std::string>(30, std::string(40, '.')));
    level.domes[0]->init(1000, 1000);
    Alien& alien = *level.aliens[0];
    alien.spawn(level.domes);
    alien.x = alien.y = 100;
    tickCounter = 3000;  // past the longest wait, so that a wait not counted from now shows
    for (int hit = 1; hit < 10; ++hit) alien.hit();
    ASSERT_TRUE(alien.sprite->active);
    alien.hit();
    ASSERT_FALSE(alien.sprite->active);
    ASSERT_GE(alien.spawnTime, 3000);
    ASSERT_LT(alien.spawnTime, 5000);
    tickCounter = alien.spawnTime;  // the clock must be past the moment, not on it
    level.updateAliens();
    EXPECT_FALSE(alien.sprite->active);
    tickCounter = alien.spawnTime + 1;
    level.updateAliens();
    EXPECT_TRUE(alien.sprite->active);
    EXPECT_EQ(alien.health, 10);
}

// The game-over verdict at each side of every step of 20 points.
TEST(PagesTest, VerdictsChangeAtEachBoundary)
{
    const char* lowest = "Is that the best you can do?";
    const char* top = "Man, you've been playing this buggy game way too long!";
    const std::pair<int32_t, std::string> cases[] = {
        {INT32_MIN, lowest}, {19, lowest},    {20, "Not bad..."}, {39, "Not bad..."}, {40, "Decent."},
        {59, "Decent."},     {60, "Good..."}, {79, "Good..."},    {80, "Rockin'!"},   {99, "Rockin'!"},
        {100, top},          {5000, top},     {INT32_MAX, top},
    };
    for (const auto& [score, verdict] : cases) EXPECT_EQ(verdictFor(score), verdict) << "score " << score;
}

// A system driver that lets a tick pass whenever a bitmap is made, as a slow
// disk would while a picture loads.
SYSTEM_DRIVER* plainDriver = nullptr;
SYSTEM_DRIVER slowDriver;

BITMAP* createBitmapOneTickLate(int depth, int w, int h)
{
    ++tickCounter;
    system_driver = plainDriver;
    BITMAP* made = create_bitmap_ex(depth, w, h);
    system_driver = &slowDriver;
    return made;
}

// The shot loads its picture from disk; a tick that passes meanwhile counts
// towards the wait for the next one. (A playback replays the clock's readings
// in order, so the golden demos cannot see a reading taken before the load.)
TEST_F(PlayTest, SpaceFiresAndTheWaitStartsAfterTheShotsLoad)
{
    level.begin("level1.fmp");
    key[KEY_SPACE] = 1;
    tickCounter = 100;
    plainDriver = system_driver;
    slowDriver = *plainDriver;
    slowDriver.create_bitmap = createBitmapOneTickLate;
    system_driver = &slowDriver;
    level.handleInput();
    system_driver = plainDriver;
    EXPECT_GT(tickCounter.load(), 100);
    EXPECT_EQ(level.lastFireTick, tickCounter.load());
    level.end();
}

TEST_F(PlayTest, HelpAndGameOverPagesShowEveryLineOnItsRow)
{
    // Help: 24 rows, the blank ones (7 to 9 and 15 to 17) left out.
    level.showHelp();
    Lines help;
    for (const PageLine& line : helpPageLines()) help.emplace_back(line.y, line.text);
    ASSERT_EQ(help.size(), 18u);
    EXPECT_EQ(help[7], Lines::value_type(100, "Object of Game"));
    EXPECT_EQ(help[17], Lines::value_type(230, "submission.  Oh well, it's not terribly bad."));
    expectPage(helpPageLines(), help);
    pageWaits = 0;
    level.score = -3;
    level.secondsPlayed = 123456;
    level.showGameOver();
    expectPage(gameOverPageLines(-3, 123456), {{0, "------------------Game Over-----------------"},
                                               {10, "The Balrogs destroyed all your domes!"},
                                               {20, "Final score:  -3"},
                                               {30, "Is that the best you can do?"},
                                               {40, "Time:  123456"},
                                               {50, "Press ESC to continue"}});
}

// Where begin puts the cart, the domes, the orbs and the first Balrogs of a
// shipped map is in the golden demos' start state (level_demo_test).
class ShippedMapTest : public PlayTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ShippedMapTest, BeginResetsTheClockThePlayEndsWithTheLastDomeAndEndEmptiesEverySlot)
{
    tickCounter = 777;
    level.begin(GetParam());
    EXPECT_EQ(tickCounter.load(), 0);
    level.playFrame();
    // The last dome falls: the frame is still scored, then the game ends.
    for (Dome* dome : level.domes) dome->sprite->active = false;
    tickCounter = 60;
    level.playFrame();
    EXPECT_TRUE(level.gameOver);
    EXPECT_EQ(std::make_pair(level.secondsPlayed, level.score), std::make_pair(1, 0));
    level.end();
    EXPECT_TRUE(!level.craft && !level.guiBitmap && !level.faceBitmap && !tileMap.layers[0]);
    EXPECT_EQ(std::count(level.orbs, std::end(level.orbs), nullptr) +
                  std::count(level.aliens, std::end(level.aliens), nullptr) +
                  std::count(level.domes, std::end(level.domes), nullptr),
              kOrbSlots + kAlienSlots + kDomeSlots);
}

INSTANTIATE_TEST_SUITE_P(Maps, ShippedMapTest, ::testing::Values("level1.fmp", "test.fmp"));

TEST_F(PlayTest, AHundredRunsInOneProcessKeepNoMemory)
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

// A missing map's message and status are e2e_game_play's, which deletes
// level1.fmp and chooses it.
TEST_F(PlayTest, MissingPicturesEndTheProgramWithTheirMessageAndStatusZero)
{
    // Without a display the library prints its messages on stdout.
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
