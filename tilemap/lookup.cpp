#include "tilemap/lookup.h"

#include "tilemap/tilemap.h"
#include "tilemap/view_cells.h"

namespace {

// What a position with nothing behind it shows: no ways out, so the cart
// treats it as a wall, and the map's first graphic as background so a
// drawer never meets a null bitmap when the map has graphics at all.
BlockRecord outsideBlock;

BlockRecord* blockWithoutWays()
{
    outsideBlock = BlockRecord{};
    outsideBlock.backGraphic.bitmap = tileMap.tileBitmaps ? tileMap.tileBitmaps[0] : nullptr;
    return &outsideBlock;
}

}  // namespace

BlockRecord* resolveCell(int16_t cell)
{
    if (!tileMap.blockRecords) {
        return nullptr;
    }
    int32_t block = cell;
    if (cell < 0) {
        // Animations are counted back from the end of the records; the
        // first record is the end marker, which no cell may name.
        if (!tileMap.animRecords || !tileMap.animFrames) {
            return nullptr;
        }
        const long recordCount = tileMap.animRecordsEnd - tileMap.animRecords;
        if (-static_cast<long>(cell) >= recordCount) {
            return nullptr;
        }
        const AnimRecord& anim = tileMap.animRecordsEnd[cell];
        if (anim.currentFrame < 0 || anim.currentFrame >= tileMap.animFrameCount) {
            return nullptr;
        }
        block = tileMap.animFrames[anim.currentFrame];
    }
    if (block < 0 || block >= tileMap.blockRecordCount) {
        return nullptr;
    }
    return &tileMap.blockRecords[block];
}

int selectLayer(int layer)
{
    if (layer < 0 || layer >= kLayerCount || !tileMap.layers[layer]) {
        return -1;
    }
    tileMap.currentLayer = tileMap.layers[layer];
    return layer;
}

BlockRecord* getBlockAt(int column, int row)
{
    if (!tileMap.currentLayer || column < 0 || row < 0 || column >= tileMap.mapWidth ||
        row >= tileMap.mapHeight) {
        return blockWithoutWays();
    }
    const int16_t cell = tileMap.currentLayer[column + row * tileMap.mapWidth];
    BlockRecord* record = resolveCell(cell);
    return record ? record : blockWithoutWays();
}
