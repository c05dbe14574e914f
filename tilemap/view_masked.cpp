#include "tilemap/view_masked.h"

#include <allegro.h>

#include <algorithm>
#include <cstdint>

namespace {
constexpr int kFastDepth = 32;
}

void maskedCopy(BITMAP* source, BITMAP* dest, int sourceX, int sourceY, int destX, int destY, int w, int h)
{
    if (bitmap_color_depth(source) != kFastDepth || bitmap_color_depth(dest) != kFastDepth ||
        !is_memory_bitmap(source) || !is_memory_bitmap(dest)) {
        masked_blit(source, dest, sourceX, sourceY, destX, destY, w, h);
        return;
    }
    // Clip to the source bitmap, then to the destination's clipping
    // rectangle (or its bounds while clipping is off), moving both corners
    // together as the library does.
    const int left = dest->clip ? dest->cl : 0;
    const int top = dest->clip ? dest->ct : 0;
    const int right = dest->clip ? dest->cr : dest->w;
    const int bottom = dest->clip ? dest->cb : dest->h;
    auto trim = [](int& from, int& to, int& length, int low, int high) {
        if (from < low) {
            length -= low - from;
            to += low - from;
            from = low;
        }
        length = std::min(length, high - from);
    };
    trim(sourceX, destX, w, 0, source->w);
    trim(sourceY, destY, h, 0, source->h);
    trim(destX, sourceX, w, left, right);
    trim(destY, sourceY, h, top, bottom);
    if (w <= 0 || h <= 0) {
        return;
    }
    const uint32_t mask = static_cast<uint32_t>(bitmap_mask_color(source));
    for (int row = 0; row < h; ++row) {
        const uint32_t* from = reinterpret_cast<const uint32_t*>(source->line[sourceY + row]) + sourceX;
        uint32_t* to = reinterpret_cast<uint32_t*>(dest->line[destY + row]) + destX;
        // Written as a select rather than a skipped store so the compiler
        // can handle several pixels at once.
        for (int i = 0; i < w; ++i) {
            to[i] = from[i] != mask ? from[i] : to[i];
        }
    }
}
