// The desktop icon: the dome the player defends with the cart, its turret
// and gun on top, from the game's own pictures, without the magenta
// background, at every size the desktop's icon theme asks for.
#include "tools/assetgen/assets.h"

#include "tools/assetgen/picture_canvas.h"
#include "tools/assetgen/picture_parts.h"
#include "tools/assetgen/png_writer.h"

#include <allegro.h>

#include <filesystem>
#include <memory>

namespace {

constexpr int kIconSizes[] = {48, 64, 128, 256};
constexpr int kArtSize = pictures::kDomeFrame;
// The cart sits on the dome twice its size in play, so that it still reads at 48 pixels.
constexpr int kCartScale = 2;
constexpr int kHorizontalCartFrame = 1;
// Samples per axis when a target pixel covers several art pixels.
constexpr int kSamples = 4;
constexpr uint32_t kOpaque = 0xff000000u;

using Picture = std::unique_ptr<BITMAP, void (*)(BITMAP*)>;
Picture own(BITMAP* bitmap) { return Picture(bitmap, destroy_bitmap); }

// Frame `frame` of a strip of square frames, enlarged and laid over the art's centre.
void layCentred(BITMAP* art, BITMAP* strip, int frame, int scale)
{
    const int size = strip->h;
    Picture piece = own(create_sub_bitmap(strip, frame * size, 0, size, size));
    const int at = (kArtSize - size * scale) / 2;
    stretch_sprite(art, piece.get(), at, at, size * scale, size * scale);
}

// The art as 0xAARRGGBB, the mask colour fully transparent.
std::vector<uint32_t> withAlpha(BITMAP* art)
{
    const uint32_t mask = static_cast<uint32_t>(canvas::colour::kMask.r << 16 | canvas::colour::kMask.g << 8 |
                                                canvas::colour::kMask.b);
    std::vector<uint32_t> out = canvas::pixels(art);
    for (uint32_t& pixel : out) {
        pixel = pixel == mask ? 0 : pixel | kOpaque;
    }
    return out;
}

// Area-sampled resize: each target pixel averages kSamples x kSamples points
// of the art, colours weighted by their coverage so that no magenta fringe
// bleeds in; enlargements by whole factors come out as plain pixel copies.
std::vector<uint32_t> resized(const std::vector<uint32_t>& art, int size)
{
    std::vector<uint32_t> out;
    out.reserve(static_cast<std::size_t>(size) * size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double sum[4] = {0, 0, 0, 0};  // alpha, then red, green, blue times alpha
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const int ax = static_cast<int>((x + (sx + 0.5) / kSamples) * kArtSize / size);
                    const int ay = static_cast<int>((y + (sy + 0.5) / kSamples) * kArtSize / size);
                    const uint32_t pixel = art[static_cast<std::size_t>(ay) * kArtSize + ax];
                    const double alpha = (pixel >> 24) / 255.0;
                    sum[0] += alpha;
                    for (int c = 1; c < 4; ++c) {
                        sum[c] += alpha * ((pixel >> (24 - 8 * c)) & 0xff);
                    }
                }
            }
            uint32_t pixel = 0;
            if (sum[0] > 0) {
                pixel = static_cast<uint32_t>(sum[0] * 255 / (kSamples * kSamples) + 0.5) << 24;
                for (int c = 1; c < 4; ++c) {
                    pixel |= static_cast<uint32_t>(sum[c] / sum[0] + 0.5) << (24 - 8 * c);
                }
            }
            out.push_back(pixel);
        }
    }
    return out;
}

}  // namespace

bool writeIconAssets(const std::string& folder)
{
    if (!canvas::start()) {
        return false;
    }
    Picture art = own(canvas::blank(kArtSize, kArtSize));
    Picture dome = own(pictures::domeStrip());
    Picture cart = own(pictures::cartStrip());
    Picture turret = own(pictures::turretStrip());
    Picture gun = own(pictures::gunPicture());
    layCentred(art.get(), dome.get(), 0, 1);
    layCentred(art.get(), cart.get(), kHorizontalCartFrame, kCartScale);
    layCentred(art.get(), turret.get(), 0, kCartScale);
    layCentred(art.get(), gun.get(), 0, kCartScale);
    const std::vector<uint32_t> pixels = withAlpha(art.get());
    for (const int size : kIconSizes) {
        const std::string sizeName = std::to_string(size) + "x" + std::to_string(size);
        const std::filesystem::path apps = std::filesystem::path(folder) / "hicolor" / sizeName / "apps";
        std::error_code error;
        std::filesystem::create_directories(apps, error);
        if (!writePngWithAlpha((apps / "glimmerfall.png").string(), size, size, resized(pixels, size))) {
            return false;
        }
    }
    return true;
}
