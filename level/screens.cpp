#include "level/screens.h"

#include "level/level.h"
#include "base/colors.h"
#include "base/pass_end.h"
#include "base/scaled_screen.h"

#include <allegro.h>

#include <cstdio>

namespace {
constexpr int kLineSpacing = 10;

// Lines listed top to bottom; a blank text leaves its row empty.
std::vector<PageLine> linesFrom(const std::vector<const char*>& texts)
{
    std::vector<PageLine> lines;
    for (size_t row = 0; row < texts.size(); ++row) {
        if (texts[row][0] != '\0') {
            lines.push_back({static_cast<int>(row) * kLineSpacing, texts[row]});
        }
    }
    return lines;
}

std::string formatted(const char* format, int32_t value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

struct Verdict {
    int32_t lowestScore;
    const char* text;
};

// Highest band first; the first band whose lowest score is reached wins.
constexpr Verdict kVerdicts[] = {
    {100, "Man, you've been playing this buggy game way too long!"},
    {80, "Rockin'!"},
    {60, "Good..."},
    {40, "Decent."},
    {20, "Not bad..."},
};
constexpr const char* kLowestVerdict = "Is that the best you can do?";

void restBetweenPolls()
{
    idleWhileWaiting();
}

void pollForEscPressAndRelease()
{
    waitForEscPressAndReleaseWith(restBetweenPolls);
}
}  // namespace

void (*waitForEscPressAndRelease)() = pollForEscPressAndRelease;

std::vector<PageLine> helpPageLines()
{
    return linesFrom({
        "------------------Help Menu-----------------",
        "LEFT CONTROL - Turn on front engines",
        "SHIFT or ALT - Turn on back engines",
        "SPACE - Fire fire-like weapon",
        "ARROW KEYS - Aim Turret",
        "F1 - Help Menu",
        "ESC - Exit current map and/or game",
        "",
        "",
        "",
        "Object of Game",
        "Kill the oncoming Balrogs before they reach the",
        "domes.  You receive one point for each dome",
        "still standing after every second.  Don't ",
        "let the monsters win!",
        "",
        "",
        "",
        "The core elements of this game are done, ",
        "however, there is so much lacking, it doesn't",
        "feel quite like a game, does it?  Trying to ",
        "save myself, I quickly changed the gameplay 2 ",
        "hours before it was time to send in the final",
        "submission.  Oh well, it's not terribly bad.",
    });
}

const char* verdictFor(int32_t score)
{
    for (const Verdict& verdict : kVerdicts) {
        if (score >= verdict.lowestScore) {
            return verdict.text;
        }
    }
    return kLowestVerdict;
}

std::vector<PageLine> gameOverPageLines(int32_t score, int32_t secondsPlayed)
{
    const std::string scoreLine = formatted("Final score:  %d", score);
    const std::string timeLine = formatted("Time:  %d", secondsPlayed);
    return linesFrom({
        "------------------Game Over-----------------",
        "The Balrogs destroyed all your domes!",
        scoreLine.c_str(),
        verdictFor(score),
        timeLine.c_str(),
        "Press ESC to continue",
    });
}

void waitForEscPressAndReleaseWith(void (*pause)())
{
    while (!key[KEY_ESC]) {
        pause();
    }
    while (key[KEY_ESC]) {
        pause();
    }
}

void showTextPage(const std::vector<PageLine>& lines)
{
    // The page is laid over a black screen with masked drawing, so only the
    // glyphs show: the text mode set at start-up paints their background in
    // the mask colour.
    BITMAP* page = create_bitmap(screen->w, screen->h);
    rectfill(page, 0, 0, page->w, page->h, colorMagenta);
    clear_bitmap(screen);
    for (const PageLine& line : lines) {
        textprintf(page, font, 0, line.y, colorWhite, "%s", line.text.c_str());
    }
    draw_sprite(screen, page, 0, 0);
    presentScreen();
    waitForEscPressAndRelease();
    destroy_bitmap(page);
}

void Level::showHelp()
{
    showTextPage(helpPageLines());
}

void Level::showGameOver()
{
    showTextPage(gameOverPageLines(score, secondsPlayed));
}
