// Reading the loaded map: which layer is current, and the block record a
// cell of the current layer shows (animated cells show their load-time frame).
#pragma once

struct BlockRecord;

// Makes layers[layer] current and returns layer, or -1 (nothing changed)
// when layer is outside 0..7 or absent.
int selectLayer(int layer);

// The block record at (column, row) of the current layer, in block units.
// Outside the map: a block with no ways out and a valid background.
BlockRecord* getBlockAt(int column, int row);
