#include "tilemap/decode.h"
#include "tilemap/map_reader.h"
#include "tilemap/tilemap.h"

namespace {

// Offsets of the header fields in the MPHD data.
constexpr int kVersionOffset = 0;
constexpr int kByteOrderOffset = 2;
constexpr int kEncodingOffset = 3;
constexpr int kMapWidthOffset = 4;
constexpr int kMapHeightOffset = 6;
constexpr int kBlockWidthOffset = 12;
constexpr int kBlockHeightOffset = 14;
constexpr int kBlockDepthOffset = 16;
constexpr int kRecordSizeOffset = 18;
constexpr int kRecordCountOffset = 20;
constexpr int kGraphicCountOffset = 22;
constexpr int kStepXOffset = 28;
constexpr int kStepYOffset = 30;
constexpr int kStaggerXOffset = 32;
constexpr int kStaggerYOffset = 34;

// The basic fields end at byte 23; the step and stagger fields, present
// from a length of 29 on, reach to byte 35.
constexpr uint32_t kBasicHeaderLength = 24;
constexpr uint32_t kSteppedHeaderFrom = 29;
constexpr uint32_t kSteppedHeaderLength = 36;

constexpr int kMaxVersion = 1;
constexpr int kMaxEncodingType = 3;
constexpr uint8_t kLittleEndianMark = 1;

bool headerValuesUsable()
{
    const TileMap& m = tileMap;
    return m.mapWidth > 0 && m.mapHeight > 0 && m.blockWidth > 0 && m.blockHeight > 0
        && isKnownDepth(m.blockDepth) && m.blockRecordSize >= kMinBlockRecordSize
        && m.blockRecordCount >= 0 && m.graphicCount >= 0 && m.blockStepX > 0 && m.blockStepY > 0;
}

}  // namespace

void decodeHeader(const uint8_t* chunk)
{
    const uint32_t length = chunkDataLength(chunk);
    const uint8_t* data = chunk + kChunkHeaderSize;
    if (length < kBasicHeaderLength) {
        tileMap.loadError = kLoadBadData;
        return;
    }
    if (data[kVersionOffset] > kMaxVersion) {
        tileMap.loadError = kLoadBadVersion;
        return;
    }
    // A new header after records, layers or graphics would leave those
    // sized by the old one.
    if (loadProgress.headerUsed) {
        tileMap.loadError = kLoadBadReference;
        return;
    }
    tileMap.littleEndian = data[kByteOrderOffset] == kLittleEndianMark ? 1 : 0;
    tileMap.encodingType = data[kEncodingOffset];
    if (tileMap.encodingType > kMaxEncodingType) {
        tileMap.loadError = kLoadBadVersion;
        return;
    }
    if (length >= kSteppedHeaderFrom && length < kSteppedHeaderLength) {
        tileMap.loadError = kLoadBadData;
        return;
    }

    tileMap.mapWidth = static_cast<int16_t>(readMapShort(data + kMapWidthOffset));
    tileMap.mapHeight = static_cast<int16_t>(readMapShort(data + kMapHeightOffset));
    tileMap.blockWidth = static_cast<int16_t>(readMapShort(data + kBlockWidthOffset));
    tileMap.blockHeight = static_cast<int16_t>(readMapShort(data + kBlockHeightOffset));
    tileMap.blockDepth = static_cast<int16_t>(readMapShort(data + kBlockDepthOffset));
    tileMap.graphicsDepth = loadProgress.altGraphicsKept ? 8 : tileMap.blockDepth;
    tileMap.blockRecordSize = static_cast<int16_t>(readMapShort(data + kRecordSizeOffset));
    tileMap.blockRecordCount = static_cast<int16_t>(readMapShort(data + kRecordCountOffset));
    tileMap.graphicCount = static_cast<int16_t>(readMapShort(data + kGraphicCountOffset));
    if (length >= kSteppedHeaderFrom) {
        tileMap.blockStepX = readMapShort(data + kStepXOffset);
        tileMap.blockStepY = readMapShort(data + kStepYOffset);
        tileMap.staggerX = readMapShort(data + kStaggerXOffset);
        tileMap.staggerY = readMapShort(data + kStaggerYOffset);
    } else {
        tileMap.blockStepX = tileMap.blockWidth;
        tileMap.blockStepY = tileMap.blockHeight;
        tileMap.staggerX = 0;
        tileMap.staggerY = 0;
    }

    if (!headerValuesUsable()) {
        tileMap.loadError = kLoadBadReference;
        return;
    }
    loadProgress.headerSeen = true;
}
