// Turning a Tiled map into an FMP map. Each tile a layer shows becomes a
// block (its picture the background graphic, its properties the block's
// fields and graphics); animated tiles become animations of the blocks of
// their frames; the "start" and "dome" points become the places. The game
// draws four graphics a cell - background and first foreground of layers 0
// and 1 - so one or two visible layers become layers 0 and 1 as they are,
// and three or four visible layers are laid pairwise into them (the upper
// tile of a pair as the foreground). Hidden layers, and visible ones past
// the fourth, follow as layers the game keeps but does not draw. The blocks
// of layers 0 and 1 carry the track exits of every visible tile on their
// cell: the cart reads layer 0 until the first frame is drawn, layer 1 after.
#pragma once

#include "tools/assetgen/fmp_writer.h"
#include "tools/fmptiled/tiled_map.h"

namespace tiled {

// Throws Refusal (naming the file and the layer, tileset, cell or tile) for
// what FMP cannot hold.
fmp::Map buildFmpMap(const Map& map, int depth);

}  // namespace tiled
