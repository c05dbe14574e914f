// The end of a pass: what the menus and the level's frame loop do once their
// picture is finished, and what every key wait does between two looks at the
// keyboard. A pass shows the picture (enlarged when scaled), reads the game
// pads, saves it on F12, answers M, waits for its deadline on the pass pacer,
// then ends the game if a quit was asked for (so one asked for during the
// sleep is not left for a pass more). A wait does the same but for showing
// and pacing, resting a millisecond instead; a pause rests longer, with the
// library's input thread asleep until the next pass or wait
// (base/input_thread.h). Each also switches between window and full screen
// on Alt+Enter.
#pragma once

#include "base/quit_request.h"

class Pacer;

// How the game ends when a quit was asked for (base/quit_request.h): the
// usual shutdown, then exit with `status`.
using QuitHandler = void (*)(int status);
void setQuitHandler(QuitHandler quit);

// The pacer that holds the passes to the chosen rate (unpaced at first).
Pacer& passPacer();

// F12 saves a screenshot only once allowed (off at first).
void allowScreenshots(bool allowed);

// What M does, once per press; nothing while none is set (at first).
using MuteKeyHandler = void (*)();
void setMuteKeyHandler(MuteKeyHandler handler);

void endPass();
void idleWhileWaiting();
void idleWhilePaused();
