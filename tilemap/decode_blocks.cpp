#include "tilemap/decode.h"
#include "tilemap/map_memory.h"
#include "tilemap/map_reader.h"
#include "tilemap/tilemap.h"

#include <cstdlib>

namespace {

// Offsets of the fields inside one block record of the file.
constexpr int kBackOffset = 0;
constexpr int kFore1Offset = 4;
constexpr int kFore2Offset = 8;
constexpr int kFore3Offset = 12;
constexpr int kUser1Offset = 16;
constexpr int kUser2Offset = 20;
constexpr int kUser3Offset = 24;
constexpr int kUser4Offset = 26;
constexpr int kUser5Offset = 28;
constexpr int kUser6Offset = 29;
constexpr int kUser7Offset = 30;
constexpr int kFlagsOffset = 31;

// With encodingType 0 graphics are named by their byte offset in BGFX.
int32_t graphicNumber(const uint8_t* field, int64_t graphicSize)
{
    const int32_t stored = readMapLong(field);
    if (tileMap.encodingType != 0) {
        return stored;
    }
    return static_cast<int32_t>(stored / graphicSize);
}

}  // namespace

void decodeBlockRecords(const uint8_t* chunk)
{
    if (!requireHeader()) {
        return;
    }
    const uint32_t length = chunkDataLength(chunk);
    const int64_t needed = int64_t{tileMap.blockRecordCount} * tileMap.blockRecordSize;
    if (needed > length) {
        tileMap.loadError = kLoadBadData;
        return;
    }
    std::free(tileMap.blockRecords);
    tileMap.blockRecords = nullptr;
    if (tileMap.blockRecordCount == 0) {
        return;
    }
    auto* records = static_cast<BlockRecord*>(mapMemory.allocateZeroed(tileMap.blockRecordCount, sizeof(BlockRecord)));
    if (!records) {
        tileMap.loadError = kLoadNoMemory;
        return;
    }
    tileMap.blockRecords = records;

    const int64_t graphicSize = graphicByteSize(tileMap.blockDepth);
    const uint8_t* record = chunk + kChunkHeaderSize;
    for (int i = 0; i < tileMap.blockRecordCount; ++i, record += tileMap.blockRecordSize) {
        BlockRecord& block = records[i];
        block.backGraphic.index = graphicNumber(record + kBackOffset, graphicSize);
        block.foreGraphic1.index = graphicNumber(record + kFore1Offset, graphicSize);
        block.foreGraphic2.index = graphicNumber(record + kFore2Offset, graphicSize);
        block.foreGraphic3.index = graphicNumber(record + kFore3Offset, graphicSize);
        block.userField1 = static_cast<uint32_t>(readMapLong(record + kUser1Offset));
        block.userField2 = static_cast<uint32_t>(readMapLong(record + kUser2Offset));
        block.userField3 = static_cast<uint16_t>(readMapShort(record + kUser3Offset));
        block.userField4 = static_cast<uint16_t>(readMapShort(record + kUser4Offset));
        block.userField5 = record[kUser5Offset];
        block.userField6 = record[kUser6Offset];
        block.userField7 = record[kUser7Offset];
        block.flags = record[kFlagsOffset];
    }
}
