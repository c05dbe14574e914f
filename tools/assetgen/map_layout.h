// The ground plan of a map before it becomes blocks: where the track runs
// (with the ways out of every track cell), where water lies, and which
// cells carry a decoration, a lamp or a tree. Track is laid as straight
// lines between cells, each step joining two neighbours both ways, so the
// ways out always match.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace layout {

constexpr uint8_t kUp = 0x01;
constexpr uint8_t kDown = 0x02;
constexpr uint8_t kLeft = 0x04;
constexpr uint8_t kRight = 0x08;

enum class Decoration : uint8_t { None, Flowers, Rock, Bush, Lamp, Tree, OtherTree };

// A rectangle of cells, both corners inclusive.
struct Area {
    int left, top, right, bottom;
    bool contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

class Plan {
public:
    Plan(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }

    // Lays track from (x0, y0) to (x1, y1); the two cells share a row or a column.
    void addTrack(int x0, int y0, int x1, int y1);
    void addWater(const Area& area);
    void keepClear(const Area& area);  // no decorations here (the dome's ground)
    void place(int x, int y, Decoration decoration);
    // Scatters decorations over the free ground, about one cell in `oneIn`.
    void scatter(int seed, int oneIn, bool trees);

    uint8_t ways(int x, int y) const { return ways_[index(x, y)]; }
    bool water(int x, int y) const { return water_[index(x, y)]; }
    Decoration decoration(int x, int y) const { return decorations_[index(x, y)]; }
    bool freeGround(int x, int y) const;
    // The sides of a dry cell that face water (bits as the ways out).
    uint8_t waterSides(int x, int y) const;
    // For a dry cell with no side facing water: the corner (0 up-left,
    // 1 up-right, 2 down-left, 3 down-right) that touches water, or -1.
    int waterCorner(int x, int y) const;

private:
    int index(int x, int y) const { return y * width_ + x; }

    int width_;
    int height_;
    std::vector<uint8_t> ways_;
    std::vector<uint8_t> water_;
    std::vector<uint8_t> clear_;
    std::vector<Decoration> decorations_;
};

}  // namespace layout
