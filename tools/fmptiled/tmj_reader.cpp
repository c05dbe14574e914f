// Reading TMJ maps and TSJ tilesets through nlohmann-json.
#include "tools/fmptiled/tiled_common.h"
#include "tools/fmptiled/tiled_map.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <limits>

namespace tiled {
namespace {

using Json = nlohmann::json;

Json parse(const std::string& file, const std::string& text)
{
    Json json = Json::parse(text, nullptr, false);
    if (json.is_discarded() || !json.is_object()) {
        throw Refusal(file + ": not a readable JSON object");
    }
    return json;
}

// Every whole number of the file is read through here: a JSON number becomes
// one only when it is whole and fits (converting 1e61 to an int is
// undefined), anything else is refused by name.
template <typename T>
T wholeNumber(const Json& value, const std::string& what)
{
    if (value.is_number()) {
        const double number = value.get<double>();
        if (number == std::trunc(number) && number >= static_cast<double>(std::numeric_limits<T>::min()) &&
            number <= static_cast<double>(std::numeric_limits<T>::max())) {
            return static_cast<T>(number);
        }
    }
    throw Refusal(what + " is not a whole number the map can hold: " + value.dump());
}

// The owner's field `key`, or `absent` when it has none.
template <typename T>
T wholeNumberAt(const Json& owner, const char* key, T absent, const std::string& where)
{
    return owner.contains(key) ? wholeNumber<T>(owner.at(key), where + ": \"" + key + "\"") : absent;
}

std::string textOf(const Json& value)
{
    if (value.is_string()) return value.get<std::string>();
    if (value.is_boolean()) return value.get<bool>() ? "true" : "false";
    return value.dump();
}

Properties propertiesOf(const Json& owner)
{
    Properties properties;
    for (const Json& p : owner.value("properties", Json::array())) {
        properties[p.at("name").get<std::string>()] = textOf(p.value("value", Json("")));
    }
    return properties;
}

void readTileset(Tileset& set, const Json& node, const std::string& file)
{
    set.file = file;
    set.name = node.value("name", "");
    const std::string where = file + ": tileset \"" + set.name + "\"";
    set.tileWidth = wholeNumberAt(node, "tilewidth", 0, where);
    set.tileHeight = wholeNumberAt(node, "tileheight", 0, where);
    set.margin = wholeNumberAt(node, "margin", 0, where);
    set.spacing = wholeNumberAt(node, "spacing", 0, where);
    set.columns = wholeNumberAt(node, "columns", 0, where);
    set.tileCount = wholeNumberAt(node, "tilecount", 0, where);
    if (node.contains("image")) {
        set.image = resolvePath(file, node.at("image").get<std::string>());
    }
    if (node.contains("transparentcolor")) {
        setTransparentColour(set, node.at("transparentcolor").get<std::string>());
    }
    for (const Json& t : node.value("tiles", Json::array())) {
        Tile& tile = set.tiles[wholeNumber<int>(t.at("id"), where + ": a tile's \"id\"")];
        tile.properties = propertiesOf(t);
        if (t.contains("image")) {
            tile.image = resolvePath(file, t.at("image").get<std::string>());
        }
        for (const Json& f : t.value("animation", Json::array())) {
            tile.animation.push_back(Frame{wholeNumber<int>(f.at("tileid"), where + ": a frame's \"tileid\""),
                                           wholeNumber<int>(f.at("duration"), where + ": a frame's \"duration\"")});
        }
    }
}

void readLayer(Map& map, const Json& node)
{
    TileLayer layer;
    layer.name = node.value("name", "");
    layer.visible = node.value("visible", true);
    const std::string where = map.file + ": layer \"" + layer.name + "\"";
    if (node.contains("chunks")) {
        throw Refusal(where + ": an infinite map's chunks; FMP maps are finite");
    }
    const std::size_t cells = cellCount(map);
    const Json& data = node.at("data");
    std::vector<uint32_t> ids;
    if (data.is_string()) {
        ids = decodeLayerData(where, node.value("encoding", "base64"), node.value("compression", ""),
                              data.get<std::string>(), cells);
    } else {
        for (const Json& id : data) {
            ids.push_back(wholeNumber<uint32_t>(id, where + ": cell " + std::to_string(ids.size())));
        }
        if (ids.size() != cells) {
            throw Refusal(where + ": the layer data holds " + std::to_string(ids.size()) + " cells, the layer " +
                          std::to_string(cells));
        }
    }
    for (std::size_t i = 0; i < ids.size(); ++i) {
        ids[i] = plainGid(ids[i], where, i, map.width);
    }
    layer.gids = std::move(ids);
    map.layers.push_back(std::move(layer));
}

void readLayers(Map& map, const Json& list)
{
    for (const Json& node : list) {
        const std::string type = node.value("type", "");
        if (type == "tilelayer") {
            readLayer(map, node);
        } else if (type == "objectgroup") {
            for (const Json& o : node.value("objects", Json::array())) {
                std::string kind = o.value("name", "");
                if (kind.empty()) kind = o.value("type", o.value("class", ""));
                map.points.push_back(Point{kind, o.value("x", 0.0), o.value("y", 0.0)});
            }
        } else if (type == "group") {
            readLayers(map, node.value("layers", Json::array()));
        }
    }
}

}  // namespace

Map readTmj(const std::string& path, const std::string& text)
{
    const Json root = parse(path, text);
    try {
        Map map;
        map.file = path;
        map.width = wholeNumberAt(root, "width", 0, path);
        map.height = wholeNumberAt(root, "height", 0, path);
        map.tileWidth = wholeNumberAt(root, "tilewidth", 0, path);
        map.tileHeight = wholeNumberAt(root, "tileheight", 0, path);
        checkGrid(map, root.value("orientation", "orthogonal"), root.value("infinite", false));
        map.properties = propertiesOf(root);
        for (const Json& node : root.value("tilesets", Json::array())) {
            Tileset set;
            if (node.contains("source")) {
                set = readExternalTileset(resolvePath(path, node.at("source").get<std::string>()));
            } else {
                readTileset(set, node, path);
            }
            set.firstGid = node.contains("firstgid")
                               ? wholeNumber<uint32_t>(node.at("firstgid"), path + ": a tileset's \"firstgid\"")
                               : 0u;
            map.tilesets.push_back(std::move(set));
        }
        readLayers(map, root.value("layers", Json::array()));
        checkMap(map);
        return map;
    } catch (const Json::exception& e) {
        throw Refusal(path + ": a value of the wrong kind (" + e.what() + ")");
    }
}

Tileset readTsj(const std::string& path, const std::string& text)
{
    const Json root = parse(path, text);
    try {
        Tileset set;
        readTileset(set, root, path);
        return set;
    } catch (const Json::exception& e) {
        throw Refusal(path + ": a value of the wrong kind (" + e.what() + ")");
    }
}

}  // namespace tiled
