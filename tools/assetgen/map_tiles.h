// The tile graphics both maps are built from, drawn with the library:
// grass, track pieces for every combination of ways out, water frames,
// bridges, lamps and the overlays and foregrounds that decorate the ground.
#pragma once

#include <cstdint>
#include <vector>

namespace tiles {

constexpr int kSize = 32;

// Graphic numbers. Graphic 0 is wholly transparent: the empty overlay.
enum Graphic : int {
    kEmpty = 0,
    kTrackFirst = 1,  // kTrackFirst + ways - 1 for ways 1..15 (bits up, down, left, right)
    kGrassFirst = 16,
    kGrassVariants = 3,
    kFlowers = 19,     // foregrounds on transparent ground
    kRock = 20,
    kBush = 21,
    kWaterFirst = 22,  // three frames of rippling water
    kWaterFrames = 3,
    kLampOff = 25,
    kLampOn = 26,
    kBridgeAcross = 27,  // planks carrying a left-right track over water
    kBridgeAlong = 28,   // planks carrying an up-down track
    kTreeFirst = 29,     // two tree tops, transparent around the canopy
    kTreeVariants = 2,
    kShoreFirst = 31,  // kShoreFirst + sides - 1: grass with a beach on the sides (bits as ways) facing water
    kShoreCornerFirst = 46,  // grass with a beach in one corner that touches water: up-left, up-right,
                             // down-left, down-right
    kGraphicCount = 50,
};

inline int trackGraphic(uint8_t ways)
{
    return kTrackFirst + ways - 1;
}

inline int shoreGraphic(uint8_t waterSides)
{
    return kShoreFirst + waterSides - 1;
}

// Every graphic as kSize x kSize pixels of 0xRRGGBB, in number order.
// Needs the library started (canvas::start).
std::vector<std::vector<uint32_t>> drawAll();

}  // namespace tiles
