// The pause between two passes: what starts and ends it, and that the game's clock, the music and the
// picture are held and given back however long it lasted.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "base/counters.h"
#include "level/pause.h"

namespace {

constexpr int kTicksPerIdle = 7;  // the timer runs on while paused

// A scripted outside world, counted in the rests taken while paused.
int idles = 0;
std::set<int> pPressedAt;  // rests after which P goes down
int focusLostFrom = 0, focusBackAt = 0;
std::string happened;

const PauseHooks kScripted = {
    [] { return pPressedAt.count(idles) != 0 && pPressedAt.erase(idles) != 0; },
    [] { return idles < focusLostFrom || idles >= focusBackAt; },
    [] { happened += "release "; },
    [](bool paused) { happened += paused ? "shown " : "hidden "; },
    [](bool paused) { happened += paused ? "music-off " : "music-on "; },
    [] { ++idles, tickCounter += kTicksPerIdle; },
};

TEST(Pause, PAndTheFocusStartAndEndItAndTheClockTakesUpWhereItStood)
{
    const struct { bool byKey, whenUnfocused; std::set<int> p; int lost, back, idles; const char* log; } cases[] = {
        {true, true, {}, 5, 5, 0, ""},  // nothing asked: the pass goes on at once
        {true, true, {0, 3}, 9, 9, 3, "music-off shown hidden music-on "},
        {false, false, {0}, 0, 4, 0, ""},  // no settings: neither P nor the focus lost pauses
        {true, true, {}, 0, 4, 4, "music-off shown release hidden music-on "},
        {false, true, {}, 0, 2, 2, "music-off shown release hidden music-on "},
        // P pauses, the focus goes and comes back: still paused until P.
        {true, true, {0, 6}, 2, 4, 6, "music-off shown release hidden music-on "},
        // The focus took the pause; P ends it as well.
        {true, true, {3}, 0, 9, 3, "music-off shown release hidden music-on "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.log);
        enablePause(c.byKey, c.whenUnfocused);
        idles = 0, pPressedAt = c.p, focusLostFrom = c.lost, focusBackAt = c.back, happened.clear();
        tickCounter = 1234;
        holdWhilePaused(kScripted);
        EXPECT_EQ(idles, c.idles);
        EXPECT_EQ(happened, c.log);
        EXPECT_EQ(tickCounter, 1234) << "the clock moved by the paused time";
    }
    enablePause(false, false);
}

}  // namespace
