// Writing 8-bit RGB or RGBA pixels as a PNG file through libpng: the one PNG
// writer of the game (screenshots) and its tools (the desktop icons, the
// Tiled tilesets); and reading any PNG back as RGBA (the Tiled importer).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

enum class PngChannels { Rgb = 3, Rgba = 4 };

// bytes: width x height pixels, row by row, each channel one byte. False when
// libpng refuses or the file cannot take the data.
bool writePngPixels(std::FILE* out, int width, int height, const uint8_t* bytes, PngChannels channels);

// Reads a PNG of any kind as 8-bit RGBA, row by row. False (and `error`
// set to libpng's reason) when the file cannot be read as a PNG.
bool readPngPixels(const std::string& path, int* width, int* height, std::vector<uint8_t>* rgba, std::string* error);
