#include "shell/key_wait.h"

#include <allegro.h>

#include "base/pass_end.h"

namespace {
// Each look rests a millisecond: long enough to hand the processor back,
// short enough that no key stroke a person can make slips through.
void waitWhileDown(int scancode)
{
    while (key[scancode]) {
        idleWhileWaiting();
    }
}

void waitWhileUp(int scancode)
{
    while (!key[scancode]) {
        idleWhileWaiting();
    }
}

const KeyWaits kLibraryWaits = {waitWhileDown, waitWhileUp};
}  // namespace

const KeyWaits& libraryKeyWaits()
{
    return kLibraryWaits;
}
