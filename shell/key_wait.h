// Waiting on the keyboard (and game pads): the menus and pages hold still until a key is
// released (or pressed). The library's keyboard driver fills `key` in the
// background; tests put their own waits in place of these.
#pragma once

struct KeyWaits {
    void (*whileDown)(int scancode);  // returns once the key is up
    void (*whileUp)(int scancode);    // returns once the key is down
};

// Poll the library's key array and the game pads' stand-ins for keys,
// resting a millisecond between looks.
const KeyWaits& libraryKeyWaits();
// The same for a page, where a pad's A, B and Start all count as ESC.
const KeyWaits& pageKeyWaits();
