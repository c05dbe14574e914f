// The menu's background: up to 1000 green characters that appear at random
// places and rise one pixel per menu pass until they leave the top edge.
#pragma once

#include <cstdint>

struct BITMAP;

constexpr int kGlyphSlots = 1000;

struct Glyph {
    bool active;
    int32_t code;  // character number in the library's text encoding
    int32_t x;
    int32_t y;
};

struct GlyphRain {
    Glyph slots[kGlyphSlots];
};

// Marks every slot inactive.
void clearGlyphRain(GlyphRain& rain);

// One pass: may wake each idle slot at a random place inside width x height,
// then raises and draws every active glyph onto target in green.
void stepGlyphRain(GlyphRain& rain, BITMAP* target, int width, int height);
