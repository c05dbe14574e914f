#include "tilemap/decode.h"
#include "tilemap/tilemap.h"

#include <initializer_list>

namespace {

bool refuse(int32_t code)
{
    tileMap.loadError = code;
    return false;
}

bool namesBlock(int32_t block)
{
    return block >= 0 && block < tileMap.blockRecordCount && tileMap.blockRecords;
}

// Animations a cell may name: every record but the end record, which
// stands first.
int32_t nameableAnimations()
{
    return tileMap.animRecords ? static_cast<int32_t>(tileMap.animRecordsEnd - tileMap.animRecords) - 1 : 0;
}

bool graphicsComplete()
{
    if (tileMap.graphicCount == 0) {
        return true;
    }
    const int64_t needed = int64_t{tileMap.graphicCount} * graphicByteSize(tileMap.graphicsDepth);
    return tileMap.blockGraphics && static_cast<uint64_t>(needed) <= tileMap.graphicsSize;
}

bool namesGraphic(int32_t graphic)
{
    return graphic >= 0 && graphic < tileMap.graphicCount;
}

bool blockGraphicsExist()
{
    for (int i = 0; tileMap.blockRecords && i < tileMap.blockRecordCount; ++i) {
        const BlockRecord& block = tileMap.blockRecords[i];
        if (!namesGraphic(block.backGraphic.index)) {
            return false;
        }
        for (const GraphicRef* fore : {&block.foreGraphic1, &block.foreGraphic2, &block.foreGraphic3}) {
            if (fore->index != 0 && !namesGraphic(fore->index)) {
                return false;
            }
        }
    }
    return true;
}

bool framesExist()
{
    for (int32_t i = 0; i < tileMap.animFrameCount; ++i) {
        if (!namesBlock(tileMap.animFrames[i])) {
            return false;
        }
    }
    if (!tileMap.animRecords) {
        return true;
    }
    // Every animation must show a frame of the list and keep its span in it.
    for (const AnimRecord* anim = tileMap.animRecords + 1; anim < tileMap.animRecordsEnd; ++anim) {
        const bool spanInside = anim->firstFrame >= 0 && anim->firstFrame <= anim->endFrame
            && anim->endFrame <= tileMap.animFrameCount;
        const bool currentInside = anim->currentFrame >= 0 && anim->currentFrame < tileMap.animFrameCount;
        if (!spanInside || !currentInside) {
            return false;
        }
    }
    return true;
}

bool cellsExist()
{
    const int64_t cellCount = int64_t{tileMap.mapWidth} * tileMap.mapHeight;
    const int32_t animations = nameableAnimations();
    for (const int16_t* layer : tileMap.layers) {
        for (int64_t i = 0; layer && i < cellCount; ++i) {
            const int32_t cell = layer[i];
            const bool named = cell >= 0 ? namesBlock(cell) : -cell <= animations;
            if (!named) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

bool checkMapReferences()
{
    if (!loadProgress.headerSeen) {
        return refuse(kLoadBadReference);
    }
    const bool recordsMissing = tileMap.blockRecordCount > 0 && !tileMap.blockRecords;
    if (!graphicsComplete() || recordsMissing) {
        return refuse(kLoadBadData);
    }
    if (!blockGraphicsExist() || !framesExist() || !cellsExist()) {
        return refuse(kLoadBadReference);
    }
    return true;
}
