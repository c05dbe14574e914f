#include "shell/glyph_rain.h"

#include <allegro.h>

#include <cstdlib>

#include "base/colors.h"

namespace {
// rand() % kWakeRange above kWakeThreshold wakes a slot: 24 chances in 50.
constexpr int kWakeRange = 50;
constexpr int kWakeThreshold = 25;
// Character numbers 50 to 299.
constexpr int kFirstCode = 50;
constexpr int kCodeRange = 250;
constexpr int kRisePerPass = 1;
}  // namespace

void clearGlyphRain(GlyphRain& rain)
{
    for (Glyph& glyph : rain.slots) {
        glyph.active = false;
    }
}

void stepGlyphRain(GlyphRain& rain, BITMAP* target, int width, int height)
{
    for (Glyph& glyph : rain.slots) {
        if (!glyph.active && std::rand() % kWakeRange > kWakeThreshold) {
            // Separate statements keep the order of the random draws fixed.
            glyph.code = std::rand() % kCodeRange + kFirstCode;
            glyph.x = std::rand() % width;
            glyph.y = std::rand() % height;
            glyph.active = true;
        }
        if (glyph.active) {
            glyph.y -= kRisePerPass;
            textprintf(target, font, glyph.x, glyph.y, colorGreen, "%c", glyph.code);
            if (glyph.y < 0) {
                glyph.active = false;
            }
        }
    }
}
