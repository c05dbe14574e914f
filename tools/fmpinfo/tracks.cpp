#include "tools/fmpinfo/commands.h"

#include "tilemap/lookup.h"
#include "tilemap/tilemap.h"
#include "tools/assetgen/map_track_rule.h"
#include "tools/fmpinfo/library.h"

#include <allegro.h>

#include <cstdio>
#include <vector>

namespace {

constexpr uint8_t kWayBits = 0x0F;
constexpr int kCartLayerWhenPresent = 1;

// The ways out of every cell of one layer, row after row.
std::vector<uint8_t> waysOfLayer(int layer)
{
    selectLayer(layer);
    std::vector<uint8_t> ways;
    for (int y = 0; y < tileMap.mapHeight; ++y) {
        for (int x = 0; x < tileMap.mapWidth; ++x) {
            ways.push_back(getBlockAt(x, y)->flags & kWayBits);
        }
    }
    return ways;
}

}  // namespace

int fmpinfoTracks(const char* fileName)
{
    if (!loadMapForTool(fileName)) {
        return 1;
    }
    // During play the cart reads layer 1 when the map has one; before the
    // first frame it reads layer 0, so the two must agree as well.
    const bool overlay = tileMap.layers[kCartLayerWhenPresent] != nullptr;
    const int cartLayer = overlay ? kCartLayerWhenPresent : 0;
    const std::vector<uint8_t> ways = waysOfLayer(cartLayer);
    std::vector<std::string> faults = trackrule::trackFaults(tileMap.mapWidth, tileMap.mapHeight, ways);
    if (overlay) {
        const std::vector<uint8_t> ground = waysOfLayer(0);
        for (std::size_t i = 0; i < ways.size(); ++i) {
            if (ground[i] != ways[i]) {
                char line[128];
                std::snprintf(line, sizeof line, "cell (%d, %d) has ways 0x%X in layer 0 but 0x%X in layer 1",
                              static_cast<int>(i % tileMap.mapWidth), static_cast<int>(i / tileMap.mapWidth),
                              ground[i], ways[i]);
                faults.push_back(line);
            }
        }
    }
    int trackCells = 0;
    for (uint8_t cell : ways) {
        trackCells += cell != 0;
    }
    freeMap();

    for (const std::string& fault : faults) {
        std::printf("%s\n", fault.c_str());
    }
    if (!faults.empty()) {
        std::printf("%s: %d fault(s) in the track of layer %d\n", fileName, static_cast<int>(faults.size()),
                    cartLayer);
        return 1;
    }
    std::printf("%s: %d track cells in layer %d, every way out leads to a way back\n", fileName, trackCells,
                cartLayer);
    return 0;
}
