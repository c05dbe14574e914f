// Cell resolution shared by the look-ups and the layer drawing: the block
// record a cell value names, directly or through its animation's load-time
// frame, or null when the value points at nothing the map holds.
#pragma once

#include <cstdint>

struct BlockRecord;

BlockRecord* resolveCell(int16_t cell);
