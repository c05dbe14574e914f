// Writing 8-bit RGB or RGBA pixels as a PNG file through libpng: the one PNG
// writer of the game (screenshots) and its tools (the desktop icons).
#pragma once

#include <cstdint>
#include <cstdio>

enum class PngChannels { Rgb = 3, Rgba = 4 };

// bytes: width x height pixels, row by row, each channel one byte. False when
// libpng refuses or the file cannot take the data.
bool writePngPixels(std::FILE* out, int width, int height, const uint8_t* bytes, PngChannels channels);
