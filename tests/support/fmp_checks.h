// Test helpers around the loaded tile map: loading bytes, asking whether
// the map is empty, and reading a realised tile's colour.
#pragma once

#include "tilemap/loader.h"
#include "tilemap/tilemap.h"

#include <allegro.h>

#include <ostream>
#include <string>

namespace fmp {

inline int load(const std::string& bytes)
{
    return loadMapFromMemory(bytes.data(), bytes.size());
}

// No array of the map is held (the header values may remain).
inline bool mapEmpty()
{
    for (const int16_t* layer : tileMap.layers) {
        if (layer) {
            return false;
        }
    }
    return !tileMap.currentLayer && !tileMap.paletteData && !tileMap.blockGraphics && !tileMap.tileBitmaps &&
           !tileMap.blockRecords && !tileMap.animRecords && !tileMap.animFrames;
}

struct Colour {
    int r, g, b;
    bool operator==(const Colour& o) const { return r == o.r && g == o.g && b == o.b; }
};

// The colour of pixel (x, y) of tile bitmap `graphic`, read back through
// the library at the bitmap's own depth.
inline Colour tileColour(int graphic, int x, int y)
{
    BITMAP* tile = tileMap.tileBitmaps[graphic];
    const int depth = bitmap_color_depth(tile);
    const int value = getpixel(tile, x, y);
    return {getr_depth(depth, value), getg_depth(depth, value), getb_depth(depth, value)};
}

inline bool isMask(int graphic, int x, int y)
{
    BITMAP* tile = tileMap.tileBitmaps[graphic];
    return getpixel(tile, x, y) == bitmap_mask_color(tile);
}

}  // namespace fmp

inline std::ostream& operator<<(std::ostream& out, const fmp::Colour& c)
{
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}
