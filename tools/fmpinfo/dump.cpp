#include "tools/fmpinfo/map_report.h"

#include "base/fnv_hash.h"
#include "tilemap/loader.h"
#include "tilemap/tilemap.h"

#include <allegro.h>

#include <cstdint>
#include <string>

namespace {

// A foreground's graphic number, or "-" when the block has none.
std::string foreground(const GraphicRef& ref)
{
    return ref.bitmap ? std::to_string(ref.index) : "-";
}

void dumpHeader(std::FILE* out)
{
    const TileMap& m = tileMap;
    std::fprintf(out,
                 "header mapWidth %d mapHeight %d blockWidth %d blockHeight %d blockDepth %d blockRecordSize %d "
                 "blockRecordCount %d graphicCount %d blockStepX %d blockStepY %d staggerX %d staggerY %d "
                 "encodingType %d littleEndian %d\n",
                 m.mapWidth, m.mapHeight, m.blockWidth, m.blockHeight, m.blockDepth, m.blockRecordSize,
                 m.blockRecordCount, m.graphicCount, m.blockStepX, m.blockStepY, m.staggerX, m.staggerY,
                 m.encodingType, m.littleEndian);
}

void dumpBlocks(std::FILE* out)
{
    for (int i = 0; i < tileMap.blockRecordCount; ++i) {
        const BlockRecord& b = tileMap.blockRecords[i];
        std::fprintf(out, "block %d back %d fore1 %s fore2 %s fore3 %s user %u %u %u %u %u %u %u flags 0x%02x\n", i,
                     b.backGraphic.index, foreground(b.foreGraphic1).c_str(), foreground(b.foreGraphic2).c_str(),
                     foreground(b.foreGraphic3).c_str(), b.userField1, b.userField2, unsigned{b.userField3},
                     unsigned{b.userField4}, unsigned{b.userField5}, unsigned{b.userField6},
                     unsigned{b.userField7}, unsigned{b.flags});
    }
}

void dumpAnimations(std::FILE* out)
{
    if (!tileMap.animRecords) {
        return;  // the file had no ANDT chunk
    }
    std::fprintf(out, "frames");
    for (int32_t i = 0; i < tileMap.animFrameCount; ++i) {
        std::fprintf(out, " %d", tileMap.animFrames[i]);
    }
    std::fprintf(out, "\n");
    int index = 0;
    for (const AnimRecord* a = tileMap.animRecords; a < tileMap.animRecordsEnd; ++a, ++index) {
        std::fprintf(out, "anim %d type %d delay %d counter %d user %d current %d first %d end %d\n", index, a->type,
                     a->delay, a->counter, a->userByte, a->currentFrame, a->firstFrame, a->endFrame);
    }
}

void dumpLayers(std::FILE* out)
{
    for (int n = 0; n < kLayerCount; ++n) {
        const int16_t* cells = tileMap.layers[n];
        for (int y = 0; cells && y < tileMap.mapHeight; ++y) {
            std::fprintf(out, "layer %d %d", n, y);
            for (int x = 0; x < tileMap.mapWidth; ++x) {
                std::fprintf(out, " %d", cells[y * tileMap.mapWidth + x]);
            }
            std::fprintf(out, "\n");
        }
    }
}

void dumpPlaces(std::FILE* out)
{
    const MapPlaces& p = tileMap.places;
    if (!p.present) {
        return;
    }
    std::fprintf(out, "places start %d %d domes", p.start.x, p.start.y);
    for (int i = 0; i < p.domeCount; ++i) {
        std::fprintf(out, " %d %d", p.domes[i].x, p.domes[i].y);
    }
    std::fprintf(out, "\n");
}

uint32_t hashBitmap(BITMAP* bitmap)
{
    // Each pixel value as its four bytes, lowest first.
    FnvHash hash;
    for (int y = 0; y < bitmap->h; ++y) {
        for (int x = 0; x < bitmap->w; ++x) {
            hash.addInt(getpixel(bitmap, x, y));
        }
    }
    return hash.value();
}

void dumpGraphics(std::FILE* out)
{
    for (int i = 0; i < tileMap.graphicCount; ++i) {
        std::fprintf(out, "graphic %d %08x\n", i, hashBitmap(tileMap.tileBitmaps[i]));
    }
}

}  // namespace

int fmpinfoDump(const char* fileName, std::FILE* out)
{
    const int result = loadMap(fileName);
    std::fprintf(out, "result %d loadError %d\n", result, tileMap.loadError);
    if (result != 0) {
        return 1;
    }
    dumpHeader(out);
    dumpBlocks(out);
    dumpAnimations(out);
    dumpLayers(out);
    dumpPlaces(out);
    dumpGraphics(out);
    freeMap();
    return 0;
}
