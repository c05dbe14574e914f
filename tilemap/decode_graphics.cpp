#include "tilemap/decode.h"
#include "tilemap/map_memory.h"
#include "tilemap/tilemap.h"

#include <allegro.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr int kAltGraphicsDepth = 8;

// A copy of the chunk's data; null with loadError set when memory is short.
// An empty chunk gives null without an error.
uint8_t* copyData(const uint8_t* chunk, uint32_t length)
{
    if (length == 0) {
        return nullptr;
    }
    auto* copy = static_cast<uint8_t*>(mapMemory.allocate(length));
    if (!copy) {
        tileMap.loadError = kLoadNoMemory;
        return nullptr;
    }
    std::memcpy(copy, chunk + kChunkHeaderSize, length);
    return copy;
}

}  // namespace

void decodePalette(const uint8_t* chunk)
{
    const uint32_t length = chunkDataLength(chunk);
    std::free(tileMap.paletteData);
    tileMap.paletteData = copyData(chunk, length);
    tileMap.paletteSize = tileMap.paletteData ? length : 0;
}

void decodeAltGraphics(const uint8_t* chunk)
{
    // The 8-bit copy of the graphics is only worth taking for a screen that
    // cannot show more; without a screen the realisation refuses anyway.
    // An empty chunk holds no graphics: it must neither drop graphics
    // already taken nor make a later BGFX read as 8-bit.
    const uint32_t length = chunkDataLength(chunk);
    if (!screen || bitmap_color_depth(screen) > kAltGraphicsDepth || length == 0) {
        return;
    }
    std::free(tileMap.blockGraphics);
    tileMap.blockGraphics = copyData(chunk, length);
    tileMap.graphicsSize = tileMap.blockGraphics ? length : 0;
    tileMap.graphicsDepth = kAltGraphicsDepth;
    loadProgress.altGraphicsKept = true;
}

void decodeGraphics(const uint8_t* chunk)
{
    if (tileMap.blockGraphics) {
        return;
    }
    const uint32_t length = chunkDataLength(chunk);
    tileMap.blockGraphics = copyData(chunk, length);
    tileMap.graphicsSize = tileMap.blockGraphics ? length : 0;
}
