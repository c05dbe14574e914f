#include "tilemap/decode.h"
#include "tilemap/map_memory.h"
#include "tilemap/map_reader.h"
#include "tilemap/tilemap.h"

#include <cstdlib>

namespace {

constexpr int kCellSize = 2;
constexpr int kOffsetAnimRecordSize = kAnimRecordSize;
constexpr int kLongestRun = 32768;

// Reads the chunk's 16-bit values one after another without ever passing
// its end.
class CellReader {
public:
    CellReader(const uint8_t* data, uint32_t length) : data_(data), length_(length) {}
    bool next(int32_t* value)
    {
        if (length_ - position_ < kCellSize) {
            return false;
        }
        *value = readMapShort(data_ + position_);
        position_ += kCellSize;
        return true;
    }

private:
    const uint8_t* data_;
    uint32_t length_;
    uint32_t position_ = 0;
};

// Fills the layer from plain values (encodingType 0 and 1).
bool readPlainCells(CellReader& reader, int16_t* cells, int64_t count)
{
    for (int64_t i = 0; i < count; ++i) {
        int32_t value = 0;
        if (!reader.next(&value)) {
            return false;
        }
        if (tileMap.encodingType == 0) {
            value = value < 0 ? value / kOffsetAnimRecordSize : value / tileMap.blockRecordSize;
        }
        cells[i] = static_cast<int16_t>(value);
    }
    return true;
}

// Decodes one run of a run-length coded row into cells[*written...]; every
// run must end inside its row, and a back-copy must start at a cell already
// written.
bool readRun(CellReader& reader, int16_t* cells, int64_t* written, int32_t* column)
{
    int32_t count = 0;
    if (!reader.next(&count)) {
        return false;
    }
    const int32_t cellsLeft = tileMap.mapWidth - *column;
    if (count > 0) {
        if (count > cellsLeft) {
            return false;
        }
        for (int32_t i = 0; i < count; ++i) {
            int32_t value = 0;
            if (!reader.next(&value)) {
                return false;
            }
            cells[(*written)++] = static_cast<int16_t>(value);
        }
        *column += count;
    } else if (count < 0) {
        const int32_t repeat = -count;
        int32_t value = 0;
        if (repeat > cellsLeft || !reader.next(&value)) {
            return false;
        }
        if (tileMap.encodingType == 2) {
            for (int32_t i = 0; i < repeat; ++i) {
                cells[(*written)++] = static_cast<int16_t>(value);
            }
        } else {
            // value is the back-copy offset; source and destination advance
            // together, so an overlap repeats a pattern.
            if (value >= 0 || *written + value < 0) {
                return false;
            }
            for (int32_t i = 0; i < repeat; ++i, ++*written) {
                cells[*written] = cells[*written + value];
            }
        }
        *column += repeat;
    }
    return true;
}

bool readCodedRows(CellReader& reader, int16_t* cells)
{
    int64_t written = 0;
    for (int32_t row = 0; row < tileMap.mapHeight; ++row) {
        int32_t column = 0;
        while (column < tileMap.mapWidth) {
            if (!readRun(reader, cells, &written, &column)) {
                return false;
            }
        }
    }
    return true;
}

// The least data that can fill the layer: each row needs at least one run
// header and one value per run of at most kLongestRun cells. Checked before
// the layer is allocated so that a tiny chunk cannot claim a huge layer.
int64_t leastLayerBytes(int64_t cellCount)
{
    if (tileMap.encodingType < 2) {
        return cellCount * kCellSize;
    }
    const int64_t runsPerRow = (tileMap.mapWidth + kLongestRun - 1) / kLongestRun;
    return int64_t{tileMap.mapHeight} * runsPerRow * 2 * kCellSize;
}

}  // namespace

void decodeLayer(const uint8_t* chunk, int layerIndex)
{
    if (!requireHeader()) {
        return;
    }
    const uint32_t length = chunkDataLength(chunk);
    const int64_t cellCount = int64_t{tileMap.mapWidth} * tileMap.mapHeight;
    if (leastLayerBytes(cellCount) > length) {
        tileMap.loadError = kLoadBadData;
        return;
    }
    auto* cells = static_cast<int16_t*>(mapMemory.allocate(static_cast<std::size_t>(cellCount) * sizeof(int16_t)));
    if (!cells) {
        tileMap.loadError = kLoadNoMemory;
        return;
    }
    CellReader reader(chunk + kChunkHeaderSize, length);
    const bool complete = tileMap.encodingType < 2 ? readPlainCells(reader, cells, cellCount)
                                                   : readCodedRows(reader, cells);
    if (!complete) {
        std::free(cells);
        tileMap.loadError = kLoadBadData;
        return;
    }
    // A second chunk for the same layer replaces the first.
    std::free(tileMap.layers[layerIndex]);
    tileMap.layers[layerIndex] = cells;
    if (layerIndex == 0) {
        tileMap.currentLayer = cells;
    }
}
