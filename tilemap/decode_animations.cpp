#include "tilemap/decode.h"
#include "tilemap/map_memory.h"
#include "tilemap/map_reader.h"
#include "tilemap/tilemap.h"

#include <cstdlib>

namespace {

constexpr uint8_t kEndRecordMark = 0xFF;
constexpr int kFrameEntrySize = 4;

// Offsets inside one animation record.
constexpr int kTypeOffset = 0;
constexpr int kDelayOffset = 1;
constexpr int kCounterOffset = 2;
constexpr int kUserOffset = 3;
constexpr int kCurrentOffset = 4;
constexpr int kFirstOffset = 8;
constexpr int kEndOffset = 12;

// Kinds of frame order that share another kind's starting frame.
constexpr int8_t kTypeLoopForward = 3;
constexpr int8_t kTypePingPongForward = 5;
constexpr int8_t kTypePingPongBackward = 6;
constexpr int8_t kTypeBackward = 2;
constexpr int8_t kTypeOnceBackward = 7;
constexpr int8_t kTypeOnceForwardPingPong = 8;
constexpr int8_t kTypeLoopOnce = 9;
constexpr int8_t kTypeEnd = -1;

// With encodingType 0 a frame position is a byte offset counted back from
// the end of the ANDT data. Computed wide: the stored value is untrusted.
int32_t framePosition(const uint8_t* field, uint32_t length)
{
    const int32_t stored = readMapLong(field);
    if (tileMap.encodingType != 0) {
        return stored;
    }
    const int64_t position = (int64_t{stored} + length) / kFrameEntrySize;
    if (position < INT32_MIN || position > INT32_MAX) {
        return -1;  // outside any frame list, refused with the others
    }
    return static_cast<int32_t>(position);
}

bool readFrames(const uint8_t* data, int32_t count)
{
    if (count == 0) {
        return true;
    }
    auto* frames = static_cast<int32_t*>(mapMemory.allocate(sizeof(int32_t) * count));
    if (!frames) {
        tileMap.loadError = kLoadNoMemory;
        return false;
    }
    for (int32_t i = 0; i < count; ++i) {
        const int32_t stored = readMapLong(data + i * kFrameEntrySize);
        frames[i] = tileMap.encodingType == 0 ? stored / tileMap.blockRecordSize : stored;
    }
    tileMap.animFrames = frames;
    tileMap.animFrameCount = count;
    return true;
}

bool readRecords(const uint8_t* data, uint32_t length, uint32_t endRecordOffset, int32_t count)
{
    auto* records = static_cast<AnimRecord*>(mapMemory.allocate(sizeof(AnimRecord) * count));
    if (!records) {
        tileMap.loadError = kLoadNoMemory;
        return false;
    }
    const uint8_t* bytes = data + endRecordOffset;
    for (int32_t i = 0; i < count; ++i, bytes += kAnimRecordSize) {
        AnimRecord& anim = records[i];
        anim.type = static_cast<int8_t>(bytes[kTypeOffset]);
        anim.delay = static_cast<int8_t>(bytes[kDelayOffset]);
        anim.counter = static_cast<int8_t>(bytes[kCounterOffset]);
        anim.userByte = static_cast<int8_t>(bytes[kUserOffset]);
        anim.currentFrame = framePosition(bytes + kCurrentOffset, length);
        anim.firstFrame = framePosition(bytes + kFirstOffset, length);
        anim.endFrame = framePosition(bytes + kEndOffset, length);
    }
    tileMap.animRecords = records;
    tileMap.animRecordsEnd = records + count;
    return true;
}

}  // namespace

void decodeAnimations(const uint8_t* chunk)
{
    if (!requireHeader()) {
        return;
    }
    const uint32_t length = chunkDataLength(chunk);
    const uint8_t* data = chunk + kChunkHeaderSize;

    // No count is stored: the end record is found by stepping back from the
    // end of the data, and it must lie inside the chunk.
    int64_t endRecordOffset = int64_t{length} - kAnimRecordSize;
    while (endRecordOffset >= 0 && data[endRecordOffset] != kEndRecordMark) {
        endRecordOffset -= kAnimRecordSize;
    }
    if (endRecordOffset < 0 || endRecordOffset % kFrameEntrySize != 0) {
        tileMap.loadError = kLoadBadData;
        return;
    }
    const auto recordCount = static_cast<int32_t>((length - endRecordOffset) / kAnimRecordSize);
    const auto frameCount = static_cast<int32_t>(endRecordOffset / kFrameEntrySize);

    // A second ANDT replaces the first.
    std::free(tileMap.animFrames);
    tileMap.animFrames = nullptr;
    tileMap.animFrameCount = 0;
    std::free(tileMap.animRecords);
    tileMap.animRecords = nullptr;
    tileMap.animRecordsEnd = nullptr;

    if (!readFrames(data, frameCount)) {
        return;
    }
    if (!readRecords(data, length, static_cast<uint32_t>(endRecordOffset), recordCount)) {
        return;
    }
    resetAnimations();
}

void resetAnimations()
{
    if (!tileMap.animRecords) {
        return;
    }
    for (AnimRecord* anim = tileMap.animRecordsEnd - 1; anim >= tileMap.animRecords; --anim) {
        if (anim->type == kTypeEnd) {
            break;
        }
        if (anim->type == kTypeOnceForwardPingPong) {
            anim->type = kTypePingPongForward;
        } else if (anim->type == kTypeOnceBackward) {
            anim->type = kTypePingPongBackward;
        } else if (anim->type == kTypeLoopOnce) {
            anim->type = kTypeLoopForward;
        }
        const bool startsAtEnd = anim->type == kTypeBackward || anim->type == kTypePingPongBackward;
        if (startsAtEnd && anim->firstFrame != anim->endFrame && anim->endFrame != INT32_MIN) {
            anim->currentFrame = anim->endFrame - 1;
        } else {
            anim->currentFrame = anim->firstFrame;
        }
    }
}
