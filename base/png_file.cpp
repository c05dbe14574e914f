#include "base/png_file.h"

#include <png.h>

#include <cstring>

bool writePngPixels(std::FILE* out, int width, int height, const uint8_t* bytes, PngChannels channels)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = channels == PngChannels::Rgba ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    const bool written = png_image_write_to_stdio(&image, out, 0, bytes, 0, nullptr) != 0;
    png_image_free(&image);
    return written && std::fflush(out) == 0;
}

bool readPngPixels(const std::string& path, int* width, int* height, std::vector<uint8_t>* rgba, std::string* error)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        *error = image.message;
        png_image_free(&image);
        return false;
    }
    // A picture larger than any tileset would need is refused before its
    // pixels are claimed.
    constexpr uint64_t kMostPixels = uint64_t{1} << 26;
    if (uint64_t{image.width} * image.height > kMostPixels) {
        *error = "the picture is too large";
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    rgba->assign(PNG_IMAGE_SIZE(image), 0);
    const bool read = png_image_finish_read(&image, nullptr, rgba->data(), 0, nullptr) != 0;
    *error = read ? "" : image.message;
    *width = static_cast<int>(image.width);
    *height = static_cast<int>(image.height);
    png_image_free(&image);
    return read;
}
