#include "shell/key_wait.h"

#include <allegro.h>

namespace {
// Long enough to hand the processor back, short enough that no key
// stroke a person can make slips through.
constexpr int kPollRestMs = 1;

void waitWhileDown(int scancode)
{
    while (key[scancode]) {
        rest(kPollRestMs);
    }
}

void waitWhileUp(int scancode)
{
    while (!key[scancode]) {
        rest(kPollRestMs);
    }
}

const KeyWaits kLibraryWaits = {waitWhileDown, waitWhileUp};
}  // namespace

const KeyWaits& libraryKeyWaits()
{
    return kLibraryWaits;
}
