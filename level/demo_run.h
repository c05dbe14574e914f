// Recording a run of a level into a demo, and playing a demo back through
// the real level frame by frame. Each comes as start / finish around the
// frame loop, so the caller decides how the frames are played (the game's
// loop, a paced loop, a test's script); the whole-run forms do both.
#pragma once

#include "level/demo_file.h"

#include <cstdint>
#include <string>

class Level;

// How a run ended: what the end line reports.
struct DemoOutcome {
    int64_t frames = 0;
    int32_t score = 0;
    int32_t secondsPlayed = 0;
    uint32_t stateHash = 0;
};

// "demo FILE: N frames, score S, time T, state HHHHHHHH"
std::string demoEndLine(const std::string& file, const DemoOutcome& outcome);

// Builds the level of `map` after srand(seed) and records every frame played
// from then on into `demo`, whose header it fills.
void startRecording(Level& level, const char* map, uint32_t seed, Demo& demo);
// Tears the level down and goes back to live input; the outcome is that of
// the last whole frame recorded, wherever in a frame the recording stops.
DemoOutcome finishRecording(Level& level, const Demo& demo);

struct PlaybackResult {
    DemoOutcome outcome;
    std::string desync;  // the first frame out of step; empty when none was
    bool complete;       // every frame played and in step
};

// Builds the level as it was when recorded and plays the demo's frames in
// place of the keyboard and the clock; the help and game-over pages are not
// waited on.
void startPlayback(Level& level, const Demo& demo);
PlaybackResult finishPlayback(Level& level);

DemoOutcome recordRun(Level& level, const char* map, uint32_t seed, Demo& demo);
PlaybackResult playDemo(Level& level, const Demo& demo);
