// Demo files: a header that says how to build the level again (the map and
// a checksum of its bytes, the random seed, what the previous run left in the
// level), then one record per frame of what the frame read and the state it
// left. docs/DEMO-FORMAT.md lays out the bytes. A file is read and checked
// whole before anything plays.
#pragma once

#include "base/game_input.h"

#include <cstdint>
#include <string>
#include <vector>

// What a run takes over from the run before it in the same process: the
// level does not reset these, so a recording of a second map keeps them.
struct CarriedState {
    int32_t lastFireTick = 0;
    int32_t lastScoreTick = 0;
    bool backEnginesOn = false;
    bool frontEnginesOn = false;
    bool aimLockKeyHeld = false;
};

struct DemoHeader {
    std::string mapName;   // as the level was given it
    uint32_t mapChecksum = 0;
    uint32_t seed = 0;     // given to srand before the level was built
    std::string programVersion;
    CarriedState carried;
    uint32_t startHash = 0;  // the state of the level as built, before frame 1
};

struct Demo {
    DemoHeader header;
    std::vector<InputFrame> frames;
};

constexpr uint16_t kDemoFormatVersion = 1;

std::string encodeDemo(const Demo& demo);
// Reads and checks a whole demo; on a fault, false and one line in `error`
// saying what is wrong (the frame, where a frame is at fault).
bool decodeDemo(const std::string& bytes, Demo& demo, std::string& error);

// The checksum a demo keeps of its map's bytes; false if it cannot be read.
bool mapChecksum(const std::string& mapName, uint32_t& checksum);

// A demo file read, checked and its map checked (there, and the same bytes
// as when recorded). On a fault: false and "demo PATH: what is wrong".
bool loadDemo(const std::string& path, Demo& demo, std::string& error);
bool saveDemo(const std::string& path, const Demo& demo, std::string& error);
