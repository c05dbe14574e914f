#include "tools/fmpinfo/map_report.h"

#include "tilemap/loader.h"
#include "tilemap/tilemap.h"

#include <allegro.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kIdSize = 4;
constexpr int kChunkHeaderBytes = 8;
constexpr int kContainerHeaderBytes = 12;

struct ChunkEntry {
    std::string id;
    uint32_t length;
};

// Reads past `count` bytes; false when the file ends first (seeking would
// not tell).
bool skipBytes(PACKFILE* file, uint32_t count)
{
    constexpr uint32_t kStep = 1 << 16;
    static uint8_t scratch[kStep];
    while (count > 0) {
        const uint32_t step = count < kStep ? count : kStep;
        if (pack_fread(scratch, static_cast<long>(step), file) != static_cast<long>(step)) {
            return false;
        }
        count -= step;
    }
    return true;
}

// What the first twelve bytes lack of an FMP container's start (FORM, its
// length, then FMAP); null when they lack nothing.
const char* missingMarks(const uint8_t* header, long got)
{
    const bool form = got >= kIdSize && std::memcmp(header, "FORM", kIdSize) == 0;
    const bool fmap = got >= kContainerHeaderBytes &&
                      std::memcmp(header + kContainerHeaderBytes - kIdSize, "FMAP", kIdSize) == 0;
    if (form && fmap) {
        return nullptr;
    }
    return form ? "FMAP" : (fmap ? "FORM" : "FORM and FMAP");
}

// The chunks as they stand in the file, independent of whether the loader
// accepted them; stops at the first header that comes short. Nothing is
// listed for a file that is not an FMP container: its bytes after the first
// twelve are no chunk list.
std::vector<ChunkEntry> listChunks(const char* fileName, bool* truncated, const char** missing)
{
    std::vector<ChunkEntry> chunks;
    *truncated = false;
    *missing = nullptr;
    PACKFILE* file = pack_fopen(fileName, "rp");
    if (!file) {
        file = pack_fopen(fileName, "r");
    }
    if (!file) {
        return chunks;
    }
    uint8_t header[kContainerHeaderBytes];
    const long got = pack_fread(header, kContainerHeaderBytes, file);
    *missing = missingMarks(header, got);
    if (!*missing) {
        int64_t remaining = int64_t{readChunkLength(header + kIdSize)} + kChunkHeaderBytes - kContainerHeaderBytes;
        while (remaining > 0) {
            uint8_t chunk[kChunkHeaderBytes];
            if (pack_fread(chunk, kChunkHeaderBytes, file) != kChunkHeaderBytes) {
                *truncated = true;
                break;
            }
            const uint32_t length = readChunkLength(chunk + kIdSize);
            std::string id(reinterpret_cast<const char*>(chunk), kIdSize);
            for (char& c : id) {
                c = (c >= ' ' && c <= '~') ? c : '?';
            }
            chunks.push_back({id, length});
            if (!skipBytes(file, length)) {
                *truncated = true;
                break;
            }
            remaining -= int64_t{kChunkHeaderBytes} + length;
        }
    }
    pack_fclose(file);
    return chunks;
}

void printChunks(std::FILE* out, const std::vector<ChunkEntry>& chunks, bool truncated, const char* missing)
{
    if (missing) {
        std::fprintf(out, "chunks: none listed, not an FMP container (no %s)\n", missing);
        return;
    }
    std::fprintf(out, "chunks: %zu%s\n", chunks.size(), truncated ? " (the file ends inside the chunk list)" : "");
    for (const ChunkEntry& chunk : chunks) {
        std::fprintf(out, "  %s %u bytes\n", chunk.id.c_str(), chunk.length);
    }
}

void printLoadedMap(std::FILE* out)
{
    const TileMap& m = tileMap;
    std::fprintf(out, "map: %d x %d blocks of %d x %d pixels, block step %d x %d, stagger %d x %d\n", m.mapWidth,
                 m.mapHeight, m.blockWidth, m.blockHeight, m.blockStepX, m.blockStepY, m.staggerX, m.staggerY);
    std::fprintf(out, "graphics: %d, kept at %d bits in the file, now %d bits\n", m.graphicCount, m.graphicsDepth,
                 m.blockDepth);
    std::fprintf(out, "encoding: type %d, %s values\n", m.encodingType,
                 m.littleEndian ? "little-endian" : "big-endian");
    std::fprintf(out, "block records: %d of %d bytes in the file\n", m.blockRecordCount, m.blockRecordSize);
    const long animations = m.animRecords ? static_cast<long>(m.animRecordsEnd - m.animRecords) - 1 : 0;
    std::fprintf(out, "animations: %ld, frames %d\n", animations, m.animFrameCount);
    std::fprintf(out, "palette: %zu colours\n", m.paletteSize / 3);
    std::fprintf(out, "layers:");
    for (int n = 0; n < kLayerCount; ++n) {
        if (m.layers[n]) {
            std::fprintf(out, " %d", n);
        }
    }
    std::fprintf(out, "\n");
    const MapPlaces& p = m.places;
    if (!p.present) {
        std::fprintf(out, "places: none in the map (the game places by file name)\n");
        return;
    }
    std::fprintf(out, "places: start (%d, %d), domes", p.start.x, p.start.y);
    for (int i = 0; i < p.domeCount; ++i) {
        std::fprintf(out, " (%d, %d)", p.domes[i].x, p.domes[i].y);
    }
    std::fprintf(out, "\n");
}

}  // namespace

const char* loadErrorSentence(int code)
{
    switch (code) {
    case kLoadOk:
        return "the map loaded";
    case kLoadNoMemory:
        return "memory ran out while loading";
    case kLoadBadData:
        return "not an FMP map, or its data ends before what it promises";
    case kLoadCannotOpen:
        return "the file could not be opened";
    case kLoadNoScreen:
        return "there is no screen to make the tile bitmaps for";
    case kLoadNoBitmap:
        return "a tile bitmap could not be created";
    case kLoadBadVersion:
        return "the header has a format version above 1 or an encoding type above 3";
    case kLoadBadReference:
        return "a reference or size points outside what the map holds";
    case kLoadBadPlaces:
        return "the places chunk (PLCS) is malformed or names a cell outside the map";
    default:
        return "unknown reason";
    }
}

int fmpinfoSummary(const char* fileName, std::FILE* out)
{
    const int result = loadMap(fileName);
    std::fprintf(out, "file: %s\n", fileName);
    std::fprintf(out, "result: %d (%s)\n", result, result == 0 ? "loaded" : "not loaded");
    std::fprintf(out, "loadError: %d, %s\n", tileMap.loadError, loadErrorSentence(tileMap.loadError));
    bool truncated = false;
    const char* missing = nullptr;
    const std::vector<ChunkEntry> chunks = listChunks(fileName, &truncated, &missing);
    printChunks(out, chunks, truncated, missing);
    if (result != 0) {
        return 1;
    }
    printLoadedMap(out);
    freeMap();
    return 0;
}
