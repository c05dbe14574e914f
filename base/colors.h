// The colours the game draws with, packed as red * 65536 + green * 256 + blue,
// which is the library's own pixel value in 32-bit modes.
#pragma once

#include <cstdint>

constexpr int32_t packColor(int r, int g, int b)
{
    return r * 65536 + g * 256 + b;
}

extern const int32_t colorBlack;      // back buffer fill, bar backgrounds
extern const int32_t colorWhite;      // menu, help and game-over text, bar outlines
extern const int32_t colorMagenta;    // the mask colour
extern const int32_t colorGreen;      // menu glyph rain, health-bar fills
extern const int32_t colorRed;        // highlighted menu entry, read-out boxes
extern const int32_t colorDarkRed;    // read-out box edges
extern const int32_t colorOrangeRed;  // read-out texts

// Magenta as the library packs it at the current colour depth: the mask
// colour that masked drawing leaves out. Strips, frames and temporary
// bitmaps are cleared to it before anything is laid on them.
int maskColour();
