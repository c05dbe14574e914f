#include "tools/fmpinfo/commands.h"

#include "tilemap/tilemap.h"
#include "tilemap/view.h"
#include "tools/fmpinfo/library.h"

#include <allegro.h>

#include <cstdio>

int fmpinfoRender(const char* fileName, const char* outFile, int cameraX, int cameraY)
{
    if (!loadMapForTool(fileName)) {
        return 1;
    }
    BITMAP* view = create_bitmap_ex(bitmap_color_depth(screen), kViewWidth, kViewHeight);
    if (!view) {
        freeMap();
        std::fprintf(stderr, "fmpinfo: no memory for the view\n");
        return 1;
    }
    clear_bitmap(view);
    drawMapView(view, &cameraX, &cameraY);
    const bool saved = save_bitmap(outFile, view, nullptr) == 0;
    destroy_bitmap(view);
    freeMap();
    if (!saved) {
        std::fprintf(stderr, "fmpinfo: cannot write %s\n", outFile);
        return 1;
    }
    std::printf("%s: view at camera (%d, %d) written to %s\n", fileName, cameraX, cameraY, outFile);
    return 0;
}
