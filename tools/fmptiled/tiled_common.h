// What the TMX and TMJ readers share: paths, the checks of the grid,
// transparent colours and external tilesets of either kind.
#pragma once

#include "tools/fmptiled/tiled_map.h"

#include <cstddef>
#include <string>

namespace tiled {

bool endsWith(const std::string& text, const std::string& end);
// A name from inside `file`, relative to its folder (absolute names stay).
std::string resolvePath(const std::string& file, const std::string& name);
// The whole file; throws Refusal when it cannot be read.
std::string readText(const std::string& path);
// Orthogonal, finite, a grid FMP can hold; throws Refusal naming the map.
void checkGrid(const Map& map, const std::string& orientation, bool infinite);
std::size_t cellCount(const Map& map);
// "#rrggbb", "rrggbb" or "#aarrggbb".
void setTransparentColour(Tileset& set, const std::string& text);

Tileset readTsx(const std::string& path, const std::string& text);
Tileset readTsj(const std::string& path, const std::string& text);
// A .tsx by its extension, else a .tsj.
Tileset readExternalTileset(const std::string& path);

}  // namespace tiled
