// The credits page: who made the game and what it is built on, white text on
// black straight on the screen, held until ESC is pressed and released.
#pragma once

struct BITMAP;
struct KeyWaits;

constexpr int kCreditsLineCount = 9;
constexpr int kCreditsLineSpacing = 10;
// One row per line, kCreditsLineSpacing pixels apart; empty rows stay blank.
extern const char* const kCreditsLines[kCreditsLineCount];

// Draws the page onto target (the screen in the game).
void drawCreditsPage(BITMAP* target);

// Draws the page on the screen and returns after ESC went down and up again.
void showCredits(const KeyWaits& waits);
