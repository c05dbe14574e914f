// The enlarged picture. The game always draws 640 x 480 into `screen`. In
// the classic 640 x 480 mode that is the library's screen itself and
// nothing here does anything. Otherwise `screen` points at a 640 x 480
// memory picture, and each present shows it enlarged, centred on the
// library's screen, the borders black.
#pragma once

struct BITMAP;

constexpr int kMinScale = 1;
constexpr int kMaxScale = 4;

// Call after any mode set: the memory picture (made by the first call and
// kept through later ones, drawing and all) shown width x height in the
// middle of the library's screen; the screen is cleared once here, so the
// borders need no drawing in each present.
void placeScaledScreen(int width, int height);

// Hands the library its own screen for a new mode set, keeping the picture
// for the placeScaledScreen that follows.
void lendLibraryScreen();

// Shows the memory picture on the real screen (nothing at scale 1).
void presentScreen();

// Puts the library's own screen back and frees the picture, for
// allegro_exit, which must see it; safe to call any number of times.
void restoreLibraryScreen();
