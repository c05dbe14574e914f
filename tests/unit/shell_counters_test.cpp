// The two timer callbacks and the counters they share with the main thread.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "shell/counters.h"
#include "tests/support/headless.h"

namespace {

class Counters : public ::testing::Test {
protected:
    void SetUp() override
    {
        startHeadless();
        tickCounter = 0;
        frameCounter = 0;
        framesPerSecond = 0;
    }
};

TEST_F(Counters, TickTimerAddsOneAndTouchesNothingElse)
{
    tickCounter = 41;
    frameCounter = 7;
    framesPerSecond = 3;
    tickTimer();
    EXPECT_EQ(tickCounter, 42);
    EXPECT_EQ(frameCounter, 7);
    EXPECT_EQ(framesPerSecond, 3);
}

TEST_F(Counters, SecondTimerLatchesFramesAndStartsCountingAgain)
{
    tickCounter = 5;
    frameCounter = 57;
    secondTimer();
    EXPECT_EQ(framesPerSecond, 57);
    EXPECT_EQ(frameCounter, 0);
    EXPECT_EQ(tickCounter, 5);

    // A second without level frames (the menus count none) reads 0.
    secondTimer();
    EXPECT_EQ(framesPerSecond, 0);

    frameCounter += 3;
    secondTimer();
    EXPECT_EQ(framesPerSecond, 3);
}

// The main thread counts frames while the timer thread latches them: every
// frame must land in exactly one latched second or in the running count.
// The count goes on through many latches so that a latch which reads and
// clears in two steps would drop frames.
TEST_F(Counters, NoFrameIsLostBetweenCountAndLatch)
{
    constexpr int kLatches = 30;
    std::atomic<int> latches{0};
    std::atomic<bool> counting{false};
    long latched = 0;
    std::thread timer([&] {
        while (!counting) {
            std::this_thread::yield();
        }
        for (int latch = 0; latch < kLatches; ++latch) {
            secondTimer();
            latched += framesPerSecond;
            latches += 1;
        }
    });
    frameCounter += 1;
    long counted = 1;
    counting = true;
    while (latches < kLatches) {
        frameCounter += 1;
        counted += 1;
    }
    timer.join();
    EXPECT_GT(latched, 0);
    EXPECT_EQ(latched + frameCounter, counted);
}

TEST_F(Counters, TicksFromTwoThreadsAreAllCounted)
{
    constexpr int kTicksEach = 100000;
    std::thread timer([] {
        for (int tick = 0; tick < kTicksEach; ++tick) {
            tickTimer();
        }
    });
    for (int tick = 0; tick < kTicksEach; ++tick) {
        tickTimer();
    }
    timer.join();
    EXPECT_EQ(tickCounter, 2 * kTicksEach);
}

}  // namespace
