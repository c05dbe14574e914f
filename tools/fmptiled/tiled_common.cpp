#include "tools/fmptiled/tiled_common.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tiled {
namespace {

// The FMP header keeps sizes in 16 bits; the cell count is kept to what a
// layer of the game can sensibly hold in memory.
constexpr int kMaxSide = 32767;
constexpr std::size_t kMaxCells = std::size_t{1} << 22;
constexpr std::size_t kRgbDigits = 6;

}  // namespace

bool endsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

std::string resolvePath(const std::string& file, const std::string& name)
{
    return !name.empty() && name[0] == '/' ? name : folderOf(file) + name;
}

std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) {
        throw Refusal(path + ": cannot be read");
    }
    return text.str();
}

void checkGrid(const Map& map, const std::string& orientation, bool infinite)
{
    if (orientation != "orthogonal") {
        throw Refusal(map.file + ": an " + orientation + " map; FMP maps are orthogonal");
    }
    if (infinite) {
        throw Refusal(map.file + ": an infinite map; FMP maps are finite");
    }
    const bool sidesUsable = map.width > 0 && map.height > 0 && map.width <= kMaxSide && map.height <= kMaxSide;
    if (!sidesUsable || cellCount(map) > kMaxCells) {
        throw Refusal(map.file + ": a map of " + std::to_string(map.width) + " x " + std::to_string(map.height) +
                      " cells, more or less than FMP holds");
    }
    if (map.tileWidth <= 0 || map.tileHeight <= 0 || map.tileWidth > kMaxSide || map.tileHeight > kMaxSide) {
        throw Refusal(map.file + ": tiles of " + std::to_string(map.tileWidth) + " x " +
                      std::to_string(map.tileHeight) + " pixels");
    }
}

std::size_t cellCount(const Map& map)
{
    return static_cast<std::size_t>(map.width) * static_cast<std::size_t>(map.height);
}

void setTransparentColour(Tileset& set, const std::string& text)
{
    std::string digits = text[0] == '#' ? text.substr(1) : text;
    if (digits.size() > kRgbDigits) {
        digits = digits.substr(digits.size() - kRgbDigits);  // the alpha is left out
    }
    set.hasTransparentColour = true;
    set.transparentColour = static_cast<uint32_t>(std::strtoul(digits.c_str(), nullptr, 16));
}

Tileset readExternalTileset(const std::string& path)
{
    const std::string text = readText(path);
    return endsWith(path, ".tsx") ? readTsx(path, text) : readTsj(path, text);
}

void checkMap(const Map& map)
{
    if (map.layers.empty()) {
        throw Refusal(map.file + ": no tile layer");
    }
    if (map.layers.size() > static_cast<std::size_t>(kMaxLayers)) {
        throw Refusal(map.file + ": layer \"" + map.layers[kMaxLayers].name + "\" is layer " +
                      std::to_string(kMaxLayers + 1) + "; FMP maps hold at most 8");
    }
    for (const Tileset& set : map.tilesets) {
        const bool collection = set.image.empty();
        if (!collection && (set.tileWidth != map.tileWidth || set.tileHeight != map.tileHeight)) {
            throw Refusal(set.file + ": tileset \"" + set.name + "\" has tiles of " + std::to_string(set.tileWidth) +
                          " x " + std::to_string(set.tileHeight) + " pixels, the map " +
                          std::to_string(map.tileWidth) + " x " + std::to_string(map.tileHeight));
        }
        if (set.firstGid == 0) {
            throw Refusal(set.file + ": tileset \"" + set.name + "\" has no first id");
        }
    }
}

Map readMap(const std::string& path)
{
    return readMapText(path, readText(path));
}

Map readMapText(const std::string& path, const std::string& text)
{
    const std::size_t start = text.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
    return start != std::string::npos && text[start] == '<' ? readTmx(path, text) : readTmj(path, text);
}

}  // namespace tiled
