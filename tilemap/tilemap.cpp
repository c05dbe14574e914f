#include "tilemap/tilemap.h"

#include <allegro.h>

#include <cstdlib>

TileMap tileMap;

void freeMap()
{
    for (int16_t*& layer : tileMap.layers) {
        std::free(layer);
        layer = nullptr;
    }
    tileMap.currentLayer = nullptr;
    tileMap.places = MapPlaces{};

    std::free(tileMap.paletteData);
    tileMap.paletteData = nullptr;
    tileMap.paletteSize = 0;
    std::free(tileMap.blockGraphics);
    tileMap.blockGraphics = nullptr;
    tileMap.graphicsSize = 0;
    std::free(tileMap.blockRecords);
    tileMap.blockRecords = nullptr;
    std::free(tileMap.animFrames);
    tileMap.animFrames = nullptr;
    tileMap.animFrameCount = 0;
    std::free(tileMap.animRecords);
    tileMap.animRecords = nullptr;

    if (tileMap.tileBitmaps) {
        for (BITMAP** slot = tileMap.tileBitmaps; *slot; ++slot) {
            destroy_bitmap(*slot);
        }
        std::free(tileMap.tileBitmaps);
        tileMap.tileBitmaps = nullptr;
    }
}
