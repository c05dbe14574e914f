#include "base/enlarge.h"

#include <allegro.h>

#include <cstdint>
#include <cstring>

namespace {

constexpr int kFastDepth = 32;

// Where stretch_blit takes each of `to` places from along one axis: found by
// stretching a line whose pixels hold their own index, so the two agree
// exactly, rounding included.
std::vector<int> stretchMap(int from, int to, bool across)
{
    BITMAP* line = across ? create_bitmap_ex(kFastDepth, from, 1) : create_bitmap_ex(kFastDepth, 1, from);
    BITMAP* stretched = across ? create_bitmap_ex(kFastDepth, to, 1) : create_bitmap_ex(kFastDepth, 1, to);
    for (int i = 0; i < from; ++i) {
        putpixel(line, across ? i : 0, across ? 0 : i, i);
    }
    stretch_blit(line, stretched, 0, 0, line->w, line->h, 0, 0, stretched->w, stretched->h);
    std::vector<int> map(to);
    for (int i = 0; i < to; ++i) {
        map[i] = getpixel(stretched, across ? i : 0, across ? 0 : i);
    }
    destroy_bitmap(stretched);
    destroy_bitmap(line);
    return map;
}

bool isWholeScale(const std::vector<int>& map, int scale)
{
    for (std::size_t i = 0; i < map.size(); ++i) {
        if (map[i] != static_cast<int>(i) / scale) {
            return false;
        }
    }
    return true;
}

}  // namespace

void Enlarger::prepare(int fromW, int fromH, int toW, int toH)
{
    fromW_ = fromW;
    fromH_ = fromH;
    sourceColumn_ = stretchMap(fromW, toW, true);
    sourceRow_ = stretchMap(fromH, toH, false);
    const int scale = toW / fromW;
    wholeScale_ = toW == fromW * scale && isWholeScale(sourceColumn_, scale) ? scale : 0;
}

void Enlarger::enlarge(BITMAP* from, BITMAP* to, int x, int y) const
{
    const int toW = static_cast<int>(sourceColumn_.size());
    const int toH = static_cast<int>(sourceRow_.size());
    if (bitmap_color_depth(from) != kFastDepth || bitmap_color_depth(to) != kFastDepth || !is_memory_bitmap(from) ||
        from->w != fromW_ || from->h != fromH_) {
        stretch_blit(from, to, 0, 0, from->w, from->h, x, y, toW, toH);
        return;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(toW) * sizeof(uint32_t);
    acquire_bitmap(to);
    const uint32_t* written = nullptr;  // the last row built, which repeats follow
    int writtenFrom = -1;
    for (int row = 0; row < toH; ++row) {
        auto* out = reinterpret_cast<uint32_t*>(bmp_write_line(to, y + row)) + x;
        const int source = sourceRow_[row];
        if (source == writtenFrom) {
            std::memcpy(out, written, rowBytes);
        } else {
            const auto* in = reinterpret_cast<const uint32_t*>(from->line[source]);
            if (wholeScale_ != 0) {
                uint32_t* place = out;
                for (int column = 0; column < fromW_; ++column) {
                    for (int repeat = 0; repeat < wholeScale_; ++repeat) {
                        *place++ = in[column];
                    }
                }
            } else {
                for (int column = 0; column < toW; ++column) {
                    out[column] = in[sourceColumn_[column]];
                }
            }
            written = out;
            writtenFrom = source;
        }
    }
    bmp_unwrite_line(to);
    release_bitmap(to);
}
