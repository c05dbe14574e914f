// Enlarging a picture, nearest neighbour, fast: the same picture the
// library's stretch_blit gives, at close to the memory's speed. Each screen
// column and row is mapped to its game column and row once, when the sizes
// are set; a pass then writes every distinct row once and copies it to the
// rows that repeat it.
#pragma once

#include <vector>

struct BITMAP;

class Enlarger {
public:
    // From a fromW x fromH picture to a toW x toH one.
    void prepare(int fromW, int fromH, int toW, int toH);

    // `from` (prepared size) enlarged into `to` with its corner at x, y.
    void enlarge(BITMAP* from, BITMAP* to, int x, int y) const;

private:
    int fromW_ = 0;
    int fromH_ = 0;
    int wholeScale_ = 0;           // every column repeated this often; 0 when not a whole number
    std::vector<int> sourceColumn_;  // per screen column
    std::vector<int> sourceRow_;     // per screen row
};
