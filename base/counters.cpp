#include "base/counters.h"

#include <allegro.h>

std::atomic<int32_t> tickCounter{0};
std::atomic<int32_t> frameCounter{0};
std::atomic<int32_t> framesPerSecond{0};
BITMAP* backBuffer = nullptr;
int32_t levelMusicStarted = 0;

// Time the second latch holds the timer thread before returning.
static constexpr int kLatchRestMs = 2;

void tickTimer()
{
    tickCounter.fetch_add(1);
}
END_OF_FUNCTION(tickTimer)

void secondTimer()
{
    // One exchange reads and clears the count, so a frame counted by the
    // main thread in between is never dropped.
    framesPerSecond.store(frameCounter.exchange(0));
    rest(kLatchRestMs);
}
END_OF_FUNCTION(secondTimer)
