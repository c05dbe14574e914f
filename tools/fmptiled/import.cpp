#include "tools/fmptiled/import.h"

#include "base/counters.h"
#include "base/png_file.h"
#include "tools/fmptiled/property_names.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <map>
#include <optional>
#include <tuple>

namespace tiled {
namespace {

constexpr int kDrawnLayers = 2;        // layers 0 and 1 are drawn
constexpr int kShownTiledLayers = 4;   // two graphics each
constexpr int kMostEntries = 32767;    // graphics, blocks, animations: 16-bit counts
constexpr int kMaxDomes = 5;
constexpr uint8_t kOpaqueFrom = 128;   // alpha at which a pixel counts as drawn
constexpr int kAnimationTypeLoop = 1;
constexpr int kMaxDelay = 127;
constexpr int kDefaultEncoding = 3;    // runs with back-copies: the smallest files
constexpr int kRgbaBytes = 4;

using Picture = std::vector<uint32_t>;

struct TileRef {
    int set = -1;
    int local = -1;
    bool operator<(const TileRef& o) const { return std::tie(set, local) < std::tie(o.set, o.local); }
    bool operator==(const TileRef& o) const { return set == o.set && local == o.local; }
};
using OptionalTile = std::optional<TileRef>;

// A block or animation is made once per lower tile, upper tile and the
// exits added to it from the cell.
using Key = std::tuple<OptionalTile, OptionalTile, uint8_t>;

class Builder {
public:
    Builder(const Map& map, int depth) : map_(map)
    {
        out_.width = map.width;
        out_.height = map.height;
        out_.blockSize = map.tileWidth;
        out_.blockHeight = map.tileHeight;
        out_.depth = depth;
        out_.stepX = intProperty(map.properties, kStepXProperty, map.file, 0);
        out_.stepY = intProperty(map.properties, kStepYProperty, map.file, 0);
        out_.encodingType = intProperty(map.properties, kEncodingProperty, map.file, kDefaultEncoding);
        out_.littleEndian = map.properties.count(kLittleEndianProperty) &&
                            map.properties.at(kLittleEndianProperty) == "true";
        // Graphic 0 is the empty one: a foreground of 0 means none.
        graphicOf(Picture(static_cast<std::size_t>(map.tileWidth) * map.tileHeight, fmp::kTransparent));
    }

    fmp::Map build()
    {
        makeBlockTilesInOrder();
        std::vector<const TileLayer*> drawn, kept;
        for (const TileLayer& layer : map_.layers) {
            (layer.visible && drawn.size() < kShownTiledLayers ? drawn : kept).push_back(&layer);
        }
        std::vector<std::vector<int32_t>> layers;
        const bool paired = drawn.size() > kDrawnLayers;
        for (int n = 0; n < kDrawnLayers; ++n) {
            const std::size_t lower = paired ? 2 * n : n;
            if (lower < drawn.size()) {
                const TileLayer* upper = paired && lower + 1 < drawn.size() ? drawn[lower + 1] : nullptr;
                layers.push_back(cells(*drawn[lower], upper, drawn));
            }
        }
        for (const TileLayer* layer : kept) {
            layers.push_back(cells(*layer, nullptr, {}));
        }
        finish(layers);
        return out_;
    }

private:
    [[noreturn]] void refuse(const std::string& why) const { throw Refusal(map_.file + ": " + why); }

    static int intProperty(const Properties& properties, const char* name, const std::string& where, int fallback)
    {
        const auto found = properties.find(name);
        if (found == properties.end()) {
            return fallback;
        }
        char* end = nullptr;
        const long value = std::strtol(found->second.c_str(), &end, 10);
        if (end == found->second.c_str() || *end != '\0' || value < INT32_MIN || value > INT32_MAX) {
            throw Refusal(where + ": property \"" + name + "\" is not a whole number");
        }
        return static_cast<int>(value);
    }

    const Tileset& setOf(const TileRef& tile) const { return map_.tilesets[static_cast<std::size_t>(tile.set)]; }

    std::string tileName(const TileRef& tile) const
    {
        return "tileset \"" + setOf(tile).name + "\" tile " + std::to_string(tile.local);
    }

    const Tile* tileData(const TileRef& tile) const
    {
        const auto& tiles = setOf(tile).tiles;
        const auto found = tiles.find(tile.local);
        return found == tiles.end() ? nullptr : &found->second;
    }

    bool animated(const TileRef& tile) const
    {
        const Tile* data = tileData(tile);
        return data && !data->animation.empty();
    }

    int tileCountOf(int set)
    {
        const Tileset& tileset = map_.tilesets[static_cast<std::size_t>(set)];
        if (tileset.image.empty()) {
            return tileset.tiles.empty() ? 0 : tileset.tiles.rbegin()->first + 1;
        }
        const Sheet& sheet = sheetOf(set);
        const int stepX = tileset.tileWidth + tileset.spacing, stepY = tileset.tileHeight + tileset.spacing;
        const int columns = (sheet.width - 2 * tileset.margin + tileset.spacing) / stepX;
        const int rows = (sheet.height - 2 * tileset.margin + tileset.spacing) / stepY;
        return std::max(0, columns) * std::max(0, rows);
    }

    // The tile a global id names, or none for 0.
    OptionalTile tileOfGid(uint32_t gid, const std::string& where, std::size_t cell)
    {
        if (gid == 0) {
            return std::nullopt;
        }
        int best = -1;
        for (std::size_t s = 0; s < map_.tilesets.size(); ++s) {
            if (map_.tilesets[s].firstGid <= gid &&
                (best < 0 || map_.tilesets[s].firstGid > map_.tilesets[static_cast<std::size_t>(best)].firstGid)) {
                best = static_cast<int>(s);
            }
        }
        const int local = best < 0 ? -1 : static_cast<int>(gid - map_.tilesets[static_cast<std::size_t>(best)].firstGid);
        if (best < 0 || local >= tileCountOf(best) || !hasPicture(TileRef{best, local})) {
            refuse(where + ": cell (" + std::to_string(cell % map_.width) + ", " + std::to_string(cell / map_.width) +
                   ") names tile id " + std::to_string(gid) + ", which no tileset holds");
        }
        return TileRef{best, local};
    }

    bool hasPicture(const TileRef& tile) const
    {
        if (!setOf(tile).image.empty()) {
            return true;
        }
        const Tile* data = tileData(tile);
        return data && !data->image.empty();
    }

    struct Sheet {
        int width = 0;
        int height = 0;
        std::vector<uint8_t> rgba;
    };

    const Sheet& loadSheet(const std::string& path, const std::string& owner)
    {
        auto found = sheets_.find(path);
        if (found != sheets_.end()) {
            return found->second;
        }
        Sheet sheet;
        std::string error;
        if (!readPngPixels(path, &sheet.width, &sheet.height, &sheet.rgba, &error)) {
            throw Refusal(owner + ": the picture " + path + " cannot be read (" + error + ")");
        }
        return sheets_.emplace(path, std::move(sheet)).first->second;
    }

    const Sheet& sheetOf(int set)
    {
        const Tileset& tileset = map_.tilesets[static_cast<std::size_t>(set)];
        return loadSheet(tileset.image, tileset.file + ": tileset \"" + tileset.name + "\"");
    }

    // The tile's pixels, the map's tile size; transparent where the
    // picture is, or shows the tileset's transparent colour or magenta.
    Picture pictureOf(const TileRef& tile)
    {
        const Tileset& set = setOf(tile);
        const int w = map_.tileWidth, h = map_.tileHeight;
        int left = 0, top = 0;
        const Sheet* sheet = nullptr;
        if (set.image.empty()) {
            sheet = &loadSheet(tileData(tile)->image, set.file + ": " + tileName(tile));
            if (sheet->width != w || sheet->height != h) {
                throw Refusal(set.file + ": " + tileName(tile) + " is " + std::to_string(sheet->width) + " x " +
                              std::to_string(sheet->height) + " pixels, the map's tiles " + std::to_string(w) +
                              " x " + std::to_string(h));
            }
        } else {
            sheet = &sheetOf(tile.set);
            const int columns = std::max(1, (sheet->width - 2 * set.margin + set.spacing) / (w + set.spacing));
            left = set.margin + tile.local % columns * (w + set.spacing);
            top = set.margin + tile.local / columns * (h + set.spacing);
        }
        Picture picture;
        picture.reserve(static_cast<std::size_t>(w) * h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const uint8_t* p = &sheet->rgba[kRgbaBytes * (static_cast<std::size_t>(top + y) * sheet->width + left + x)];
                const uint32_t rgb = uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
                const bool clear = p[3] < kOpaqueFrom || (set.hasTransparentColour && rgb == set.transparentColour);
                picture.push_back(clear ? fmp::kTransparent : rgb);
            }
        }
        return picture;
    }

    int32_t graphicOf(const Picture& picture)
    {
        const auto found = graphics_.find(picture);
        if (found != graphics_.end()) {
            return found->second;
        }
        if (out_.graphics.size() >= kMostEntries) {
            refuse("more than " + std::to_string(kMostEntries) + " graphics, more than FMP holds");
        }
        out_.graphics.push_back(picture);
        return graphics_[picture] = static_cast<int32_t>(out_.graphics.size() - 1);
    }

    // The picture of the tile a property names (by local id in the same
    // tileset), or of the tile itself.
    int32_t graphicNamed(const TileRef& tile, const char* property, bool own)
    {
        const Tile* data = tileData(tile);
        const std::string where = setOf(tile).file + ": " + tileName(tile);
        if (!data || !data->properties.count(property)) {
            return own ? graphicOf(pictureOf(tile)) : 0;
        }
        const TileRef named{tile.set, intProperty(data->properties, property, where, 0)};
        if (named.local < 0 || named.local >= tileCountOf(tile.set) || !hasPicture(named)) {
            throw Refusal(where + ": property \"" + property + "\" names no tile of the tileset");
        }
        return graphicOf(pictureOf(named));
    }

    // The block a tile stands for by itself.
    fmp::Block blockOf(const TileRef& tile)
    {
        fmp::Block block;
        block.back = graphicNamed(tile, kBackProperty, true);
        block.fore1 = graphicNamed(tile, kForeProperties[0], false);
        block.fore2 = graphicNamed(tile, kForeProperties[1], false);
        block.fore3 = graphicNamed(tile, kForeProperties[2], false);
        const Tile* data = tileData(tile);
        if (!data) {
            return block;
        }
        const std::string where = setOf(tile).file + ": " + tileName(tile);
        const auto user = [&](int i) {
            return static_cast<uint32_t>(std::strtoul(data->properties.count(kUserProperties[i])
                                                          ? data->properties.at(kUserProperties[i]).c_str()
                                                          : "0",
                                                      nullptr, 10));
        };
        block.user1 = user(0);
        block.user2 = user(1);
        block.user3 = static_cast<uint16_t>(user(2));
        block.user4 = static_cast<uint16_t>(user(3));
        block.user5 = static_cast<uint8_t>(user(4));
        block.user6 = static_cast<uint8_t>(user(5));
        block.user7 = static_cast<uint8_t>(user(6));
        block.flags = static_cast<uint8_t>(intProperty(data->properties, kOtherFlagsProperty, where, 0) & ~kExitBits);
        block.flags |= exitsOf(tile);
        return block;
    }

    // The exits a tile's properties name; an animated tile without any has
    // those of its first frame.
    uint8_t exitsOf(const TileRef& tile) const
    {
        const Tile* data = tileData(tile);
        const uint8_t own = ownExits(data);
        if (own == 0 && data && !data->animation.empty()) {
            return ownExits(tileData(TileRef{tile.set, data->animation.front().tileId}));
        }
        return own;
    }

    static uint8_t ownExits(const Tile* data)
    {
        uint8_t exits = 0;
        for (std::size_t bit = 0; data && bit < std::size(kExitProperties); ++bit) {
            const auto found = data->properties.find(kExitProperties[bit]);
            exits |= found != data->properties.end() && found->second == "true" ? 1 << bit : 0;
        }
        return exits;
    }

    int32_t blockFor(const OptionalTile& lower, const OptionalTile& upper, uint8_t exits)
    {
        const Key key{lower, upper, exits};
        const auto found = blocks_.find(key);
        if (found != blocks_.end()) {
            return found->second;
        }
        fmp::Block block;  // an empty cell shows the empty graphic
        if (lower) {
            block = blockOf(*lower);
        }
        if (upper) {
            block.fore1 = graphicNamed(*upper, kBackProperty, true);
        }
        block.flags |= exits;
        if (out_.blocks.size() >= kMostEntries) {
            refuse("more than " + std::to_string(kMostEntries) + " blocks, more than FMP holds");
        }
        out_.blocks.push_back(block);
        return blocks_[key] = static_cast<int32_t>(out_.blocks.size() - 1);
    }

    // Animations are kept as -1 - index until the count is known.
    int32_t animationFor(const TileRef& moving, bool movingIsUpper, const OptionalTile& other, uint8_t exits)
    {
        const Key key{movingIsUpper ? other : OptionalTile(moving), movingIsUpper ? OptionalTile(moving) : other,
                      exits};
        const auto found = animations_.find(key);
        if (found != animations_.end()) {
            return found->second;
        }
        const Tile& data = *tileData(moving);
        const std::string where = setOf(moving).file + ": " + tileName(moving);
        fmp::Animation animation;
        animation.type = static_cast<int8_t>(intProperty(data.properties, kAnimationKindProperty, where,
                                                         kAnimationTypeLoop));
        const int fromDuration = static_cast<int>(std::lround(data.animation.front().durationMs /
                                                              static_cast<double>(kTickPeriodMs))) - 1;
        animation.delay = static_cast<int8_t>(std::clamp(
            intProperty(data.properties, kAnimationDelayProperty, where, fromDuration), 0, kMaxDelay));
        animation.counter = intProperty(data.properties, kAnimationCounterProperty, where, -1);
        animation.userByte = static_cast<int8_t>(intProperty(data.properties, kAnimationUserProperty, where, 0));
        std::vector<Frame> frames = data.animation;
        if (playsBackward(animation.type)) {
            std::reverse(frames.begin(), frames.end());
        }
        for (const Frame& frame : frames) {
            const TileRef shown{moving.set, frame.tileId};
            if (frame.tileId < 0 || frame.tileId >= tileCountOf(moving.set) || !hasPicture(shown)) {
                throw Refusal(where + ": an animation frame names no tile of the tileset");
            }
            animation.frames.push_back(movingIsUpper ? blockFor(other, shown, exits) : blockFor(shown, other, exits));
        }
        if (out_.animations.size() >= kMostEntries) {
            refuse("more than " + std::to_string(kMostEntries) + " animations, more than FMP holds");
        }
        out_.animations.push_back(animation);
        return animations_[key] = -static_cast<int32_t>(out_.animations.size());
    }

    int32_t cellFor(const OptionalTile& lower, const OptionalTile& upper, uint8_t exits, const std::string& where,
                    std::size_t cell)
    {
        const bool lowerMoves = lower && animated(*lower), upperMoves = upper && animated(*upper);
        if (lowerMoves && upperMoves) {
            refuse(where + ": cell (" + std::to_string(cell % map_.width) + ", " +
                   std::to_string(cell / map_.width) + ") has animated tiles in both layers of a pair");
        }
        if (lowerMoves) {
            return animationFor(*lower, false, upper, exits);
        }
        if (upperMoves) {
            return animationFor(*upper, true, lower, exits);
        }
        return blockFor(lower, upper, exits);
    }

    std::vector<int32_t> cells(const TileLayer& layer, const TileLayer* upper, const std::vector<const TileLayer*>& drawn)
    {
        const std::string where = "layer \"" + layer.name + "\"";
        std::vector<int32_t> values;
        for (std::size_t i = 0; i < layer.gids.size(); ++i) {
            const OptionalTile low = tileOfGid(layer.gids[i], where, i);
            const OptionalTile high = upper ? tileOfGid(upper->gids[i], "layer \"" + upper->name + "\"", i)
                                            : std::nullopt;
            uint8_t exits = 0;
            for (const TileLayer* shown : drawn) {
                const OptionalTile tile = tileOfGid(shown->gids[i], "layer \"" + shown->name + "\"", i);
                exits |= tile ? exitsOf(*tile) : 0;
            }
            // Exits the lower tile has of its own do not make a new block.
            exits &= static_cast<uint8_t>(~(low ? exitsOf(*low) : 0));
            values.push_back(cellFor(low, high, exits, where, i));
        }
        return values;
    }

    // Blocks made by the exporter (tiles naming their background) keep the
    // order of their tiles, so that a map comes back numbered as it went.
    void makeBlockTilesInOrder()
    {
        for (std::size_t s = 0; s < map_.tilesets.size(); ++s) {
            for (const auto& [local, tile] : map_.tilesets[s].tiles) {
                if (tile.properties.count(kBackProperty) && tile.animation.empty()) {
                    blockFor(TileRef{static_cast<int>(s), local}, std::nullopt, 0);
                }
            }
        }
        for (std::size_t s = 0; s < map_.tilesets.size(); ++s) {
            for (const auto& [local, tile] : map_.tilesets[s].tiles) {
                if (tile.properties.count(kAnimationKindProperty) && !tile.animation.empty()) {
                    animationFor(TileRef{static_cast<int>(s), local}, false, std::nullopt, 0);
                }
            }
        }
    }

    void finish(const std::vector<std::vector<int32_t>>& layers)
    {
        const int32_t animationCount = static_cast<int32_t>(out_.animations.size());
        for (const auto& values : layers) {
            std::vector<fmp::Cell> row;
            row.reserve(values.size());
            for (int32_t v : values) {
                // Cells name animations counted back from the last.
                row.push_back(static_cast<fmp::Cell>(v < 0 ? -(animationCount + 1 + v) : v));
            }
            out_.layers.push_back(std::move(row));
        }
        placePoints();
    }

    fmp::CellXY cellOf(const Point& point) const
    {
        // Compared before the conversion: a point far outside would not fit an int.
        const double column = std::floor(point.x / map_.tileWidth);
        const double row = std::floor(point.y / map_.tileHeight);
        if (!(column >= 0 && column < map_.width && row >= 0 && row < map_.height)) {
            refuse("the \"" + point.kind + "\" point at (" + std::to_string(point.x) + ", " + std::to_string(point.y) +
                   ") lies outside the map");
        }
        return {static_cast<int>(column), static_cast<int>(row)};
    }

    void placePoints()
    {
        int starts = 0;
        for (const Point& point : map_.points) {
            if (point.kind == kStartPoint) {
                out_.places.start = cellOf(point);
                ++starts;
            } else if (point.kind == kDomePoint) {
                out_.places.domes.push_back(cellOf(point));
            }
        }
        const std::size_t domes = out_.places.domes.size();
        if (starts == 0 && domes == 0) {
            return;  // the game places by file name
        }
        if (starts != 1 || domes < 1 || domes > kMaxDomes) {
            refuse("the places need one \"start\" point and one to five \"dome\" points; the map has " +
                   std::to_string(starts) + " and " + std::to_string(domes));
        }
        out_.hasPlaces = true;
    }

    const Map& map_;
    fmp::Map out_;
    std::map<Picture, int32_t> graphics_;
    std::map<Key, int32_t> blocks_;
    std::map<Key, int32_t> animations_;
    std::map<std::string, Sheet> sheets_;
};

}  // namespace

fmp::Map buildFmpMap(const Map& map, int depth)
{
    return Builder(map, depth).build();
}

}  // namespace tiled
