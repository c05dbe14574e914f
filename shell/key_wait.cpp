#include "shell/key_wait.h"

#include <allegro.h>

#include "base/game_pad.h"
#include "base/pass_end.h"

namespace {
// On a page ESC stands for every key that closes it: ESC or a pad's A, B
// or Start.
bool pageKeyDown(int scancode)
{
    return keyOrPad(scancode) || (scancode == KEY_ESC && padPageButtonHeld());
}

// Each look rests a millisecond: long enough to hand the processor back,
// short enough that no key stroke a person can make slips through.
void waitUntil(bool (*isDown)(int), int scancode, bool down)
{
    while (isDown(scancode) != down) {
        idleWhileWaiting();
    }
}

void waitWhileDown(int scancode) { waitUntil(keyOrPad, scancode, false); }
void waitWhileUp(int scancode) { waitUntil(keyOrPad, scancode, true); }
void waitWhilePageKeyDown(int scancode) { waitUntil(pageKeyDown, scancode, false); }
void waitWhilePageKeyUp(int scancode) { waitUntil(pageKeyDown, scancode, true); }

const KeyWaits kLibraryWaits = {waitWhileDown, waitWhileUp};
const KeyWaits kPageWaits = {waitWhilePageKeyDown, waitWhilePageKeyUp};
}  // namespace

const KeyWaits& libraryKeyWaits()
{
    return kLibraryWaits;
}

const KeyWaits& pageKeyWaits()
{
    return kPageWaits;
}
