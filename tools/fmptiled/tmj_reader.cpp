// Reading TMJ maps and TSJ tilesets through nlohmann-json.
#include "tools/fmptiled/tiled_common.h"
#include "tools/fmptiled/tiled_map.h"

#include <nlohmann/json.hpp>

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
    set.tileWidth = node.value("tilewidth", 0);
    set.tileHeight = node.value("tileheight", 0);
    set.margin = node.value("margin", 0);
    set.spacing = node.value("spacing", 0);
    set.columns = node.value("columns", 0);
    set.tileCount = node.value("tilecount", 0);
    if (node.contains("image")) {
        set.image = resolvePath(file, node.at("image").get<std::string>());
    }
    if (node.contains("transparentcolor")) {
        setTransparentColour(set, node.at("transparentcolor").get<std::string>());
    }
    for (const Json& t : node.value("tiles", Json::array())) {
        Tile& tile = set.tiles[t.at("id").get<int>()];
        tile.properties = propertiesOf(t);
        if (t.contains("image")) {
            tile.image = resolvePath(file, t.at("image").get<std::string>());
        }
        for (const Json& f : t.value("animation", Json::array())) {
            tile.animation.push_back(Frame{f.at("tileid").get<int>(), f.at("duration").get<int>()});
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
            ids.push_back(id.get<uint32_t>());
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
        map.width = root.value("width", 0);
        map.height = root.value("height", 0);
        map.tileWidth = root.value("tilewidth", 0);
        map.tileHeight = root.value("tileheight", 0);
        checkGrid(map, root.value("orientation", "orthogonal"), root.value("infinite", false));
        map.properties = propertiesOf(root);
        for (const Json& node : root.value("tilesets", Json::array())) {
            Tileset set;
            if (node.contains("source")) {
                set = readExternalTileset(resolvePath(path, node.at("source").get<std::string>()));
            } else {
                readTileset(set, node, path);
            }
            set.firstGid = node.value("firstgid", 0u);
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
