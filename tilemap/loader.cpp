#include "tilemap/loader.h"

#include "tilemap/decode.h"
#include "tilemap/map_memory.h"
#include "tilemap/memory_file.h"
#include "tilemap/realise.h"
#include "tilemap/tilemap.h"

#include <allegro.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kIdSize = 4;
constexpr int kContainerHeaderSize = 12;  // "FORM", form length, "FMAP"
constexpr int32_t kMemoryBitmapMode = 2;

// A chunk buffer starts no larger than this and grows as its data really
// arrives, so a length field that promises more than the file holds cannot
// make the loader claim memory for it.
constexpr std::size_t kFirstChunkBuffer = std::size_t{1} << 20;

int failDecoding(int32_t code)
{
    tileMap.loadError = code;
    freeMap();
    return -1;
}

bool idIs(const uint8_t* id, const char* name)
{
    return std::memcmp(id, name, kIdSize) == 0;
}

void dispatchChunk(const uint8_t* chunk)
{
    static const char* const layerIds[kLayerCount] = {
        "BODY", "LYR1", "LYR2", "LYR3", "LYR4", "LYR5", "LYR6", "LYR7"};
    if (idIs(chunk, "MPHD")) {
        decodeHeader(chunk);
    } else if (idIs(chunk, "CMAP")) {
        decodePalette(chunk);
    } else if (idIs(chunk, "BKDT")) {
        decodeBlockRecords(chunk);
    } else if (idIs(chunk, "ANDT")) {
        decodeAnimations(chunk);
    } else if (idIs(chunk, "AGFX")) {
        decodeAltGraphics(chunk);
    } else if (idIs(chunk, "BGFX")) {
        decodeGraphics(chunk);
    } else if (idIs(chunk, "PLCS")) {
        decodePlaces(chunk);
    } else if (idIs(chunk, "NOVC")) {
        // Which graphics stay out of video memory: every tile here is a
        // memory bitmap, so there is nothing to take from it.
    } else {
        for (int layer = 0; layer < kLayerCount; ++layer) {
            if (idIs(chunk, layerIds[layer])) {
                decodeLayer(chunk, layer);
                return;
            }
        }
    }
}

// Reads the chunk whose 8 header bytes are given into a new buffer of
// N + 8 bytes. Returns null with loadError set when the data comes short
// or memory runs out.
uint8_t* readChunk(PACKFILE* file, const uint8_t* header)
{
    const std::size_t total = std::size_t{readChunkLength(header + kIdSize)} + kChunkHeaderSize;
    std::size_t capacity = std::min(total, kFirstChunkBuffer);
    auto* buffer = static_cast<uint8_t*>(mapMemory.allocate(capacity));
    if (!buffer) {
        tileMap.loadError = kLoadNoMemory;
        return nullptr;
    }
    std::memcpy(buffer, header, kChunkHeaderSize);
    std::size_t filled = kChunkHeaderSize;
    while (filled < total) {
        if (filled == capacity) {
            capacity = std::min(total, capacity * 2);
            auto* grown = static_cast<uint8_t*>(mapMemory.reallocate(buffer, capacity));
            if (!grown) {
                std::free(buffer);
                tileMap.loadError = kLoadNoMemory;
                return nullptr;
            }
            buffer = grown;
        }
        const long wanted = static_cast<long>(capacity - filled);
        const long got = pack_fread(buffer + filled, wanted, file);
        if (got != wanted) {
            std::free(buffer);
            tileMap.loadError = kLoadBadData;
            return nullptr;
        }
        filled = capacity;
    }
    return buffer;
}

// Checks the container header of an open file, walks its chunks and closes
// it.
int readOpenMap(PACKFILE* file)
{
    tileMap.mapFile = file;
    tileMap.loadError = kLoadBadData;
    uint8_t header[kContainerHeaderSize];
    bool complete = true;
    for (int i = 0; i < kContainerHeaderSize && complete; ++i) {
        const int c = pack_getc(file);
        complete = c != EOF;
        header[i] = static_cast<uint8_t>(c);
        // The form type is only read once the id has been found.
        if (i == 2 * kIdSize - 1 && !idIs(header, "FORM")) {
            complete = false;
        }
    }
    int result = -1;
    if (complete && idIs(header, "FORM") && idIs(header + 2 * kIdSize, "FMAP")) {
        tileMap.loadError = kLoadOk;
        // A form length near 4 GiB promises more than any file holds; the
        // short read that follows refuses it, so the sum may saturate.
        const uint32_t formLength = readChunkLength(header + kIdSize);
        const uint32_t total = formLength > UINT32_MAX - kChunkHeaderSize ? UINT32_MAX : formLength + kChunkHeaderSize;
        result = decodeChunks(file, total);
    }
    pack_fclose(file);
    tileMap.mapFile = nullptr;
    return result;
}

}  // namespace

int loadMap(const char* fileName)
{
    tileMap.bitmapMode = kMemoryBitmapMode;
    return readMapFile(fileName);
}

int loadMapFromMemory(const void* data, std::size_t size)
{
    tileMap.bitmapMode = kMemoryBitmapMode;
    tileMap.loadError = kLoadOk;
    PACKFILE* file = openMemoryFile(data, size);
    if (!file) {
        tileMap.loadError = kLoadNoMemory;
        return -1;
    }
    return readOpenMap(file);
}

int readMapFile(const char* fileName)
{
    tileMap.loadError = kLoadOk;
    PACKFILE* file = pack_fopen(fileName, "rp");
    if (!file) {
        file = pack_fopen(fileName, "r");
    }
    if (!file) {
        tileMap.loadError = kLoadCannotOpen;
        return -1;
    }
    return readOpenMap(file);
}

int decodeChunks(PACKFILE* file, uint32_t total)
{
    freeMap();
    loadProgress = LoadProgress{};
    int64_t remaining = int64_t{total} - kContainerHeaderSize;
    while (remaining > 0) {
        uint8_t header[kChunkHeaderSize];
        if (pack_fread(header, kChunkHeaderSize, file) != kChunkHeaderSize) {
            return failDecoding(kLoadBadData);
        }
        uint8_t* chunk = readChunk(file, header);
        if (!chunk) {
            return failDecoding(tileMap.loadError);
        }
        dispatchChunk(chunk);
        remaining -= int64_t{kChunkHeaderSize} + readChunkLength(header + kIdSize);
        std::free(chunk);
        if (tileMap.loadError != kLoadOk) {
            return failDecoding(tileMap.loadError);
        }
    }
    if (!checkMapReferences()) {
        return failDecoding(tileMap.loadError);
    }
    tileMap.blockDepth = static_cast<int16_t>(tileMap.graphicsDepth);
    return realiseTileGraphics();
}

uint32_t readChunkLength(const uint8_t* bytes)
{
    return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | uint32_t{bytes[3]};
}
