#include "tools/assetgen/png_writer.h"

#include "base/png_file.h"

#include <cstdio>

namespace {
constexpr std::size_t kRgbaBytes = static_cast<std::size_t>(PngChannels::Rgba);
}

bool writePngWithAlpha(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels)
{
    if (width <= 0 || height <= 0 || pixels.size() != static_cast<std::size_t>(width) * height) {
        std::fprintf(stderr, "assetgen: %s: %d x %d does not fit %zu pixels\n", path.c_str(), width, height,
                     pixels.size());
        return false;
    }
    std::vector<uint8_t> bytes;
    bytes.reserve(pixels.size() * kRgbaBytes);
    for (const uint32_t argb : pixels) {
        bytes.push_back(static_cast<uint8_t>(argb >> 16));
        bytes.push_back(static_cast<uint8_t>(argb >> 8));
        bytes.push_back(static_cast<uint8_t>(argb));
        bytes.push_back(static_cast<uint8_t>(argb >> 24));
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    const bool written = file && writePngPixels(file, width, height, bytes.data(), PngChannels::Rgba);
    const bool closed = file && std::fclose(file) == 0;
    if (!written || !closed) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}
