#include "level/screens.h"

#include "level/level.h"
#include "base/colors.h"
#include "base/game_pad.h"
#include "base/play_keys.h"
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

bool boundAsDefault(PlayAction action)
{
    const int index = static_cast<int>(action);
    return playBindings()[index] == defaultPlayBindings()[index];
}

// The action's keys by their names, "A or B".
std::string boundNames(PlayAction action)
{
    std::string names;
    for (int scancode : playBindings()[static_cast<int>(action)]) {
        if (scancode != 0) {
            names += (names.empty() ? "" : " or ") + keyName(scancode);
        }
    }
    return names;
}

// The page's own wording for the game's keys, the names for the player's.
std::string keysShown(PlayAction action, const char* defaultText)
{
    return boundAsDefault(action) ? defaultText : boundNames(action);
}

std::string aimKeysShown()
{
    constexpr PlayAction kAims[] = {PlayAction::AimUp, PlayAction::AimDown, PlayAction::AimLeft, PlayAction::AimRight};
    std::string shown;
    bool moved = false;
    for (PlayAction aim : kAims) {
        moved = moved || !boundAsDefault(aim);
        shown += (shown.empty() ? "" : "/") + boundNames(aim);
    }
    return moved ? shown + " (up/down/left/right)" : "ARROW KEYS";
}

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
    const std::string forward = keysShown(PlayAction::Forward, "LEFT CONTROL") + " - Turn on front engines";
    const std::string backward = keysShown(PlayAction::Backward, "SHIFT or ALT") + " - Turn on back engines";
    const std::string fire = keysShown(PlayAction::Fire, "SPACE") + " - Fire fire-like weapon";
    const std::string aim = aimKeysShown() + " - Aim Turret";
    const std::string help = keysShown(PlayAction::Help, "F1") + " - Help Menu";
    const std::string leave = keysShown(PlayAction::Leave, "ESC") + " - Exit current map and/or game";
    // The lock key has no line of its own unless the player moved it.
    const std::string lock = keysShown(PlayAction::Lock, "") + (boundAsDefault(PlayAction::Lock) ? "" : " - Lock Turret");
    return linesFrom({
        "------------------Help Menu-----------------",
        forward.c_str(),
        backward.c_str(),
        fire.c_str(),
        aim.c_str(),
        help.c_str(),
        leave.c_str(),
        lock.c_str(),
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
    // A pad button already held when the page opens (A firing as the last
    // dome fell) counts only once it has been let go and pressed again.
    bool padArmed = !padPageButtonHeld();
    while (!key[KEY_ESC] && !(padArmed && padPageButtonHeld())) {
        pause();
        padArmed = padArmed || !padPageButtonHeld();
    }
    while (key[KEY_ESC] || padPageButtonHeld()) {
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
