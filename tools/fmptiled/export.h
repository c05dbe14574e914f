// Writing an FMP map as a Tiled map: the TMX and, beside it, one tileset
// picture (PNG) holding every graphic, then a tile per block (its background
// with its first foreground over it, as the game draws them) and a tile per
// animation. Block tiles carry their graphics, user fields and flags as
// custom properties; animation tiles their frames, kind and delay; layers 0
// and 1 are visible, the others hidden (the game does not draw them); the
// places are "start" and "dome" points in an object layer.
#pragma once

#include <string>

namespace tiled {

// Status 0, or 1 after saying why on stderr (the map does not load, a file
// cannot be written).
int exportMap(const std::string& mapPath, const std::string& tmxPath);

}  // namespace tiled
