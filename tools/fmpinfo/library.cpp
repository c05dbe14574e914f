#include "tools/fmpinfo/library.h"

#include "tilemap/loader.h"
#include "tilemap/tilemap.h"

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {
constexpr int kDefaultDepth = 32;
}

bool startToolLibrary(int depth)
{
    static bool started = false;
    if (!started) {
        if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
            return false;
        }
        started = true;
    }
    set_color_depth(depth);
    if (screen) {
        destroy_bitmap(screen);
    }
    screen = create_bitmap_ex(depth, kToolScreenWidth, kToolScreenHeight);
    if (!screen) {
        return false;
    }
    clear_bitmap(screen);
    return true;
}

bool loadMapForTool(const char* fileName)
{
    if (!screen && !startToolLibrary(kDefaultDepth)) {
        std::fprintf(stderr, "fmpinfo: the library could not start\n");
        return false;
    }
    if (loadMap(fileName) != 0) {
        std::fprintf(stderr, "fmpinfo: cannot load %s (error %d)\n", fileName, tileMap.loadError);
        return false;
    }
    return true;
}
