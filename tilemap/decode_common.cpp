#include "tilemap/decode.h"
#include "tilemap/loader.h"
#include "tilemap/tilemap.h"

LoadProgress loadProgress;

uint32_t chunkDataLength(const uint8_t* chunk)
{
    constexpr int kLengthOffset = 4;
    return readChunkLength(chunk + kLengthOffset);
}

bool isKnownDepth(int depth)
{
    return depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
}

int64_t graphicByteSize(int depth)
{
    return int64_t{tileMap.blockWidth} * tileMap.blockHeight * bytesPerPixel(depth);
}

bool requireHeader()
{
    // Without a header of this file the sizes would be the previous map's.
    if (!loadProgress.headerSeen) {
        tileMap.loadError = kLoadBadReference;
        return false;
    }
    loadProgress.headerUsed = true;
    return true;
}
