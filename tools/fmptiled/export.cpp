#include "tools/fmptiled/export.h"

#include "base/counters.h"
#include "base/png_file.h"
#include "tilemap/loader.h"
#include "tilemap/map_places.h"
#include "tilemap/tilemap.h"
#include "tools/fmpinfo/library.h"
#include "tools/fmpinfo/map_report.h"
#include "tools/fmptiled/property_names.h"

#include <allegro.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <sstream>
#include <vector>

namespace tiled {
namespace {

constexpr int kSheetColumns = 16;
constexpr int kRgba = 4;
constexpr uint8_t kOpaque = 255;
constexpr const char* kTiledVersion = "1.8";
constexpr int kFirstGid = 1;
constexpr int kExportDepth = 32;  // the tile bitmaps in true colour, whatever the map's depth

// The tiles of the one tileset: graphics, then blocks, then animations.
struct Layout {
    int graphics = 0;
    int blocks = 0;
    int animations = 0;
    int tiles() const { return graphics + blocks + animations; }
    int blockTile(int block) const { return graphics + block; }
    int animationTile(int record) const { return graphics + blocks + record - 1; }
};

int animationRecords()
{
    return tileMap.animRecords ? static_cast<int>(tileMap.animRecordsEnd - tileMap.animRecords) : 0;
}

// The tile a cell shows: animations are counted back from the last record.
int tileOfCell(const Layout& layout, int cell)
{
    return cell >= 0 ? layout.blockTile(cell) : layout.animationTile(animationRecords() + cell);
}

class Sheet {
public:
    Sheet(int tiles, int w, int h)
        : w_(w), h_(h), columns_(std::min(kSheetColumns, std::max(tiles, 1))),
          rows_((tiles + columns_ - 1) / columns_),
          rgba_(static_cast<std::size_t>(columns_) * w * std::max(rows_, 1) * h * kRgba, 0)
    {
    }
    // Lays the graphic into the tile, its mask colour left out.
    void draw(int tile, BITMAP* graphic)
    {
        if (!graphic) {
            return;
        }
        const int mask = bitmap_mask_color(graphic);
        for (int y = 0; y < h_; ++y) {
            for (int x = 0; x < w_; ++x) {
                const int c = getpixel(graphic, x, y);
                if (c == mask) {
                    continue;
                }
                const std::size_t row = static_cast<std::size_t>(tile / columns_ * h_ + y);
                uint8_t* p = &rgba_[(row * columns_ * w_ + tile % columns_ * w_ + x) * kRgba];
                p[0] = static_cast<uint8_t>(getr32(c));
                p[1] = static_cast<uint8_t>(getg32(c));
                p[2] = static_cast<uint8_t>(getb32(c));
                p[3] = kOpaque;
            }
        }
    }
    void drawBlock(int tile, const BlockRecord& block)
    {
        draw(tile, block.backGraphic.bitmap);
        draw(tile, block.foreGraphic1.bitmap);
    }
    bool save(const std::string& path) const
    {
        std::FILE* out = std::fopen(path.c_str(), "wb");
        if (!out) {
            return false;
        }
        const bool written = writePngPixels(out, columns_ * w_, std::max(rows_, 1) * h_, rgba_.data(),
                                            PngChannels::Rgba);
        return std::fclose(out) == 0 && written;
    }
    int columns() const { return columns_; }
    int width() const { return columns_ * w_; }
    int height() const { return std::max(rows_, 1) * h_; }

private:
    int w_, h_, columns_, rows_;
    std::vector<uint8_t> rgba_;
};

void addProperty(pugi::xml_node owner, const char* name, const char* type, const std::string& value)
{
    pugi::xml_node properties = owner.child("properties");
    if (!properties) {
        properties = owner.prepend_child("properties");
    }
    pugi::xml_node property = properties.append_child("property");
    property.append_attribute("name") = name;
    if (type) {
        property.append_attribute("type") = type;
    }
    property.append_attribute("value") = value.c_str();
}

void addInt(pugi::xml_node owner, const char* name, long long value)
{
    addProperty(owner, name, "int", std::to_string(value));
}

void describeBlock(pugi::xml_node tile, const BlockRecord& b)
{
    addInt(tile, kBackProperty, b.backGraphic.index);
    const GraphicRef* fores[] = {&b.foreGraphic1, &b.foreGraphic2, &b.foreGraphic3};
    for (std::size_t i = 0; i < std::size(fores); ++i) {
        if (fores[i]->bitmap) {
            addInt(tile, kForeProperties[i], fores[i]->index);
        }
    }
    const long long users[] = {b.userField1, b.userField2, b.userField3, b.userField4,
                               b.userField5, b.userField6, b.userField7};
    for (std::size_t i = 0; i < std::size(users); ++i) {
        if (users[i] != 0) {
            addInt(tile, kUserProperties[i], users[i]);
        }
    }
    for (std::size_t bit = 0; bit < std::size(kExitProperties); ++bit) {
        if (b.flags & (1 << bit)) {
            addProperty(tile, kExitProperties[bit], "bool", "true");
        }
    }
    if (b.flags & ~kExitBits) {
        addInt(tile, kOtherFlagsProperty, b.flags & ~kExitBits);
    }
}

void describeAnimation(pugi::xml_node tile, const Layout& layout, const AnimRecord& a)
{
    addInt(tile, kAnimationKindProperty, a.type);
    addInt(tile, kAnimationDelayProperty, a.delay);
    addInt(tile, kAnimationCounterProperty, a.counter);
    addInt(tile, kAnimationUserProperty, a.userByte);
    pugi::xml_node frames = tile.append_child("animation");
    const bool backward = playsBackward(a.type);
    for (int32_t i = a.firstFrame; i < a.endFrame; ++i) {
        const int32_t f = backward ? a.endFrame - 1 - (i - a.firstFrame) : i;
        pugi::xml_node frame = frames.append_child("frame");
        frame.append_attribute("tileid") = layout.blockTile(tileMap.animFrames[f]);
        frame.append_attribute("duration") = (a.delay + 1) * kTickPeriodMs;
    }
}

std::string baseName(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string withoutExtension(const std::string& path)
{
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    return dot == std::string::npos || (slash != std::string::npos && dot < slash) ? path : path.substr(0, dot);
}

void addTileset(pugi::xml_node map, const Layout& layout, const Sheet& sheet, const std::string& name,
                const std::string& picture)
{
    pugi::xml_node set = map.append_child("tileset");
    set.append_attribute("firstgid") = kFirstGid;
    set.append_attribute("name") = name.c_str();
    set.append_attribute("tilewidth") = tileMap.blockWidth;
    set.append_attribute("tileheight") = tileMap.blockHeight;
    set.append_attribute("tilecount") = layout.tiles();
    set.append_attribute("columns") = sheet.columns();
    pugi::xml_node image = set.append_child("image");
    image.append_attribute("source") = picture.c_str();
    image.append_attribute("width") = sheet.width();
    image.append_attribute("height") = sheet.height();
    for (int b = 0; b < layout.blocks; ++b) {
        pugi::xml_node tile = set.append_child("tile");
        tile.append_attribute("id") = layout.blockTile(b);
        describeBlock(tile, tileMap.blockRecords[b]);
    }
    for (int r = 1; r <= layout.animations; ++r) {
        pugi::xml_node tile = set.append_child("tile");
        tile.append_attribute("id") = layout.animationTile(r);
        describeAnimation(tile, layout, tileMap.animRecords[r]);
    }
}

int addLayers(pugi::xml_node map, const Layout& layout)
{
    constexpr int kDrawnLayers = 2;
    int id = 0;
    for (int n = 0; n < kLayerCount; ++n) {
        const int16_t* cells = tileMap.layers[n];
        if (!cells) {
            continue;
        }
        pugi::xml_node layer = map.append_child("layer");
        layer.append_attribute("id") = ++id;
        layer.append_attribute("name") = ("layer " + std::to_string(n)).c_str();
        layer.append_attribute("width") = tileMap.mapWidth;
        layer.append_attribute("height") = tileMap.mapHeight;
        if (n >= kDrawnLayers) {
            layer.append_attribute("visible") = 0;
        }
        std::ostringstream csv;
        csv << "\n";
        for (int y = 0; y < tileMap.mapHeight; ++y) {
            for (int x = 0; x < tileMap.mapWidth; ++x) {
                csv << kFirstGid + tileOfCell(layout, cells[y * tileMap.mapWidth + x]);
                csv << (x + 1 < tileMap.mapWidth || y + 1 < tileMap.mapHeight ? "," : "");
            }
            csv << "\n";
        }
        pugi::xml_node data = layer.append_child("data");
        data.append_attribute("encoding") = "csv";
        data.text() = csv.str().c_str();
    }
    return id;
}

void addPlaces(pugi::xml_node map, const MapPlaces& places, int layerId)
{
    pugi::xml_node group = map.append_child("objectgroup");
    group.append_attribute("id") = layerId + 1;
    group.append_attribute("name") = "places";
    int objectId = 0;
    const auto point = [&](const char* name, const CellPlace& cell) {
        pugi::xml_node object = group.append_child("object");
        object.append_attribute("id") = ++objectId;
        object.append_attribute("name") = name;
        object.append_attribute("x") = cell.x * tileMap.blockWidth + tileMap.blockWidth / 2;
        object.append_attribute("y") = cell.y * tileMap.blockHeight + tileMap.blockHeight / 2;
        object.append_child("point");
    };
    point(kStartPoint, places.start);
    for (int i = 0; i < places.domeCount; ++i) {
        point(kDomePoint, places.domes[i]);
    }
    map.attribute("nextlayerid") = layerId + 2;
    map.attribute("nextobjectid") = objectId + 1;
}

pugi::xml_node mapElement(pugi::xml_document& doc)
{
    pugi::xml_node map = doc.append_child("map");
    map.append_attribute("version") = kTiledVersion;
    map.append_attribute("orientation") = "orthogonal";
    map.append_attribute("renderorder") = "right-down";
    map.append_attribute("width") = tileMap.mapWidth;
    map.append_attribute("height") = tileMap.mapHeight;
    map.append_attribute("tilewidth") = tileMap.blockWidth;
    map.append_attribute("tileheight") = tileMap.blockHeight;
    map.append_attribute("infinite") = 0;
    map.append_attribute("nextlayerid") = 1;
    map.append_attribute("nextobjectid") = 1;
    addInt(map, kStepXProperty, tileMap.blockStepX);
    addInt(map, kStepYProperty, tileMap.blockStepY);
    addInt(map, kEncodingProperty, tileMap.encodingType);
    addProperty(map, kLittleEndianProperty, "bool", tileMap.littleEndian ? "true" : "false");
    return map;
}

}  // namespace

int exportMap(const std::string& mapPath, const std::string& tmxPath)
{
    if (!startToolLibrary(kExportDepth)) {
        std::fprintf(stderr, "fmptiled: the library could not start\n");
        return 1;
    }
    if (loadMap(mapPath.c_str()) != 0) {
        std::fprintf(stderr, "fmptiled: %s: not loaded: %s\n", mapPath.c_str(), loadErrorSentence(tileMap.loadError));
        return 1;
    }
    Layout layout{tileMap.graphicCount, tileMap.blockRecordCount, std::max(0, animationRecords() - 1)};
    Sheet sheet(layout.tiles(), tileMap.blockWidth, tileMap.blockHeight);
    for (int g = 0; g < layout.graphics; ++g) {
        sheet.draw(g, tileMap.tileBitmaps[g]);
    }
    for (int b = 0; b < layout.blocks; ++b) {
        sheet.drawBlock(layout.blockTile(b), tileMap.blockRecords[b]);
    }
    for (int r = 1; r <= layout.animations; ++r) {
        const AnimRecord& a = tileMap.animRecords[r];
        sheet.drawBlock(layout.animationTile(r), tileMap.blockRecords[tileMap.animFrames[a.currentFrame]]);
    }
    const std::string picture = withoutExtension(tmxPath) + ".png";
    pugi::xml_document doc;
    pugi::xml_node map = mapElement(doc);
    addTileset(map, layout, sheet, withoutExtension(baseName(mapPath)), baseName(picture));
    const int lastLayer = addLayers(map, layout);
    addPlaces(map, placesOfLoadedMap(baseName(mapPath).c_str()), lastLayer);
    const bool written = sheet.save(picture) && doc.save_file(tmxPath.c_str(), "  ");
    freeMap();
    if (!written) {
        std::fprintf(stderr, "fmptiled: cannot write %s or %s\n", tmxPath.c_str(), picture.c_str());
        return 1;
    }
    return 0;
}

}  // namespace tiled
