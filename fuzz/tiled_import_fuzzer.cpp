// Feeds arbitrary text to the Tiled importer as a TMX (when it starts with
// '<') or a TMJ map, and builds the FMP map of what it accepts. A 64 x 32
// picture "tiles.png" is written into the working folder at start so that
// tilesets naming it get as far as their tiles; inputs naming the system's
// device or process files are passed over (a read of one could wait for
// ever, which is no fault of the importer).
#include "base/png_file.h"
#include "tools/assetgen/fmp_writer.h"
#include "tools/fmptiled/import.h"
#include "tools/fmptiled/tiled_map.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {
constexpr int kPictureWidth = 64, kPictureHeight = 32, kFuzzDepth = 16;

bool writePicture()
{
    std::vector<uint8_t> rgba(kPictureWidth * kPictureHeight * 4);
    for (std::size_t i = 0; i < rgba.size(); ++i) rgba[i] = static_cast<uint8_t>(i * 7 % 251);
    std::FILE* out = std::fopen("tiles.png", "wb");
    const bool written = out && writePngPixels(out, kPictureWidth, kPictureHeight, rgba.data(), PngChannels::Rgba);
    return out && std::fclose(out) == 0 && written;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static const bool pictureWritten = writePicture();
    (void)pictureWritten;
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const char* system : {"/dev", "/proc", "/sys"}) {
        if (text.find(system) != std::string::npos) return 0;
    }
    try {
        std::string error;
        fmp::encode(tiled::buildFmpMap(tiled::readMapText("input", text), kFuzzDepth), &error);
    } catch (const tiled::Refusal&) {
    }
    return 0;
}
