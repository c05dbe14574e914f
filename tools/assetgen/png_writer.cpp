#include "tools/assetgen/png_writer.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>

namespace {

constexpr int kBitDepth = 8;
constexpr int kChannels = 4;

// libpng reports errors by jumping back to its setjmp point: keep the C
// objects out of the frame it jumps over.
bool writeRows(FILE* file, int width, int height, std::vector<png_byte>& bytes)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, kBitDepth, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        png_write_row(png, &bytes[static_cast<std::size_t>(y) * width * kChannels]);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool writePngWithAlpha(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels)
{
    if (width <= 0 || height <= 0 || pixels.size() != static_cast<std::size_t>(width) * height) {
        std::fprintf(stderr, "assetgen: %s: %d x %d does not fit %zu pixels\n", path.c_str(), width, height,
                     pixels.size());
        return false;
    }
    std::vector<png_byte> bytes;
    bytes.reserve(pixels.size() * kChannels);
    for (const uint32_t argb : pixels) {
        bytes.push_back(static_cast<png_byte>(argb >> 16));
        bytes.push_back(static_cast<png_byte>(argb >> 8));
        bytes.push_back(static_cast<png_byte>(argb));
        bytes.push_back(static_cast<png_byte>(argb >> 24));
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    const bool written = file && writeRows(file, width, height, bytes);
    const bool closed = file && std::fclose(file) == 0;
    if (!written || !closed) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}
