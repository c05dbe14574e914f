// Feeds arbitrary bytes to the map loader as if they were a map file. The
// screen depth the graphics are realised for varies with the input's length
// so that every conversion path meets hostile data.
#include "tilemap/loader.h"
#include "tilemap/tilemap.h"

#include <allegro.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static const int kDepths[] = {8, 15, 16, 24, 32};
    static const bool started = install_allegro(SYSTEM_NONE, &errno, atexit) == 0;
    if (!started) std::abort();
    const int depth = kDepths[size % std::size(kDepths)];
    set_color_depth(depth);
    BITMAP* target = create_bitmap_ex(depth, 1, 1);
    screen = target;
    if (loadMapFromMemory(data, size) == 0 && tileMap.loadError != kLoadOk) {
        std::abort();  // success must never carry a reason for failure
    }
    freeMap();
    screen = nullptr;
    destroy_bitmap(target);
    return 0;
}
