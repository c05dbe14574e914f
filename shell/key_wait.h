// Waiting on the keyboard: the menus and pages hold still until a key is
// released (or pressed). The library's keyboard driver fills `key` in the
// background; tests put their own waits in place of these.
#pragma once

struct KeyWaits {
    void (*whileDown)(int scancode);  // returns once the key is up
    void (*whileUp)(int scancode);    // returns once the key is down
};

// Poll the library's key array, resting a millisecond between looks.
const KeyWaits& libraryKeyWaits();
