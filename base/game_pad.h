// Game pads through SDL's game-controller layer, for input only: every pad
// SDL knows (its own mapping database and the player's gamecontrollerdb.txt)
// in the standard layout, picked up and let go as it is plugged in and out.
// The pads are read once a pass; between two reads they answer from what
// the last read saw, so a frame's rules all see one state. Until the pads
// are started every question answers "not held".
#pragma once

#include <string>

enum class PlayAction;

// Starts SDL's game-controller layer alone and opens the pads present.
// `userMappings` is read when the file exists. On failure returns false with
// the reason in `error`, and the game plays on without pads.
bool startGamePads(const std::string& userMappings, std::string& error);
void stopGamePads();
bool gamePadsStarted();
int openGamePadCount();

// Takes in plugged and pulled pads and reads the buttons and sticks.
void pollGamePads();

// In play: what the pads press (the sticks and d-pads aim, triggers and
// shoulders drive, A fires, Y locks, X helps, Back leaves).
bool padAction(PlayAction action);
// Elsewhere the pads stand in for keys: the d-pad or left stick for the
// arrows, A for ENTER, B for ESC, Start for P.
bool padKey(int scancode);
// A, B or Start: what closes a page.
bool padPageButtonHeld();

// The keyboard's key or the pads' stand-in for it.
bool keyOrPad(int scancode);
