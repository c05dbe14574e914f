// Writes tile maps in the FMP container: the map header, palette, block
// records, animations, graphics and layers, in any of the four reference
// encodings and either byte order, and the game's places chunk. The picture
// data comes in as packed 0xRRGGBB pixels; magenta (0xFF00FF) stays the
// transparent colour.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fmp {

constexpr uint32_t kTransparent = 0xFF00FF;

struct Block {
    int32_t back = 0;   // graphic numbers; a foreground of 0 means none
    int32_t fore1 = 0;
    int32_t fore2 = 0;
    int32_t fore3 = 0;
    uint8_t flags = 0;
    uint32_t user1 = 0;
    uint32_t user2 = 0;
    uint16_t user3 = 0;
    uint16_t user4 = 0;
    uint8_t user5 = 0;
    uint8_t user6 = 0;
    uint8_t user7 = 0;
};

struct Animation {
    int8_t type = 1;
    int8_t delay = 8;
    int counter = -1;             // where the delay count starts; -1: full (the delay)
    int8_t userByte = 0;
    std::vector<int32_t> frames;  // block numbers, in order
};

// The cart's start cell and one to five dome cells (chunk PLCS).
struct CellXY {
    int x = 0;
    int y = 0;
};
struct Places {
    CellXY start;
    std::vector<CellXY> domes;
};

// One layer cell: a block number (0 or more), or an animation, -1 naming
// the last animation of Map::animations, -2 the one before it.
using Cell = int16_t;

struct Map {
    int width = 0;
    int height = 0;
    int blockSize = 32;       // block width, and height unless blockHeight says
    int blockHeight = 0;      // 0: square blocks
    int stepX = 0;            // grid steps; 0: the block's size
    int stepY = 0;
    int depth = 16;           // bits per pixel of the graphics: 8, 15, 16, 24 or 32
    bool littleEndian = false;
    int encodingType = 3;     // 0 byte offsets, 1 indices, 2 runs, 3 runs with back-copies
    std::vector<std::vector<uint32_t>> graphics;  // block width x height pixels each
    std::vector<Block> blocks;
    std::vector<Animation> animations;
    std::vector<std::vector<Cell>> layers;        // layer 0 first, width x height cells each
    bool hasPlaces = false;   // without, no places chunk is written
    Places places;
};

// The whole file as bytes; empty with a reason in `error` when the map
// cannot be stored (too many colours for 8 bits, a bad reference...).
std::vector<uint8_t> encode(const Map& map, std::string* error);

// Writes the bytes plain, or in the library's packed-file format.
bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes, bool packed);

}  // namespace fmp
