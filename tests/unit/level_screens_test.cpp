// The help and game-over pages: their texts to the letter, where they land on
// the screen, the verdicts, and the wait for ESC.
#include "level/level.h"
#include "level/screens.h"
#include "shell/colors.h"
#include "tests/support/headless.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::pair<int, std::string>>;

Lines asPairs(const std::vector<PageLine>& lines)
{
    Lines pairs;
    for (const PageLine& line : lines) {
        pairs.emplace_back(line.y, line.text);
    }
    return pairs;
}

// Stand-in wait for headless pages: counts the calls and keeps a copy of the
// screen as it was while the page was up.
int waitCalls = 0;
BITMAP* shownPage = nullptr;

void recordPage()
{
    ++waitCalls;
    if (shownPage) {
        destroy_bitmap(shownPage);
    }
    shownPage = create_bitmap(screen->w, screen->h);
    blit(screen, shownPage, 0, 0, 0, 0, screen->w, screen->h);
}

class ScreensTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        startHeadless(32);
        text_mode(colorMagenta);  // as the game sets it at start-up
        // Whatever play left on the screen must go.
        clear_to_color(screen, colorRed);
        savedWait_ = waitForEscPressAndRelease;
        waitForEscPressAndRelease = recordPage;
        waitCalls = 0;
    }
    void TearDown() override
    {
        waitForEscPressAndRelease = savedWait_;
        if (shownPage) {
            destroy_bitmap(shownPage);
            shownPage = nullptr;
        }
    }

    // White glyphs on black, drawn from the expected lines with the
    // library's own font; the page must match it pixel for pixel.
    static void expectScreenShows(const Lines& expected)
    {
        ASSERT_NE(shownPage, nullptr);
        BITMAP* reference = create_bitmap(shownPage->w, shownPage->h);
        clear_to_color(reference, colorBlack);
        for (const auto& [y, text] : expected) {
            textout_ex(reference, font, text.c_str(), 0, y, colorWhite, -1);
        }
        int differing = 0;
        for (int y = 0; y < reference->h; ++y) {
            for (int x = 0; x < reference->w; ++x) {
                if (getpixel(reference, x, y) != getpixel(shownPage, x, y)) {
                    ++differing;
                }
            }
        }
        destroy_bitmap(reference);
        EXPECT_EQ(differing, 0);
    }

    void (*savedWait_)() = nullptr;
    Level level;
};

const Lines kHelpPage = {
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
};

TEST_F(ScreensTest, HelpPageLinesKeepEveryBlank)
{
    EXPECT_EQ(asPairs(helpPageLines()), kHelpPage);
}

TEST_F(ScreensTest, HelpPageShowsWhiteTextOnBlackAndWaitsOnce)
{
    level.showHelp();
    EXPECT_EQ(waitCalls, 1);
    expectScreenShows(kHelpPage);
}

TEST_F(ScreensTest, GameOverPageGivesScoreVerdictAndTime)
{
    const Lines expected = {
        {0, "------------------Game Over-----------------"},
        {10, "The Balrogs destroyed all your domes!"},
        {20, "Final score:  0"},
        {30, "Is that the best you can do?"},
        {40, "Time:  12"},
        {50, "Press ESC to continue"},
    };
    level.score = 0;
    level.secondsPlayed = 12;
    EXPECT_EQ(asPairs(gameOverPageLines(0, 12)), expected);
    level.showGameOver();
    EXPECT_EQ(waitCalls, 1);
    expectScreenShows(expected);
}

TEST_F(ScreensTest, GameOverPagePrintsNegativeAndLargeNumbers)
{
    const Lines lines = asPairs(gameOverPageLines(-3, 123456));
    EXPECT_EQ(lines[2].second, "Final score:  -3");
    EXPECT_EQ(lines[3].second, "Is that the best you can do?");
    EXPECT_EQ(lines[4].second, "Time:  123456");
}

TEST_F(ScreensTest, VerdictsChangeAtEachBoundary)
{
    const std::string lowest = "Is that the best you can do?";
    const std::string top = "Man, you've been playing this buggy game way too long!";
    const std::pair<int32_t, std::string> cases[] = {
        {INT32_MIN, lowest}, {-1, lowest},         {19, lowest},
        {20, "Not bad..."},  {39, "Not bad..."},   {40, "Decent."},
        {59, "Decent."},     {60, "Good..."},      {79, "Good..."},
        {80, "Rockin'!"},    {99, "Rockin'!"},     {100, top},
        {5000, top},         {INT32_MAX, top},
    };
    for (const auto& [score, verdict] : cases) {
        EXPECT_EQ(verdictFor(score), verdict) << "score " << score;
    }
}

// ---- The wait for ESC -----------------------------------------------------

// Drives key[KEY_ESC] from the wait's own pauses: the key goes down at the
// pause numbered pressAt and up again at releaseAt.
int pauses = 0;
int pressAt = 0;
int releaseAt = 0;

void scriptedPause()
{
    ++pauses;
    if (pauses == pressAt) {
        key[KEY_ESC] = 1;
    }
    if (pauses == releaseAt) {
        key[KEY_ESC] = 0;
    }
    if (pauses >= 1000) {
        // The wait missed the script: flip the key so that it ends anyway.
        ADD_FAILURE() << "the wait did not end";
        key[KEY_ESC] = !key[KEY_ESC];
    }
}

class EscWaitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        startHeadless(32);
        pauses = 0;
    }
    void TearDown() override { key[KEY_ESC] = 0; }
};

TEST_F(EscWaitTest, ReturnsOnlyAfterEscIsPressedAndReleased)
{
    key[KEY_ESC] = 0;
    pressAt = 5;
    releaseAt = 12;
    waitForEscPressAndReleaseWith(scriptedPause);
    EXPECT_EQ(pauses, 12);
    EXPECT_EQ(key[KEY_ESC], 0);
}

TEST_F(EscWaitTest, EscHeldWhenThePageOpensReturnsOnRelease)
{
    key[KEY_ESC] = 1;
    pressAt = 0;
    releaseAt = 3;
    waitForEscPressAndReleaseWith(scriptedPause);
    EXPECT_EQ(pauses, 3);
}

}  // namespace
