// What the rules of play read from outside during a level: the actions of
// play and the 50 Hz clock. Every such read goes through playAction() and
// playTick(). Live, an action is held when a key bound to it is down or a
// game pad presses it, and the clock is the counter, read on the spot.
// Recording keeps what each frame saw; playback answers from such a record
// and notes the first frame in which the rules ask for what it does not hold
// or end in a state other than the recorded one.
#pragma once

#include "base/play_keys.h"

#include <cstdint>
#include <string>
#include <vector>

// A stretch of equal clock readings within a frame, in the order read.
struct TickRun {
    int32_t value;
    uint16_t reads;  // 1 or more
};

// What one pass of the frame loop read, and the state it left.
struct InputFrame {
    uint16_t keys = 0;           // bit i set: the action of playKeyScancodes()[i] was held
    std::vector<TickRun> ticks;  // every clock reading of the frame
    uint32_t stateHash = 0;      // the game state once the frame was played
};

enum class InputMode { Live, Recording, Playback };

// The game's own keys of play, in the order of their bits in
// InputFrame::keys; each bit stands for the action that key works by
// default, whichever key or pad held it. Backward has two bits (SHIFT and
// ALT), either of which holds it; a recording sets the first.
const std::vector<int>& playKeyScancodes();

bool playAction(PlayAction action);  // the action as the rules see it
int32_t playTick();                  // tickCounter as the rules see it

void useLiveInput();
// From the next frame on, every frame's readings are appended to `frames`,
// which must outlive the recording.
void recordInputInto(std::vector<InputFrame>& frames);
// From the next frame on, the frames of `frames` are played in order.
void playInputFrom(const std::vector<InputFrame>& frames);
InputMode inputMode();

// The frame loop calls these around each pass: beginInputFrame before the
// loop's own key test, endInputFrame once the pass is done (not for the test
// that ends the loop). Both do nothing live.
void beginInputFrame();
void endInputFrame(uint32_t stateHash);

// Playback: frames played so far, whether the record is used up, and the
// first disagreement (empty while there is none), which names its frame.
// Once out of step, or with the record used up, Leave reads as held, so the
// level ends at the top of the next pass.
int64_t playedInputFrames();
bool inputRecordUsedUp();
const std::string& inputDesync();
// Playback only: report a disagreement found outside the frames (frame 0 is
// the level as built).
void noteInputDesync(int64_t frame, const std::string& what);
