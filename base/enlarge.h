// Enlarging a picture, nearest neighbour, fast: the same picture the
// library's stretch_blit gives, at close to the memory's speed. Each screen
// column and row is mapped to its game column and row once, when the sizes
// are set, and each game column's run of screen columns counted; a pass
// then builds every distinct screen row once, a run at a time, and copies it
// to the rows that repeat it.
#pragma once

#include <cstdint>
#include <vector>

struct BITMAP;

class Enlarger {
public:
    // From a fromW x fromH picture to a toW x toH one.
    void prepare(int fromW, int fromH, int toW, int toH);

    // `from` (prepared size) enlarged into `to` with its corner at x, y.
    void enlarge(BITMAP* from, BITMAP* to, int x, int y) const;

private:
    void buildRow(const uint32_t* in, uint32_t* out) const;

    int fromW_ = 0;
    int fromH_ = 0;
    int wholeScale_ = 0;             // every column repeated this often; 0 when not a whole number
    bool runsFit_ = false;           // every run is 1 to kMaxRun columns long
    std::vector<int> sourceColumn_;  // per screen column
    std::vector<int> sourceRow_;     // per screen row
    std::vector<uint8_t> run_;       // per game column: the screen columns it covers
    std::vector<int> runStart_;      // per game column: the first of them
    int runsBeforeTail_ = 0;         // game columns whose widest store stays within the row
};
