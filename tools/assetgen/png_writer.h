// Saving a picture with an alpha channel as PNG (the library's own writers
// know no PNG and no alpha), for the desktop icons.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// pixels: width x height values 0xAARRGGBB, row by row. Prints why and
// returns false when the file cannot be written.
bool writePngWithAlpha(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels);
