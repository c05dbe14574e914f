// Small valid FMP maps, one per way the format can be written: every
// encodingType, both byte orders, every graphics depth, animations, extra
// layers and the chunks a loader skips. The fuzz seeds are written from
// these, and the tests load each of them.
#pragma once

#include "tests/support/fmp_bytes.h"

#include <string>
#include <utility>
#include <vector>

namespace fmp {

// Indices, big-endian, 32-bit graphics, one plain layer.
inline std::string sampleIndexed()
{
    Header h;
    h.mapWidth = 3;
    h.mapHeight = 2;
    h.blockRecordCount = 2;
    h.graphicCount = 2;
    std::vector<Block> blocks(2);
    blocks[0].flags = 0x0C;
    blocks[1].back = 1;
    blocks[1].fore1 = 1;
    return form(mphd(h) + bkdt(blocks) + chunk("BGFX", patternGraphics(2, 2, 2, 32)) +
                layer(0, {0, 1, 0, 1, 1, 0}));
}

// Offsets, little-endian, 16-bit graphics, an animation and a second layer.
inline std::string sampleOffsets()
{
    Header h;
    h.littleEndian = true;
    h.encodingType = 0;
    h.blockDepth = 16;
    h.blockRecordCount = 3;
    h.graphicCount = 3;
    const int graphicBytes = 2 * 2 * 2;
    std::vector<Block> blocks(3);
    blocks[1].back = graphicBytes;
    blocks[2].back = 2 * graphicBytes;
    blocks[2].fore2 = graphicBytes;
    // Frames name records by byte offset; positions count back from the end.
    const std::vector<int64_t> frames{32, 64};
    const int dataLength = 2 * 4 + 2 * 16;
    Anim a;
    a.type = 2;
    a.first = 0 - dataLength;
    a.end = 8 - dataLength;
    return form(mphd(h) + bkdt(blocks, true) + andt(frames, {a}, true) +
                chunk("BGFX", patternGraphics(3, 2, 2, 16)) + layer(0, {0, 32, -16, 64}, true) +
                layer(1, {64, 64, 0, -16}, true));
}

// Runs (encodingType 2), 8-bit graphics with a palette, a 28-byte header,
// odd-length skipped chunks.
inline std::string sampleRuns()
{
    Header h;
    h.encodingType = 2;
    h.mapWidth = 5;
    h.blockDepth = 8;
    h.withSteps = false;
    std::vector<Block> blocks(1);
    std::string palette;
    for (int i = 0; i < 256; ++i) {
        palette += std::string{static_cast<char>(i), static_cast<char>(255 - i), static_cast<char>(i / 2)};
    }
    return form(chunk("ATHR", "odd") + mphd(h) + chunk("CMAP", palette) + bkdt(blocks) +
                chunk("NOVC", std::string(5, '\0')) + chunk("BGFX", patternGraphics(1, 2, 2, 8)) +
                layer(0, {3, 0, 0, 0, -2, 0, 0, -5, 0}));
}

// Back-copies (encodingType 3), 24-bit graphics, both kinds of overlap.
inline std::string sampleBackCopies()
{
    Header h;
    h.encodingType = 3;
    h.mapWidth = 4;
    h.mapHeight = 3;
    h.blockDepth = 24;
    h.blockRecordCount = 2;
    std::vector<Block> blocks(2);
    return form(mphd(h) + bkdt(blocks) + chunk("BGFX", patternGraphics(1, 2, 2, 24)) +
                layer(0, {2, 0, 1, -2, -2, -4, -4, 1, 1, -3, -1}));
}

// 15-bit BGFX beside an 8-bit AGFX, animations of several kinds, a padded
// record size.
inline std::string sampleAltGraphics()
{
    Header h;
    h.blockDepth = 15;
    h.blockRecordSize = 40;
    h.blockRecordCount = 2;
    h.graphicCount = 2;
    std::vector<Block> blocks(2);
    blocks[1].back = 1;
    Anim looped;
    looped.type = 9;
    looped.first = 0;
    looped.end = 2;
    Anim backward;
    backward.type = 7;
    backward.first = 1;
    backward.end = 3;
    std::string palette(6, '\x40');
    return form(mphd(h) + chunk("CMAP", palette) + bkdt(blocks, false, 40) + andt({0, 1, 1}, {looped, backward}) +
                chunk("AGFX", patternGraphics(2, 2, 2, 8)) + chunk("BGFX", patternGraphics(2, 2, 2, 15)) +
                layer(0, {0, -1, -2, 1}));
}

inline std::vector<std::pair<std::string, std::string>> sampleMaps()
{
    return {{"indexed.fmp", sampleIndexed()},
            {"offsets.fmp", sampleOffsets()},
            {"runs.fmp", sampleRuns()},
            {"backcopies.fmp", sampleBackCopies()},
            {"altgraphics.fmp", sampleAltGraphics()}};
}

}  // namespace fmp
