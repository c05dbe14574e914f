// Process-wide state shared by the shell, the level and the entities:
// the 50 Hz game clock, the frame counters the panel shows, the back buffer
// every frame is drawn into, and whether the level music has been started.
#pragma once

#include <atomic>
#include <cstdint>

struct BITMAP;

// Written by the timer thread and by the main thread; atomics so that no
// increment is lost and the once-a-second latch cannot tear.
extern std::atomic<int32_t> tickCounter;     // +1 every 20 ms
extern std::atomic<int32_t> frameCounter;    // level frames since the last latch
extern std::atomic<int32_t> framesPerSecond; // level frames in the last second

extern BITMAP* backBuffer;          // the 640 x 480 off-screen frame, owned by main
extern int32_t levelMusicStarted;   // 1 once a level run has started its music

// Game clock period and the frame-rate latch period, in milliseconds.
constexpr int kTickPeriodMs = 20;
constexpr int kSecondPeriodMs = 1000;

// Timer callbacks; the library's timer thread calls them, never the game.
void tickTimer();
void secondTimer();
