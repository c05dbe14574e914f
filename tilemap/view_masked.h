// Masked copies for the map view: the same result as the library's
// masked_blit (mask-colour pixels of the source left out, the destination's
// clipping rectangle honoured), done row by row without a per-pixel call
// between two 32-bit memory bitmaps, where the library's generic loop would
// cost most of a frame. Any other pair of bitmaps goes to masked_blit.
#pragma once

struct BITMAP;

void maskedCopy(BITMAP* source, BITMAP* dest, int sourceX, int sourceY, int destX, int destY, int w, int h);
