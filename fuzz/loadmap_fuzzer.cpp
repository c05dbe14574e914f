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

namespace {

constexpr int kDepths[] = {8, 15, 16, 24, 32};
constexpr int kDepthCount = sizeof kDepths / sizeof kDepths[0];
BITMAP* screens[kDepthCount];

bool startLibrary()
{
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::abort();
    }
    for (int i = 0; i < kDepthCount; ++i) {
        screens[i] = create_bitmap_ex(kDepths[i], 1, 1);
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static const bool started = startLibrary();
    (void)started;
    const int choice = static_cast<int>(size % kDepthCount);
    set_color_depth(kDepths[choice]);
    screen = screens[choice];
    if (loadMapFromMemory(data, size) == 0 && tileMap.loadError != kLoadOk) {
        std::abort();  // success must never carry a reason for failure
    }
    freeMap();
    return 0;
}
