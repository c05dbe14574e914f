#include "base/enlarge.h"

#include <allegro.h>

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

constexpr int kFastDepth = 32;
// A run is written as one store of this many pixels, the next run
// overwriting what lies beyond it: longer runs take the column map instead.
constexpr int kMaxRun = 4;

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

    // Runs in order from column 0, each game column in one: an enlargement.
    run_.assign(fromW, 0);
    runsFit_ = sourceColumn_.front() == 0 && sourceColumn_.back() == fromW - 1;
    for (int column = 0; column < toW && runsFit_; ++column) {
        const int source = sourceColumn_[column];
        runsFit_ = (column == 0 || source == sourceColumn_[column - 1] || source == sourceColumn_[column - 1] + 1) &&
                   ++run_[source] <= kMaxRun;
    }
    runStart_.assign(fromW, 0);
    runsBeforeTail_ = 0;
    for (int column = 1; column < fromW; ++column) {
        runStart_[column] = runStart_[column - 1] + run_[column - 1];
    }
    while (runsBeforeTail_ < fromW && runStart_[runsBeforeTail_] + kMaxRun <= toW) {
        ++runsBeforeTail_;
    }
}

void Enlarger::buildRow(const uint32_t* in, uint32_t* out) const
{
#ifdef __SSE2__
    if (wholeScale_ == 2) {
        // Four game pixels at a time, each doubled by interleaving with itself.
        int column = 0;
        for (; column + 4 <= fromW_; column += 4) {
            const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + column));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * column), _mm_unpacklo_epi32(four, four));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * column + 4), _mm_unpackhi_epi32(four, four));
        }
        for (; column < fromW_; ++column) {
            out[2 * column] = out[2 * column + 1] = in[column];
        }
        return;
    }
#endif
    if (!runsFit_) {
        const int toW = static_cast<int>(sourceColumn_.size());
        for (int column = 0; column < toW; ++column) {
            out[column] = in[sourceColumn_[column]];
        }
        return;
    }
    // Locals, so the stores below need not be assumed to change them.
    const int* starts = runStart_.data();
    const uint8_t* runs = run_.data();
    const int tail = runsBeforeTail_;
    const int fromW = fromW_;
    int column = 0;
#ifdef __SSE2__
    for (; column < tail; ++column) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + starts[column]), _mm_set1_epi32(static_cast<int>(in[column])));
    }
#endif
    for (; column < fromW; ++column) {
        for (int repeat = 0; repeat < runs[column]; ++repeat) {
            out[starts[column] + repeat] = in[column];
        }
    }
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
            buildRow(reinterpret_cast<const uint32_t*>(from->line[source]), out);
            written = out;
            writtenFrom = source;
        }
    }
    bmp_unwrite_line(to);
    release_bitmap(to);
}
