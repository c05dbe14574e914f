// The help and game-over pages: texts and rows to the pixel, the verdicts,
// and the wait for ESC.
#include "level/level.h"
#include "level/screens.h"
#include "shell/colors.h"
#include "tests/support/headless.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Lines = std::vector<std::pair<int, std::string>>;

// Stand-in for the wait: keeps the screen as it was while the page was up.
int waitCalls = 0;
BITMAP* shownPage = nullptr;
void recordPage()
{
    ++waitCalls;
    blit(screen, shownPage, 0, 0, 0, 0, screen->w, screen->h);
}

class ScreensTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        startHeadless(32);
        text_mode(colorMagenta);  // as the game sets it at start-up
        clear_to_color(screen, colorRed);  // whatever play left must go
        shownPage = create_bitmap(screen->w, screen->h);
        savedWait_ = std::exchange(waitForEscPressAndRelease, recordPage);
        waitCalls = 0;
    }
    void TearDown() override
    {
        waitForEscPressAndRelease = savedWait_;
        destroy_bitmap(shownPage);
    }

    // The page's lines as given, and the shown page against the same lines
    // drawn white on black with the library's font, pixel for pixel.
    static void expectPage(const std::vector<PageLine>& lines, const Lines& expected)
    {
        Lines given;
        for (const PageLine& line : lines) given.emplace_back(line.y, line.text);
        EXPECT_EQ(given, expected);  // trailing blanks show only here
        EXPECT_EQ(waitCalls, 1);
        BITMAP* reference = create_bitmap(screen->w, screen->h);
        clear_to_color(reference, colorBlack);
        for (const auto& [y, text] : expected) {
            textout_ex(reference, font, text.c_str(), 0, y, colorWhite, -1);
        }
        int differing = 0;
        for (int y = 0; y < reference->h; ++y) {
            for (int x = 0; x < reference->w; ++x) {
                differing += getpixel(reference, x, y) != getpixel(shownPage, x, y);
            }
        }
        destroy_bitmap(reference);
        EXPECT_EQ(differing, 0);
    }

    void (*savedWait_)() = nullptr;
    Level level;
};

TEST_F(ScreensTest, HelpPageShowsEveryLineOnItsRow)
{
    level.showHelp();
    expectPage(helpPageLines(), {
        {0, "------------------Help Menu-----------------"},
        {10, "LEFT CONTROL - Turn on front engines"},
        {20, "SHIFT or ALT - Turn on back engines"},
        {30, "SPACE - Fire fire-like weapon"},
        {40, "ARROW KEYS - Aim Turret"},
        {50, "F1 - Help Menu"},
        {60, "ESC - Exit current map and/or game"},
        {100, "Object of Game"},
        {110, "Kill the oncoming Balrogs before they reach the"},
        {120, "domes.  You receive one point for each dome"},
        {130, "still standing after every second.  Don't "},
        {140, "let the monsters win!"},
        {180, "The core elements of this game are done, "},
        {190, "however, there is so much lacking, it doesn't"},
        {200, "feel quite like a game, does it?  Trying to "},
        {210, "save myself, I quickly changed the gameplay 2 "},
        {220, "hours before it was time to send in the final"},
        {230, "submission.  Oh well, it's not terribly bad."},
    });
}

TEST_F(ScreensTest, GameOverPageGivesScoreVerdictAndTime)
{
    level.score = -3;
    level.secondsPlayed = 123456;
    level.showGameOver();
    expectPage(gameOverPageLines(-3, 123456), {
        {0, "------------------Game Over-----------------"},
        {10, "The Balrogs destroyed all your domes!"},
        {20, "Final score:  -3"},
        {30, "Is that the best you can do?"},
        {40, "Time:  123456"},
        {50, "Press ESC to continue"},
    });
}

TEST_F(ScreensTest, VerdictsChangeAtEachBoundary)
{
    const std::string lowest = "Is that the best you can do?";
    const std::string top = "Man, you've been playing this buggy game way too long!";
    const std::pair<int32_t, std::string> cases[] = {
        {INT32_MIN, lowest}, {19, lowest},        {20, "Not bad..."}, {39, "Not bad..."},
        {40, "Decent."},     {59, "Decent."},     {60, "Good..."},    {79, "Good..."},
        {80, "Rockin'!"},    {99, "Rockin'!"},    {100, top},         {5000, top},
        {INT32_MAX, top},
    };
    for (const auto& [score, verdict] : cases) {
        EXPECT_EQ(verdictFor(score), verdict) << "score " << score;
    }
}

// The wait's own pauses drive ESC: down at pause pressAt, up at releaseAt.
int pauses = 0;
int pressAt = 0;
int releaseAt = 0;
void scriptedPause()
{
    ++pauses;
    if (pauses == pressAt) key[KEY_ESC] = 1;
    if (pauses == releaseAt) key[KEY_ESC] = 0;
    if (pauses >= 1000) key[KEY_ESC] = !key[KEY_ESC];  // a missed script still ends
}

TEST(EscWaitTest, ReturnsOnlyOnceEscHasBeenPressedAndReleased)
{
    startHeadless(32);
    // Pressed after 5 pauses; and already held as the page opens.
    const struct { int heldAtOpen, press, release; } cases[] = {{0, 5, 12}, {1, 0, 3}};
    for (const auto& c : cases) {
        key[KEY_ESC] = c.heldAtOpen;
        pauses = 0;
        pressAt = c.press;
        releaseAt = c.release;
        waitForEscPressAndReleaseWith(scriptedPause);
        EXPECT_EQ(pauses, c.release) << "held at open: " << c.heldAtOpen;
        key[KEY_ESC] = 0;
    }
}

}  // namespace
