// The part of a Tiled map that becomes an FMP map, read from TMX or TMJ:
// the grid, tilesets (one picture or a collection), tile layers as global
// tile ids, and the point objects. Readers throw Refusal for what the FMP
// format cannot hold; the message names the file and the layer, tileset,
// cell or tile concerned.
#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace tiled {

struct Refusal : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Custom properties by name, their values as text ("true"/"false" for bools).
using Properties = std::map<std::string, std::string>;

struct Frame {
    int tileId = 0;
    int durationMs = 0;
};

struct Tile {
    std::string image;  // a collection's own picture, resolved path
    Properties properties;
    std::vector<Frame> animation;
};

struct Tileset {
    std::string file;  // where it was read from (the map, or its .tsx/.tsj)
    std::string name;
    uint32_t firstGid = 1;
    int tileWidth = 0;
    int tileHeight = 0;
    int margin = 0;
    int spacing = 0;
    int columns = 0;
    int tileCount = 0;
    std::string image;  // resolved path; empty for a collection
    bool hasTransparentColour = false;
    uint32_t transparentColour = 0;  // 0xRRGGBB
    std::map<int, Tile> tiles;       // by local id, only those with something to say
};

struct TileLayer {
    std::string name;
    bool visible = true;
    std::vector<uint32_t> gids;  // row by row, flags cleared
};

struct Point {
    std::string kind;  // the object's name, or its type when it has no name
    double x = 0;
    double y = 0;
};

struct Map {
    std::string file;
    int width = 0;
    int height = 0;
    int tileWidth = 0;
    int tileHeight = 0;
    Properties properties;
    std::vector<Tileset> tilesets;
    std::vector<TileLayer> layers;
    std::vector<Point> points;
};

// The flags Tiled keeps in the top bits of a global tile id.
constexpr uint32_t kFlipHorizontal = 0x80000000u;
constexpr uint32_t kFlipVertical = 0x40000000u;
constexpr uint32_t kFlipDiagonal = 0x20000000u;
constexpr uint32_t kRotateHex = 0x10000000u;
constexpr int kMaxLayers = 8;

// The folder part of a path ("" or ending in '/'), to resolve relative names.
std::string folderOf(const std::string& path);

// Reads a map by its extension (.tmx or .tmj); throws Refusal.
Map readMap(const std::string& path);
Map readTmx(const std::string& path, const std::string& text);
Map readTmj(const std::string& path, const std::string& text);
// Parsed from memory, for the fuzz target: a TMX when the text starts with
// '<', else a TMJ; external tilesets are looked for beside `path`.
Map readMapText(const std::string& path, const std::string& text);

// Checks the grid and the cell ids once a reader is done: the cells name
// tiles of the tilesets, unflipped, the tile sizes are the map's, at most
// eight tile layers.
void checkMap(const Map& map);

// Layer data: "csv", or "base64" with "", "zlib", "gzip" or "zstd"; cells
// are taken row by row and their flags refused by name. `where` names the
// layer for messages.
std::vector<uint32_t> decodeLayerData(const std::string& where, const std::string& encoding,
                                      const std::string& compression, const std::string& text, std::size_t cells);
// Clears the hexagonal bit and refuses flips and rotations.
uint32_t plainGid(uint32_t gid, const std::string& where, std::size_t cell, int width);

}  // namespace tiled
