#include "tools/assetgen/map_layout.h"

#include "tools/assetgen/picture_canvas.h"

#include <cstdio>
#include <cstdlib>

namespace layout {

Plan::Plan(int width, int height)
    : width_(width),
      height_(height),
      ways_(width * height, 0),
      water_(width * height, 0),
      clear_(width * height, 0),
      decorations_(width * height, Decoration::None)
{
}

void Plan::addTrack(int x0, int y0, int x1, int y1)
{
    if (x0 != x1 && y0 != y1) {
        std::fprintf(stderr, "assetgen: track (%d, %d)-(%d, %d) is not straight\n", x0, y0, x1, y1);
        std::abort();
    }
    const int dx = x1 > x0 ? 1 : (x1 < x0 ? -1 : 0);
    const int dy = y1 > y0 ? 1 : (y1 < y0 ? -1 : 0);
    // Each step opens the way forward in one cell and the way back in the next.
    const uint8_t forward = dx > 0 ? kRight : dx < 0 ? kLeft : dy > 0 ? kDown : kUp;
    const uint8_t back = dx > 0 ? kLeft : dx < 0 ? kRight : dy > 0 ? kUp : kDown;
    for (int x = x0, y = y0; x != x1 || y != y1; x += dx, y += dy) {
        ways_[index(x, y)] |= forward;
        ways_[index(x + dx, y + dy)] |= back;
    }
}

void Plan::addWater(const Area& area)
{
    for (int y = area.top; y <= area.bottom; ++y) {
        for (int x = area.left; x <= area.right; ++x) {
            water_[index(x, y)] = 1;
        }
    }
}

void Plan::keepClear(const Area& area)
{
    for (int y = area.top; y <= area.bottom; ++y) {
        for (int x = area.left; x <= area.right; ++x) {
            clear_[index(x, y)] = 1;
        }
    }
}

void Plan::place(int x, int y, Decoration decoration)
{
    decorations_[index(x, y)] = decoration;
}

bool Plan::freeGround(int x, int y) const
{
    const int i = index(x, y);
    return ways_[i] == 0 && !water_[i] && !clear_[i] && decorations_[i] == Decoration::None &&
           waterSides(x, y) == 0 && waterCorner(x, y) < 0;
}

int Plan::waterCorner(int x, int y) const
{
    if (water_[index(x, y)] || waterSides(x, y) != 0) {
        return -1;
    }
    for (int corner = 0; corner < 4; ++corner) {
        const int nx = x + (corner % 2 ? 1 : -1);
        const int ny = y + (corner / 2 ? 1 : -1);
        if (nx >= 0 && ny >= 0 && nx < width_ && ny < height_ && water_[index(nx, ny)]) {
            return corner;
        }
    }
    return -1;
}

uint8_t Plan::waterSides(int x, int y) const
{
    if (water_[index(x, y)]) {
        return 0;
    }
    uint8_t sides = 0;
    if (y > 0 && water_[index(x, y - 1)]) {
        sides |= kUp;
    }
    if (y < height_ - 1 && water_[index(x, y + 1)]) {
        sides |= kDown;
    }
    if (x > 0 && water_[index(x - 1, y)]) {
        sides |= kLeft;
    }
    if (x < width_ - 1 && water_[index(x + 1, y)]) {
        sides |= kRight;
    }
    return sides;
}

void Plan::scatter(int seed, int oneIn, bool trees)
{
    constexpr int kKinds = 5;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (!freeGround(x, y) || canvas::noise(seed, x, y, oneIn) != 0) {
                continue;
            }
            switch (canvas::noise(seed + 1, x, y, trees ? kKinds : kKinds - 2)) {
            case 0:
                place(x, y, Decoration::Flowers);
                break;
            case 1:
                place(x, y, Decoration::Rock);
                break;
            case 2:
                place(x, y, Decoration::Bush);
                break;
            case 3:
                place(x, y, Decoration::Tree);
                break;
            default:
                place(x, y, Decoration::OtherTree);
                break;
            }
        }
    }
}

}  // namespace layout
