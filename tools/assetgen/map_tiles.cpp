#include "tools/assetgen/map_tiles.h"

#include "tools/assetgen/picture_canvas.h"

#include <allegro.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>

namespace tiles {
namespace {

using canvas::col;
using canvas::noise;
using canvas::Rgb;
namespace c = canvas::colour;

constexpr uint8_t kUp = 0x01;
constexpr uint8_t kDown = 0x02;
constexpr uint8_t kLeft = 0x04;
constexpr uint8_t kRight = 0x08;

constexpr double kHalf = kSize / 2.0;
constexpr double kRailInner = 5.0;    // rails lie 5 to 7 pixels off the centre line
constexpr double kRailOuter = 7.0;
constexpr double kSleeperHalf = 10.0;
constexpr double kBallastHalf = 11.5;
constexpr int kSleeperPitch = 8;      // pixels between sleepers along the track
constexpr int kBeach = 7;             // how far sand reaches in from the waterline
constexpr double kPi = 3.14159265358979;

// What a pixel of a track piece shows, in drawing priority.
enum Part { kNone, kBallast, kSleeper, kRail };

// Classifies a point v pixels across the track line at u pixels along it.
Part across(double u, double v)
{
    const double a = std::fabs(v);
    if (a >= kRailInner && a <= kRailOuter) {
        return kRail;
    }
    const int along = static_cast<int>(std::floor(u)) % kSleeperPitch;
    if (a <= kSleeperHalf && along >= 3 && along <= 5) {
        return kSleeper;
    }
    return a <= kBallastHalf ? kBallast : kNone;
}

// A straight from `from` to `to` (pixels along), horizontal or vertical.
Part straight(double x, double y, bool horizontal, double from, double to)
{
    const double u = horizontal ? x : y;
    const double v = horizontal ? y - kHalf : x - kHalf;
    if (u < from || u > to) {
        return kNone;
    }
    return across(u + kSize, v);
}

// A quarter circle of radius kHalf around the tile corner (cx, cy).
Part curve(double x, double y, double cx, double cy)
{
    const double dx = x - cx;
    const double dy = y - cy;
    const double d = std::sqrt(dx * dx + dy * dy);
    const double angle = std::atan2(std::fabs(dy), std::fabs(dx));
    return across(angle * kHalf + 1.5, d - kHalf);
}

// The corner that joins two perpendicular ways out.
Part corner(double x, double y, uint8_t vertical, uint8_t horizontal)
{
    return curve(x, y, horizontal == kRight ? kSize : 0, vertical == kDown ? kSize : 0);
}

int countWays(uint8_t ways)
{
    return (ways & kUp ? 1 : 0) + (ways & kDown ? 1 : 0) + (ways & kLeft ? 1 : 0) + (ways & kRight ? 1 : 0);
}

// The track piece for a set of ways out at a pixel centre: straights run
// through, corners curve, a junction is a through line with curves into
// its branch, and a dead end ends in a buffer stop.
Part trackPart(uint8_t ways, double x, double y)
{
    const bool across = (ways & kLeft) && (ways & kRight);
    const bool along = (ways & kUp) && (ways & kDown);
    Part best = kNone;
    auto take = [&best](Part p) {
        if (p > best) {
            best = p;
        }
    };
    switch (countWays(ways)) {
    case 1: {
        const bool horizontal = ways & (kLeft | kRight);
        const bool toFar = ways & (kRight | kDown);
        take(straight(x, y, horizontal, toFar ? kHalf - 4 : 0, toFar ? kSize : kHalf + 4));
        break;
    }
    case 2:
        if (across || along) {
            take(straight(x, y, across, 0, kSize));
        } else {
            take(corner(x, y, ways & (kUp | kDown), ways & (kLeft | kRight)));
        }
        break;
    case 3:
        if (across) {
            take(straight(x, y, true, 0, kSize));
            const uint8_t branch = ways & (kUp | kDown);
            take(corner(x, y, branch, kLeft));
            take(corner(x, y, branch, kRight));
        } else {
            take(straight(x, y, false, 0, kSize));
            const uint8_t branch = ways & (kLeft | kRight);
            take(corner(x, y, kUp, branch));
            take(corner(x, y, kDown, branch));
        }
        break;
    default:
        take(straight(x, y, true, 0, kSize));
        take(straight(x, y, false, 0, kSize));
        break;
    }
    return best;
}

void paintGrass(BITMAP* tile, int seed)
{
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const int n = noise(seed, x, y, 100);
            Rgb shade = c::kGrass;
            if (n < 12) {
                shade = c::kGrassDark;
            } else if (n > 90) {
                shade = c::kGrassLight;
            }
            putpixel(tile, x, y, col(shade));
        }
    }
    // A few blades of grass: short dark strokes with a light tip.
    for (int i = 0; i < 5; ++i) {
        const int x = 2 + noise(seed + 7, i, 0, kSize - 4);
        const int y = 3 + noise(seed + 7, i, 1, kSize - 6);
        vline(tile, x, y, y + 2, col(c::kGrassDark));
        putpixel(tile, x + 1, y, col(c::kGrassLight));
    }
}

void paintTrack(BITMAP* tile, uint8_t ways, int seed)
{
    paintGrass(tile, seed);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const Part part = trackPart(ways, x + 0.5, y + 0.5);
            const int n = noise(seed, x, y, 10);
            switch (part) {
            case kRail:
                putpixel(tile, x, y, col(n < 7 ? c::kSteel : c::kSteelDark));
                break;
            case kSleeper:
                putpixel(tile, x, y, col(n < 2 ? c::kWoodDark : c::kWood));
                break;
            case kBallast:
                putpixel(tile, x, y, col(n < 2 ? c::kGravelDark : (n > 7 ? c::kGravelLight : c::kGravel)));
                break;
            case kNone:
                break;
            }
        }
    }
    if (countWays(ways) == 1) {
        // Buffer stop across the end of the line: red and white stripes.
        const bool horizontal = ways & (kLeft | kRight);
        const int at = (ways & (kRight | kDown)) ? static_cast<int>(kHalf) - 6 : static_cast<int>(kHalf) + 3;
        for (int i = -9; i <= 9; ++i) {
            const Rgb stripe = ((i + 9) / 3) % 2 ? c::kWhite : c::kRed;
            for (int t = 0; t < 3; ++t) {
                const int along = at + t;
                const int acrossPx = static_cast<int>(kHalf) + i;
                putpixel(tile, horizontal ? along : acrossPx, horizontal ? acrossPx : along, col(stripe));
            }
        }
        const int along = at - 1;
        if (horizontal) {
            vline(tile, along, static_cast<int>(kHalf) - 10, static_cast<int>(kHalf) + 9, col(c::kOutline));
        } else {
            hline(tile, static_cast<int>(kHalf) - 10, along, static_cast<int>(kHalf) + 9, col(c::kOutline));
        }
    }
}

void paintWater(BITMAP* tile, int frame)
{
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            // Diagonal swell that moves a third of a wave per frame; the
            // period divides the tile so neighbouring cells join.
            const double phase = (x + y) * 2 * kPi / 16.0 + frame * 2 * kPi / kWaterFrames;
            const double swell = std::sin(phase) + 0.4 * std::sin(y * 2 * kPi / 8.0);
            Rgb shade = swell > 0.9 ? c::kWaterLight : (swell < -0.9 ? c::kWaterDeep : c::kWater);
            if (swell > 1.25 && noise(frame, x, y, 3) == 0) {
                shade = c::kFoam;
            }
            putpixel(tile, x, y, col(shade));
        }
    }
}

void paintLamp(BITMAP* tile, bool lit)
{
    paintGrass(tile, 91);
    if (lit) {
        // Soft pool of light on the grass around the lamp.
        for (int r = 14; r >= 8; r -= 3) {
            circlefill(tile, kSize / 2, kSize / 2, r, col(canvas::mix(c::kGrassLight, c::kYellow, (14 - r) / 10.0)));
        }
    }
    canvas::outlinedCircle(tile, kSize / 2, kSize / 2, 6, c::kStoneDark, c::kOutline);
    canvas::outlinedCircle(tile, kSize / 2, kSize / 2, 4, lit ? c::kYellow : c::kStone, c::kOutline);
    if (lit) {
        putpixel(tile, kSize / 2 - 1, kSize / 2 - 1, col(c::kWhite));
    }
}

// Planks across the water with the rails on them; the water shows beside
// the deck.
void paintBridge(BITMAP* tile, bool horizontal)
{
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const double u = horizontal ? x + 0.5 : y + 0.5;
            const double v = horizontal ? y + 0.5 - kHalf : x + 0.5 - kHalf;
            const double a = std::fabs(v);
            if (a > 13) {
                continue;
            }
            Rgb shade;
            if (a > 11.5) {
                shade = c::kWoodDark;  // railing beams
            } else if (a >= kRailInner && a <= kRailOuter) {
                shade = c::kSteel;
            } else {
                const int plank = static_cast<int>(u) % 4;
                shade = plank == 0 ? c::kWoodDark : (noise(5, x, y, 6) == 0 ? c::kWoodLight : c::kWood);
            }
            putpixel(tile, x, y, col(shade));
        }
    }
}

void paintTree(BITMAP* tile, int variant)
{
    // Shadow to the lower right, then the canopy as clumps of leaves.
    const int cx = kSize / 2 - 1;
    const int cy = kSize / 2 - 1;
    circlefill(tile, cx + 3, cy + 3, 13, col(canvas::mix(c::kGrassDark, c::kOutline, 0.45)));
    canvas::outlinedCircle(tile, cx, cy, 13, c::kLeafDark, c::kOutline);
    canvas::shadedEllipse(tile, cx, cy, 12, 12, c::kLeafLight, c::kLeaf, c::kLeafDark);
    for (int i = 0; i < 6; ++i) {
        const double angle = i * 2 * kPi / 6 + variant * 0.5;
        const int bx = cx + static_cast<int>(std::lround(std::cos(angle) * 6));
        const int by = cy + static_cast<int>(std::lround(std::sin(angle) * 6));
        canvas::shadedEllipse(tile, bx, by, 4, 4, c::kLeafLight, c::kLeaf, c::kLeafDark);
    }
    if (variant == 1) {
        // Blossom dots on the second kind of tree.
        for (int i = 0; i < 7; ++i) {
            putpixel(tile, cx - 7 + noise(3, i, 0, 15), cy - 7 + noise(3, i, 1, 15), col(c::kWhite));
        }
    }
}

void paintFlowers(BITMAP* tile)
{
    for (int i = 0; i < 6; ++i) {
        const int x = 4 + noise(11, i, 0, kSize - 8);
        const int y = 4 + noise(11, i, 1, kSize - 8);
        const Rgb petal = i % 3 == 0 ? c::kRed : (i % 3 == 1 ? c::kYellow : c::kWhite);
        putpixel(tile, x - 1, y, col(petal));
        putpixel(tile, x + 1, y, col(petal));
        putpixel(tile, x, y - 1, col(petal));
        putpixel(tile, x, y + 1, col(petal));
        putpixel(tile, x, y, col(c::kAmber));
    }
}

void paintRock(BITMAP* tile)
{
    ellipsefill(tile, 18, 20, 11, 7, col(canvas::mix(c::kGrassDark, c::kOutline, 0.4)));
    ellipsefill(tile, 15, 16, 11, 8, col(c::kOutline));
    canvas::shadedEllipse(tile, 15, 16, 10, 7, c::kStoneLight, c::kStone, c::kStoneDark);
    line(tile, 11, 14, 16, 19, col(c::kStoneDark));
}

void paintBush(BITMAP* tile)
{
    for (int i = 0; i < 3; ++i) {
        const int x = 10 + i * 6;
        const int y = 14 + (i % 2) * 5;
        canvas::outlinedCircle(tile, x, y, 7, c::kLeaf, c::kOutline);
        canvas::shadedEllipse(tile, x, y, 6, 6, c::kLeafLight, c::kLeaf, c::kLeafDark);
    }
}

// Grass with a strip of beach along every side that faces water: sand with
// a ragged edge towards the grass and wet sand at the waterline.
void paintShore(BITMAP* tile, uint8_t sides)
{
    paintGrass(tile, 60 + sides);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            int depth = kSize;  // distance to the nearest side that faces water
            if (sides & kUp) {
                depth = std::min(depth, y);
            }
            if (sides & kDown) {
                depth = std::min(depth, kSize - 1 - y);
            }
            if (sides & kLeft) {
                depth = std::min(depth, x);
            }
            if (sides & kRight) {
                depth = std::min(depth, kSize - 1 - x);
            }
            const int ragged = kBeach - 1 + noise(sides, x, y, 3);
            if (depth < 2) {
                putpixel(tile, x, y, col(c::kSandWet));
            } else if (depth < ragged) {
                putpixel(tile, x, y, col(noise(sides + 20, x, y, 8) == 0 ? c::kGravelLight : c::kSand));
            }
        }
    }
}

// Grass whose corner touches water only diagonally: a rounded patch of
// beach in that corner joins the beaches of the two neighbouring cells.
void paintShoreCorner(BITMAP* tile, int corner)
{
    paintGrass(tile, 80 + corner);
    const int cx = corner % 2 ? kSize - 1 : 0;
    const int cy = corner / 2 ? kSize - 1 : 0;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const int depth = std::max(std::abs(x - cx), std::abs(y - cy));
            const int ragged = kBeach - 1 + noise(corner + 30, x, y, 3);
            if (depth < 2) {
                putpixel(tile, x, y, col(c::kSandWet));
            } else if (depth < ragged) {
                putpixel(tile, x, y, col(noise(corner + 40, x, y, 8) == 0 ? c::kGravelLight : c::kSand));
            }
        }
    }
}

void draw(std::vector<std::vector<uint32_t>>& out, const std::function<void(BITMAP*)>& paint)
{
    BITMAP* tile = canvas::blank(kSize, kSize);
    paint(tile);
    out.push_back(canvas::pixels(tile));
    destroy_bitmap(tile);
}

}  // namespace

std::vector<std::vector<uint32_t>> drawAll()
{
    std::vector<std::vector<uint32_t>> out;
    draw(out, [](BITMAP*) {});
    for (int ways = 1; ways <= 15; ++ways) {
        draw(out, [ways](BITMAP* tile) { paintTrack(tile, static_cast<uint8_t>(ways), 40 + ways); });
    }
    for (int i = 0; i < kGrassVariants; ++i) {
        draw(out, [i](BITMAP* tile) { paintGrass(tile, 1 + i); });
    }
    draw(out, paintFlowers);
    draw(out, paintRock);
    draw(out, paintBush);
    for (int frame = 0; frame < kWaterFrames; ++frame) {
        draw(out, [frame](BITMAP* tile) { paintWater(tile, frame); });
    }
    draw(out, [](BITMAP* tile) { paintLamp(tile, false); });
    draw(out, [](BITMAP* tile) { paintLamp(tile, true); });
    draw(out, [](BITMAP* tile) { paintBridge(tile, true); });
    draw(out, [](BITMAP* tile) { paintBridge(tile, false); });
    for (int i = 0; i < kTreeVariants; ++i) {
        draw(out, [i](BITMAP* tile) { paintTree(tile, i); });
    }
    for (int sides = 1; sides <= 15; ++sides) {
        draw(out, [sides](BITMAP* tile) { paintShore(tile, static_cast<uint8_t>(sides)); });
    }
    for (int corner = 0; corner < 4; ++corner) {
        draw(out, [corner](BITMAP* tile) { paintShoreCorner(tile, corner); });
    }
    return out;
}

}  // namespace tiles
