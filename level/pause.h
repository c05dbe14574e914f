// Pausing play, between two passes of the level's loop: P pauses and
// resumes, and losing the window's focus pauses until it comes back. While
// paused nothing of the level runs, the game's clock is held (so spawns,
// blows and the score do not jump on resuming), the music stands, "Paused"
// lies over the last picture and the program rests between looks at its
// keys. A demo records no paused time: no frame is played meanwhile.
// Nothing pauses unless enabled (the player's settings do).
#pragma once

void enablePause(bool pauseKey, bool whenUnfocused);

// P, once per press.
bool pauseKeyPressed();

// What a pause does to the world outside the level; tests put their own in.
struct PauseHooks {
    bool (*pauseKey)();       // a press of the pause key
    bool (*focused)();        // the window has the focus
    void (*releaseKeys)();    // the keys held count as let go
    void (*showPaused)(bool paused);  // "Paused" laid over the picture, or taken off
    void (*musicPaused)(bool paused);
    void (*idle)();           // one rest between looks at the keys
};
const PauseHooks& livePauseHooks();

// Returns at once unless a pause is asked for; else once it is over.
void holdWhilePaused(const PauseHooks& hooks = livePauseHooks());
