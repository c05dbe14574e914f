// Reading TMX maps and TSX tilesets through pugixml.
#include "tools/fmptiled/tiled_map.h"
#include "tools/fmptiled/tiled_common.h"

#include <pugixml.hpp>

namespace tiled {
namespace {

Properties propertiesOf(const pugi::xml_node& owner)
{
    Properties properties;
    for (const pugi::xml_node& p : owner.child("properties").children("property")) {
        const pugi::xml_attribute value = p.attribute("value");
        properties[p.attribute("name").as_string()] = value ? value.as_string() : p.text().as_string();
    }
    return properties;
}

void readTileset(Tileset& set, const pugi::xml_node& node, const std::string& file)
{
    set.file = file;
    set.name = node.attribute("name").as_string();
    set.tileWidth = node.attribute("tilewidth").as_int();
    set.tileHeight = node.attribute("tileheight").as_int();
    set.margin = node.attribute("margin").as_int();
    set.spacing = node.attribute("spacing").as_int();
    set.columns = node.attribute("columns").as_int();
    set.tileCount = node.attribute("tilecount").as_int();
    const pugi::xml_node image = node.child("image");
    if (image) {
        set.image = resolvePath(file, image.attribute("source").as_string());
        if (image.attribute("trans")) {
            setTransparentColour(set, image.attribute("trans").as_string());
        }
    }
    for (const pugi::xml_node& t : node.children("tile")) {
        Tile& tile = set.tiles[t.attribute("id").as_int()];
        tile.properties = propertiesOf(t);
        if (const pugi::xml_node own = t.child("image")) {
            tile.image = resolvePath(file, own.attribute("source").as_string());
        }
        for (const pugi::xml_node& f : t.child("animation").children("frame")) {
            tile.animation.push_back(Frame{f.attribute("tileid").as_int(), f.attribute("duration").as_int()});
        }
    }
}

pugi::xml_document parse(const std::string& file, const std::string& text)
{
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_buffer(text.data(), text.size());
    if (!parsed) {
        throw Refusal(file + ": not readable XML (" + parsed.description() + ")");
    }
    return doc;
}

void readLayer(Map& map, const pugi::xml_node& node)
{
    TileLayer layer;
    layer.name = node.attribute("name").as_string();
    layer.visible = node.attribute("visible").as_int(1) != 0;
    const std::string where = map.file + ": layer \"" + layer.name + "\"";
    const pugi::xml_node data = node.child("data");
    if (data.child("chunk")) {
        throw Refusal(where + ": an infinite map's chunks; FMP maps are finite");
    }
    const std::size_t cells = cellCount(map);
    std::vector<uint32_t> ids;
    const std::string encoding = data.attribute("encoding").as_string();
    if (encoding.empty()) {
        for (const pugi::xml_node& t : data.children("tile")) {
            ids.push_back(static_cast<uint32_t>(t.attribute("gid").as_ullong()));
        }
        if (ids.size() != cells) {
            throw Refusal(where + ": the layer data holds " + std::to_string(ids.size()) + " cells, the layer " +
                          std::to_string(cells));
        }
    } else {
        ids = decodeLayerData(where, encoding, data.attribute("compression").as_string(),
                              data.text().as_string(), cells);
    }
    for (std::size_t i = 0; i < ids.size(); ++i) {
        ids[i] = plainGid(ids[i], where, i, map.width);
    }
    layer.gids = std::move(ids);
    map.layers.push_back(std::move(layer));
}

void readObjects(Map& map, const pugi::xml_node& group)
{
    for (const pugi::xml_node& o : group.children("object")) {
        std::string kind = o.attribute("name").as_string();
        if (kind.empty()) {
            kind = o.attribute("type").as_string();
        }
        map.points.push_back(Point{kind, o.attribute("x").as_double(), o.attribute("y").as_double()});
    }
}

// Layers in drawing order, the contents of groups in their place.
void readLayers(Map& map, const pugi::xml_node& parent)
{
    for (const pugi::xml_node& node : parent.children()) {
        const std::string kind = node.name();
        if (kind == "layer") {
            readLayer(map, node);
        } else if (kind == "objectgroup") {
            readObjects(map, node);
        } else if (kind == "group") {
            readLayers(map, node);
        }
    }
}

}  // namespace

Map readTmx(const std::string& path, const std::string& text)
{
    const pugi::xml_document doc = parse(path, text);
    const pugi::xml_node root = doc.child("map");
    if (!root) {
        throw Refusal(path + ": no <map> element");
    }
    Map map;
    map.file = path;
    map.width = root.attribute("width").as_int();
    map.height = root.attribute("height").as_int();
    map.tileWidth = root.attribute("tilewidth").as_int();
    map.tileHeight = root.attribute("tileheight").as_int();
    checkGrid(map, root.attribute("orientation").as_string("orthogonal"), root.attribute("infinite").as_int() != 0);
    map.properties = propertiesOf(root);
    for (const pugi::xml_node& node : root.children("tileset")) {
        Tileset set;
        const std::string source = node.attribute("source").as_string();
        if (source.empty()) {
            readTileset(set, node, path);
        } else {
            set = readExternalTileset(resolvePath(path, source));
        }
        set.firstGid = static_cast<uint32_t>(node.attribute("firstgid").as_uint());
        map.tilesets.push_back(std::move(set));
    }
    readLayers(map, root);
    checkMap(map);
    return map;
}

Tileset readTsx(const std::string& path, const std::string& text)
{
    const pugi::xml_document doc = parse(path, text);
    if (!doc.child("tileset")) {
        throw Refusal(path + ": no <tileset> element");
    }
    Tileset set;
    readTileset(set, doc.child("tileset"), path);
    return set;
}

}  // namespace tiled
