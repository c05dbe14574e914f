#include "level/demo_run.h"

#include "base/game_input.h"
#include "level/level.h"
#include "level/screens.h"
#include "level/state_hash.h"
#include "base/version.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace {

void (*liveWait)() = nullptr;  // the page wait a playback has set aside

void noWait() {}

CarriedState carriedFrom(const Level& level)
{
    CarriedState carried;
    carried.lastFireTick = level.lastFireTick;
    carried.lastScoreTick = level.lastScoreTick;
    carried.backEnginesOn = level.backEnginesOn;
    carried.frontEnginesOn = level.frontEnginesOn;
    carried.aimLockKeyHeld = level.aimLockKeyHeld;
    return carried;
}

void restoreCarried(Level& level, const CarriedState& carried)
{
    level.lastFireTick = carried.lastFireTick;
    level.lastScoreTick = carried.lastScoreTick;
    level.backEnginesOn = carried.backEnginesOn;
    level.frontEnginesOn = carried.frontEnginesOn;
    level.aimLockKeyHeld = carried.aimLockKeyHeld;
}

DemoOutcome outcomeOf(const Level& level, int64_t frames)
{
    return {frames, level.score, level.secondsPlayed, levelStateHash(level)};
}

}  // namespace

std::string demoEndLine(const std::string& file, const DemoOutcome& outcome)
{
    char counts[128];
    std::snprintf(counts, sizeof counts, ": %" PRId64 " frames, score %" PRId32 ", time %" PRId32 ", state %08X",
                  outcome.frames, outcome.score, outcome.secondsPlayed, outcome.stateHash);
    return "demo " + file + counts;
}

void startRecording(Level& level, const char* map, uint32_t seed, Demo& demo)
{
    DemoHeader& header = demo.header;
    header.mapName = map;
    // A map that cannot be read ends the program in begin(), as ever.
    mapChecksum(map, header.mapChecksum);
    header.seed = seed;
    header.programVersion = gameVersion();
    header.carried = carriedFrom(level);
    demo.frames.clear();

    std::srand(seed);
    recordInputInto(demo.frames);
    level.begin(map);
    header.startHash = levelStateHash(level);
}

DemoOutcome finishRecording(Level& level, const Demo& demo)
{
    DemoOutcome outcome = outcomeOf(level, static_cast<int64_t>(demo.frames.size()));
    // The state the demo holds is its last whole frame's: a recording cut
    // short from a page (a close or a signal) is in the middle of a frame
    // the demo never gets, and its playback ends where the frames do.
    outcome.stateHash = demo.frames.empty() ? demo.header.startHash : demo.frames.back().stateHash;
    level.end();
    useLiveInput();
    return outcome;
}

void startPlayback(Level& level, const Demo& demo)
{
    restoreCarried(level, demo.header.carried);
    std::srand(demo.header.seed);
    liveWait = waitForEscPressAndRelease;
    waitForEscPressAndRelease = noWait;
    playInputFrom(demo.frames);
    level.begin(demo.header.mapName.c_str());
    const uint32_t built = levelStateHash(level);
    if (built != demo.header.startHash) {
        char what[96];
        std::snprintf(what, sizeof what, "the level is built otherwise than recorded (%08X, recorded %08X)", built,
                      demo.header.startHash);
        noteInputDesync(0, what);
    }
}

PlaybackResult finishPlayback(Level& level)
{
    PlaybackResult result;
    result.outcome = outcomeOf(level, playedInputFrames());
    result.desync = inputDesync();
    result.complete = result.desync.empty() && inputRecordUsedUp();
    level.end();
    waitForEscPressAndRelease = liveWait;
    useLiveInput();
    return result;
}

DemoOutcome recordRun(Level& level, const char* map, uint32_t seed, Demo& demo)
{
    startRecording(level, map, seed, demo);
    level.playUntilEnd();
    return finishRecording(level, demo);
}

PlaybackResult playDemo(Level& level, const Demo& demo)
{
    startPlayback(level, demo);
    level.playUntilEnd();
    return finishPlayback(level);
}
