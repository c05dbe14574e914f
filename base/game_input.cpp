#include "base/game_input.h"

#include "base/counters.h"
#include "base/game_pad.h"

#include <allegro.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

InputMode mode = InputMode::Live;

// Recording: the frame being read is kept here until its pass is over, so the
// key test that ends the loop (it plays no pass) is never written.
std::vector<InputFrame>* recordTo = nullptr;
InputFrame pending;

// Playback: the frame being played and how far its clock readings are used.
struct Playback {
    const std::vector<InputFrame>* frames = nullptr;
    std::size_t nextFrame = 0;
    const InputFrame* current = nullptr;
    std::size_t runIndex = 0;
    uint32_t readsInRun = 0;
    int64_t clockReads = 0;
    int32_t lastTick = 0;
    int64_t framesPlayed = 0;
    std::string desync;
};
Playback playback;

bool frameOpen = false;

// The action each bit of a frame's key set stands for, by its default key.
PlayAction bitAction(std::size_t bit)
{
    const int scancode = playKeyScancodes()[bit];
    const PlayBindings& defaults = defaultPlayBindings();
    for (int action = 0; action < kPlayActionCount; ++action) {
        for (int bound : defaults[action]) {
            if (bound == scancode) {
                return static_cast<PlayAction>(action);
            }
        }
    }
    return PlayAction::Leave;  // every default key is bound; not reached
}

// The bits standing for an action (two for Backward).
uint16_t actionBits(PlayAction action)
{
    uint16_t bits = 0;
    for (std::size_t bit = 0; bit < playKeyScancodes().size(); ++bit) {
        if (bitAction(bit) == action) {
            bits = static_cast<uint16_t>(bits | 1u << bit);
        }
    }
    return bits;
}

bool actionHeldNow(PlayAction action)
{
    return boundKeyDown(action) || padAction(action);
}

// A read the record cannot hold: one outside a frame. Only a change to the
// rules can cause it, so it stops at once.
[[noreturn]] void unrecordable(const char* what, int value)
{
    std::fprintf(stderr, "glimmerfall: %s %d cannot be recorded or played back\n", what, value);
    std::abort();
}

// An action held sets the first of its bits.
uint16_t keysDownNow()
{
    uint16_t keys = 0;
    for (int action = 0; action < kPlayActionCount; ++action) {
        const uint16_t bits = actionBits(static_cast<PlayAction>(action));
        if (bits != 0 && actionHeldNow(static_cast<PlayAction>(action))) {
            keys = static_cast<uint16_t>(keys | (bits & -bits));
        }
    }
    return keys;
}

void noteRead(int32_t value)
{
    if (!pending.ticks.empty() && pending.ticks.back().value == value &&
        pending.ticks.back().reads < std::numeric_limits<uint16_t>::max()) {
        ++pending.ticks.back().reads;
    } else {
        pending.ticks.push_back({value, 1});
    }
}

int32_t nextRecordedTick()
{
    ++playback.clockReads;
    if (playback.current && playback.runIndex < playback.current->ticks.size()) {
        const TickRun& run = playback.current->ticks[playback.runIndex];
        playback.lastTick = run.value;
        if (++playback.readsInRun == run.reads) {
            ++playback.runIndex;
            playback.readsInRun = 0;
        }
    }
    return playback.lastTick;
}

int64_t recordedReads(const InputFrame& frame)
{
    int64_t reads = 0;
    for (const TickRun& run : frame.ticks) {
        reads += run.reads;
    }
    return reads;
}

}  // namespace

const std::vector<int>& playKeyScancodes()
{
    // At most 16, the bits of a frame's key set; new keys go at the end so
    // that older demos keep their meaning.
    static const std::vector<int> keys = {KEY_ESC,  KEY_T,     KEY_LCONTROL, KEY_ALT,  KEY_LSHIFT, KEY_F1,
                                          KEY_LEFT, KEY_RIGHT, KEY_UP,       KEY_DOWN, KEY_SPACE};
    return keys;
}

bool playAction(PlayAction action)
{
    if (mode == InputMode::Live) {
        return actionHeldNow(action);
    }
    if (mode == InputMode::Recording) {
        if (!frameOpen) {
            unrecordable("a key read outside a frame, action", static_cast<int>(action));
        }
        // Latched when the frame began: a key that changes in the middle of
        // a frame is seen from the next one on, so the frame's one key set
        // is exactly what its rules saw.
        return (pending.keys & actionBits(action)) != 0;
    }
    // Leave stops a playback, and a playback that is over or out of step
    // ends at the loop's next key test.
    if (action == PlayAction::Leave &&
        (actionHeldNow(PlayAction::Leave) || !playback.current || !playback.desync.empty())) {
        return true;
    }
    return playback.current && (playback.current->keys & actionBits(action)) != 0;
}

int32_t playTick()
{
    switch (mode) {
    case InputMode::Live:
        return tickCounter.load();
    case InputMode::Recording: {
        if (!frameOpen) {
            unrecordable("a clock read outside a frame, tick", tickCounter.load());
        }
        const int32_t now = tickCounter.load();
        noteRead(now);
        return now;
    }
    case InputMode::Playback:
        return nextRecordedTick();
    }
    return tickCounter.load();
}

void useLiveInput()
{
    mode = InputMode::Live;
    recordTo = nullptr;
    pending = InputFrame{};
    frameOpen = false;
    playback = Playback{};
}

void recordInputInto(std::vector<InputFrame>& frames)
{
    useLiveInput();
    recordTo = &frames;
    mode = InputMode::Recording;
}

void playInputFrom(const std::vector<InputFrame>& frames)
{
    useLiveInput();
    playback.frames = &frames;
    mode = InputMode::Playback;
}

InputMode inputMode()
{
    return mode;
}

void beginInputFrame()
{
    if (mode == InputMode::Recording) {
        pending = InputFrame{};
        pending.keys = keysDownNow();
        frameOpen = true;
    } else if (mode == InputMode::Playback) {
        const std::vector<InputFrame>& frames = *playback.frames;
        playback.current = playback.nextFrame < frames.size() ? &frames[playback.nextFrame++] : nullptr;
        playback.runIndex = 0;
        playback.readsInRun = 0;
        playback.clockReads = 0;
    }
}

void endInputFrame(uint32_t stateHash)
{
    if (mode == InputMode::Recording) {
        pending.stateHash = stateHash;
        recordTo->push_back(std::move(pending));
        pending = InputFrame{};
        frameOpen = false;
    } else if (mode == InputMode::Playback && playback.current) {
        ++playback.framesPlayed;
        const int64_t expectedReads = recordedReads(*playback.current);
        char what[128];
        if (playback.clockReads != expectedReads) {
            std::snprintf(what, sizeof what,
                          "the clock was read %" PRId64 " times, the recording holds %" PRId64,
                          playback.clockReads, expectedReads);
            noteInputDesync(playback.framesPlayed, what);
        } else if (stateHash != playback.current->stateHash) {
            std::snprintf(what, sizeof what, "the state differs from the recording (%08X, recorded %08X)",
                          stateHash, playback.current->stateHash);
            noteInputDesync(playback.framesPlayed, what);
        }
        playback.current = nullptr;
    }
}

int64_t playedInputFrames()
{
    return playback.framesPlayed;
}

bool inputRecordUsedUp()
{
    return playback.frames && static_cast<std::size_t>(playback.framesPlayed) == playback.frames->size();
}

const std::string& inputDesync()
{
    return playback.desync;
}

void noteInputDesync(int64_t frame, const std::string& what)
{
    if (playback.desync.empty()) {
        playback.desync = "frame " + std::to_string(frame) + ": " + what;
    }
}
