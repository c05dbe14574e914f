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
