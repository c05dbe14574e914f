#include "tools/assetgen/picture_canvas.h"

#include <allegro.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace canvas {
namespace {
constexpr int kDepth = 32;
bool started = false;
}  // namespace

bool start()
{
    if (!started) {
        if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
            std::fprintf(stderr, "assetgen: cannot start the library: %s\n", allegro_error);
            return false;
        }
        started = true;
    }
    set_color_depth(kDepth);
    return true;
}

int col(Rgb c)
{
    return makecol32(c.r, c.g, c.b);
}

Rgb mix(Rgb c, Rgb d, double t)
{
    auto lerp = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
    return Rgb{lerp(c.r, d.r), lerp(c.g, d.g), lerp(c.b, d.b)};
}

BITMAP* blank(int w, int h)
{
    BITMAP* bitmap = create_bitmap_ex(kDepth, w, h);
    if (bitmap) {
        clear_to_color(bitmap, col(colour::kMask));
    }
    return bitmap;
}

std::vector<uint32_t> pixels(BITMAP* bitmap)
{
    std::vector<uint32_t> out;
    out.reserve(static_cast<std::size_t>(bitmap->w) * bitmap->h);
    for (int y = 0; y < bitmap->h; ++y) {
        for (int x = 0; x < bitmap->w; ++x) {
            const int c = getpixel(bitmap, x, y);
            out.push_back(static_cast<uint32_t>(getr32(c) << 16 | getg32(c) << 8 | getb32(c)));
        }
    }
    return out;
}

bool save(BITMAP* bitmap, const std::string& path)
{
    if (!bitmap || save_bitmap(path.c_str(), bitmap, nullptr) != 0) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

int noise(int seed, int x, int y, int n)
{
    uint32_t h = static_cast<uint32_t>(seed) * 0x9E3779B1u ^ static_cast<uint32_t>(x) * 0x85EBCA77u ^
                 static_cast<uint32_t>(y) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return static_cast<int>(h % static_cast<uint32_t>(n));
}

void outlinedCircle(BITMAP* bitmap, int x, int y, int r, Rgb fill, Rgb outline)
{
    circlefill(bitmap, x, y, r, col(outline));
    if (r > 1) {
        circlefill(bitmap, x, y, r - 1, col(fill));
    }
}

void shadedEllipse(BITMAP* bitmap, int x, int y, int rx, int ry, Rgb light, Rgb mid, Rgb dark)
{
    for (int py = y - ry; py <= y + ry; ++py) {
        for (int px = x - rx; px <= x + rx; ++px) {
            const double nx = (px - x) / static_cast<double>(rx);
            const double ny = (py - y) / static_cast<double>(ry);
            const double d = nx * nx + ny * ny;
            if (d > 1.0) {
                continue;
            }
            // Light falls from the upper left.
            const double lit = std::clamp(0.5 - 0.45 * (nx + ny) / 1.4142 - 0.25 * d, 0.0, 1.0);
            const Rgb c = lit > 0.5 ? mix(mid, light, (lit - 0.5) * 2) : mix(dark, mid, lit * 2);
            putpixel(bitmap, px, py, col(c));
        }
    }
}

}  // namespace canvas
