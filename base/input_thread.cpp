#include "base/input_thread.h"

#include <allegro.h>
#include <allegro/internal/aintern.h>
#include <allegro/platform/aintunix.h>

#include <cstdlib>

namespace {

bool held = false;
bool releaseAtExitSet = false;

bool underX11()
{
    return system_driver != nullptr && system_driver->id == SYSTEM_XWINDOWS && _unix_bg_man != nullptr;
}

}  // namespace

void holdInputThread()
{
    if (held || !underX11()) {
        return;
    }
    if (!releaseAtExitSet) {
        // Registered after the library's own, so it runs before the
        // library's shutdown joins the thread it would otherwise wait on.
        std::atexit(releaseInputThread);
        releaseAtExitSet = true;
    }
    // The thread checks this count each time its callbacks are due and
    // waits while it is above zero, without waking in between.
    _unix_bg_man->disable_interrupts();
    held = true;
}

void releaseInputThread()
{
    if (!held) {
        return;
    }
    held = false;
    _unix_bg_man->enable_interrupts();
}

void readInputWhileHeld()
{
    if (held) {
        _xwin_handle_input();
    }
}
