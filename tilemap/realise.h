// Turning the decoded block graphics into tile bitmaps at the screen's
// colour depth: the pixels are converted (map magenta and palette index 0
// become the mask colour), one memory bitmap is made per graphic, and the
// block records are pointed at them. Both return 0, or -1 with loadError
// set and the map emptied.
#pragma once

int realiseTileGraphics();
int createTileBitmaps();
