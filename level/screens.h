// The help and game-over pages: white text on a black screen that stays up
// until ESC has been pressed and released, so the ESC that closes a page does
// not also end the level. The page texts are here so that tests can read
// them; the wait is a pointer so that headless runs need no keyboard.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PageLine {
    int y;             // pixel row of the line's top, text starts at x 0
    std::string text;  // drawn exactly as it is, blanks included
};

std::vector<PageLine> helpPageLines();
std::vector<PageLine> gameOverPageLines(int32_t score, int32_t secondsPlayed);

// The game-over page's judgement of a final score.
const char* verdictFor(int32_t score);

// Clears the screen to black, shows the lines on it and waits.
void showTextPage(const std::vector<PageLine>& lines);

// Blocks until key[KEY_ESC], or a game pad's A, B or Start, has been down and
// then up again; calls pause() between two looks.
void waitForEscPressAndReleaseWith(void (*pause)());

// The wait the pages use; by default the one above with a 1 ms rest between
// polls, so the game does not spin the processor while a page is up.
extern void (*waitForEscPressAndRelease)();
