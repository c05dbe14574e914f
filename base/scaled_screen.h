// Integer scaling of the picture. The game always draws 640 x 480 into
// `screen`. At scale 1 that is the library's screen itself and nothing here
// does anything. At scale S > 1 the display mode is S times as large;
// `screen` then points at a 640 x 480 memory bitmap, and each present shows
// it enlarged, every game pixel an S x S square.
#pragma once

struct BITMAP;

constexpr int kMinScale = 1;
constexpr int kMaxScale = 4;

// Call once the S-times mode is set: swaps in the memory picture.
void beginScaledScreen(int scale);
int screenScale();

// Shows the memory picture on the real screen (nothing at scale 1).
void presentScreen();

// Puts the library's own screen back, for set_gfx_mode and allegro_exit,
// which must see it; safe to call any number of times.
void restoreLibraryScreen();

// Each pixel of `from` as a scale x scale square of `to`, from (0, 0).
void enlargeInto(BITMAP* from, BITMAP* to, int scale);
