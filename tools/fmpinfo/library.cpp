#include "tools/fmpinfo/library.h"

#include <allegro.h>

#include <cerrno>
#include <cstdlib>

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
