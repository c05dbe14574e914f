// The end of a pass: what the menus and the level's frame loop do once their
// picture is finished, and what every key wait does between two looks at the
// keyboard. A pass shows the picture (enlarged when scaled), saves it on F12,
// ends the game if the window's close button was clicked, and waits for its
// deadline on the pass pacer. A wait does the same but for showing and pacing,
// resting a millisecond instead; a pause rests longer. Each also switches
// between window and full screen on Alt+Enter.
#pragma once

class Pacer;

// How the game ends from a close button: the usual shutdown, then exit 0.
using QuitHandler = void (*)();
void setQuitHandler(QuitHandler quit);

// The window's close button: the library's callback (its own thread) only
// notes the click; the next pass or wait ends the game.
void requestClose();
bool closeRequested();

// The pacer that holds the passes to the chosen rate (unpaced at first).
Pacer& passPacer();

// F12 saves a screenshot only once allowed (off at first).
void allowScreenshots(bool allowed);

void endPass();
void idleWhileWaiting();
void idleWhilePaused();
