// Resting without the library's input thread. Under X11 Allegro reads the
// window's events on a background thread that wakes every millisecond
// whatever the game does: a few per cent of a core on its own, which a long
// rest (a pause) need not pay. While held, that thread sleeps and the game
// reads the events on its own thread at each look. Outside the X11 system
// (no display, the tests' headless system) all of this does nothing.
#pragma once

// Puts the input thread to sleep; again while held does nothing.
void holdInputThread();

// Wakes it; does nothing unless held. The game lets it go before a quit,
// and at exit in any case (the library's shutdown waits for the thread).
void releaseInputThread();

// Reads the window's waiting events here while the thread is held.
void readInputWhileHeld();
