// The two maps of the game. "level1.fmp" is the full level: 16-bit
// graphics, values high byte first, layers run-length coded with
// back-copies, a second layer of overlays (trees, bridges) that carries the
// same track flags, and animated water and lamps. "test.fmp" is the small
// proving ground: 8-bit graphics with a palette, values low byte first,
// references as byte offsets, one layer, stored packed. Between them they
// exercise most of the loader.
#include "tools/assetgen/assets.h"

#include "tools/assetgen/fmp_writer.h"
#include "tools/assetgen/map_layout.h"
#include "tools/assetgen/map_tiles.h"
#include "tools/assetgen/map_track_rule.h"
#include "tools/assetgen/picture_canvas.h"

#include <cstdio>

namespace {

using layout::Area;
using layout::Decoration;
using layout::Plan;

// Block numbers, shared by both maps.
enum Block : int {
    kBlockEmpty = 0,          // transparent, no ways: most of layer 1
    kBlockTrackOverlayFirst = 1,  // transparent with ways 1..15: layer 1 over the track
    kBlockTrackFirst = 16,    // the track pieces with ways 1..15
    kBlockGrassFirst = 31,
    kBlockFlowers = 34,
    kBlockRock = 35,
    kBlockBush = 36,
    kBlockWaterFirst = 37,
    kBlockLampOff = 40,
    kBlockLampOn = 41,
    kBlockWaterUnderBridgeAcross = 42,
    kBlockWaterUnderBridgeAlong = 43,
    kBlockBridgeAcross = 44,
    kBlockBridgeAlong = 45,
    kBlockTreeOverlayFirst = 46,  // trees as layer-1 overlays
    kBlockTreeOnGrassFirst = 48,  // trees as foregrounds over grass (one-layer maps)
    kBlockShoreFirst = 50,        // grass with beaches, by the sides that face water (1..15)
    kBlockShoreCornerFirst = 65,  // grass with a beach in the corner that touches water
    kBlockCount = 69,
};

constexpr uint8_t kAcross = layout::kLeft | layout::kRight;
constexpr uint8_t kAlong = layout::kUp | layout::kDown;
constexpr int kMaxWays = 15;

// Animation references in layer cells: -1 the last animation, -2 the one before.
constexpr fmp::Cell kAnimWater = -2;
constexpr fmp::Cell kAnimLamp = -1;
// Water ripples from its first frame; the lamp animation (type 2) starts on
// its last frame, so the lamps show lit.
constexpr int8_t kAnimForward = 1;
constexpr int8_t kAnimStartsOnLast = 2;

std::vector<fmp::Block> blocks()
{
    std::vector<fmp::Block> list(kBlockCount);
    auto set = [&list](int block, int back, uint8_t flags = 0, int fore = 0) {
        list[block].back = back;
        list[block].fore1 = fore;
        list[block].flags = flags;
    };
    set(kBlockEmpty, tiles::kEmpty);
    for (int ways = 1; ways <= kMaxWays; ++ways) {
        set(kBlockTrackOverlayFirst + ways - 1, tiles::kEmpty, static_cast<uint8_t>(ways));
        set(kBlockTrackFirst + ways - 1, tiles::trackGraphic(static_cast<uint8_t>(ways)), static_cast<uint8_t>(ways));
    }
    for (int i = 0; i < tiles::kGrassVariants; ++i) {
        set(kBlockGrassFirst + i, tiles::kGrassFirst + i);
    }
    set(kBlockFlowers, tiles::kGrassFirst, 0, tiles::kFlowers);
    set(kBlockRock, tiles::kGrassFirst + 1, 0, tiles::kRock);
    set(kBlockBush, tiles::kGrassFirst + 2, 0, tiles::kBush);
    for (int i = 0; i < tiles::kWaterFrames; ++i) {
        set(kBlockWaterFirst + i, tiles::kWaterFirst + i);
    }
    set(kBlockLampOff, tiles::kLampOff);
    set(kBlockLampOn, tiles::kLampOn);
    set(kBlockWaterUnderBridgeAcross, tiles::kWaterFirst, kAcross);
    set(kBlockWaterUnderBridgeAlong, tiles::kWaterFirst, kAlong);
    set(kBlockBridgeAcross, tiles::kBridgeAcross, kAcross);
    set(kBlockBridgeAlong, tiles::kBridgeAlong, kAlong);
    for (int i = 0; i < tiles::kTreeVariants; ++i) {
        set(kBlockTreeOverlayFirst + i, tiles::kTreeFirst + i);
        set(kBlockTreeOnGrassFirst + i, tiles::kGrassFirst + i, 0, tiles::kTreeFirst + i);
    }
    for (int sides = 1; sides <= kMaxWays; ++sides) {
        set(kBlockShoreFirst + sides - 1, tiles::shoreGraphic(static_cast<uint8_t>(sides)));
    }
    for (int corner = 0; corner < 4; ++corner) {
        set(kBlockShoreCornerFirst + corner, tiles::kShoreCornerFirst + corner);
    }
    return list;
}

std::vector<fmp::Animation> animations()
{
    fmp::Animation water;
    water.type = kAnimForward;
    for (int i = 0; i < tiles::kWaterFrames; ++i) {
        water.frames.push_back(kBlockWaterFirst + i);
    }
    fmp::Animation lamp;
    lamp.type = kAnimStartsOnLast;
    lamp.frames = {kBlockLampOff, kBlockLampOn};
    return {water, lamp};  // the order kAnimWater and kAnimLamp count back from
}

fmp::Cell grassAt(int x, int y)
{
    return static_cast<fmp::Cell>(kBlockGrassFirst + canvas::noise(77, x, y, tiles::kGrassVariants));
}

// Layer 0 of a plan. With `overlays` the trees and bridges go to layer 1
// (built by overlayLayer); without, trees stand on the ground as
// foregrounds and a bridge is drawn in this layer.
std::vector<fmp::Cell> groundLayer(const Plan& plan, bool overlays)
{
    std::vector<fmp::Cell> cells;
    for (int y = 0; y < plan.height(); ++y) {
        for (int x = 0; x < plan.width(); ++x) {
            const uint8_t ways = plan.ways(x, y);
            fmp::Cell cell = grassAt(x, y);
            if (plan.water(x, y)) {
                if (ways == 0) {
                    cell = kAnimWater;
                } else if (overlays) {
                    cell = ways == kAcross ? kBlockWaterUnderBridgeAcross : kBlockWaterUnderBridgeAlong;
                } else {
                    cell = ways == kAcross ? kBlockBridgeAcross : kBlockBridgeAlong;
                }
            } else if (ways != 0) {
                cell = static_cast<fmp::Cell>(kBlockTrackFirst + ways - 1);
            } else if (const uint8_t shore = plan.waterSides(x, y)) {
                cell = static_cast<fmp::Cell>(kBlockShoreFirst + shore - 1);
            } else if (plan.waterCorner(x, y) >= 0) {
                cell = static_cast<fmp::Cell>(kBlockShoreCornerFirst + plan.waterCorner(x, y));
            } else {
                switch (plan.decoration(x, y)) {
                case Decoration::Flowers:
                    cell = kBlockFlowers;
                    break;
                case Decoration::Rock:
                    cell = kBlockRock;
                    break;
                case Decoration::Bush:
                    cell = kBlockBush;
                    break;
                case Decoration::Lamp:
                    cell = kAnimLamp;
                    break;
                case Decoration::Tree:
                case Decoration::OtherTree:
                    if (!overlays) {
                        cell = static_cast<fmp::Cell>(
                            kBlockTreeOnGrassFirst + (plan.decoration(x, y) == Decoration::Tree ? 0 : 1));
                    }
                    break;
                case Decoration::None:
                    break;
                }
            }
            cells.push_back(cell);
        }
    }
    return cells;
}

// Layer 1: transparent except for trees and bridges, with the track's ways
// in every track cell so the cart, which reads this layer during play,
// finds the same track as on the ground.
std::vector<fmp::Cell> overlayLayer(const Plan& plan)
{
    std::vector<fmp::Cell> cells;
    for (int y = 0; y < plan.height(); ++y) {
        for (int x = 0; x < plan.width(); ++x) {
            const uint8_t ways = plan.ways(x, y);
            fmp::Cell cell = kBlockEmpty;
            if (ways != 0 && plan.water(x, y)) {
                cell = ways == kAcross ? kBlockBridgeAcross : kBlockBridgeAlong;
            } else if (ways != 0) {
                cell = static_cast<fmp::Cell>(kBlockTrackOverlayFirst + ways - 1);
            } else if (plan.decoration(x, y) == Decoration::Tree) {
                cell = kBlockTreeOverlayFirst;
            } else if (plan.decoration(x, y) == Decoration::OtherTree) {
                cell = kBlockTreeOverlayFirst + 1;
            }
            cells.push_back(cell);
        }
    }
    return cells;
}

// Dome ground: the dome's 4 x 4 cells and one cell around them stay bare.
Area domeGround(int left, int top)
{
    constexpr int kDomeCells = 4;
    return Area{left - 1, top - 1, left + kDomeCells, top + kDomeCells};
}

// Level 1, 48 x 36: an outer loop, two cross lines, a line past the dome
// with a siding, a river with three bridges, a pond and lamps at the
// junctions. The cart starts at (5, 4) on the left side of the loop; the
// dome stands on cells (9..12, 5..8).
Plan levelOnePlan()
{
    Plan plan(48, 36);
    plan.addWater(Area{33, 0, 34, 35});  // the river, top to bottom
    plan.addWater(Area{37, 6, 40, 9});   // a pond
    plan.addTrack(5, 2, 42, 2);
    plan.addTrack(42, 2, 42, 32);
    plan.addTrack(42, 32, 5, 32);
    plan.addTrack(5, 32, 5, 2);
    plan.addTrack(5, 10, 30, 10);  // past the dome, ending at a buffer stop
    plan.addTrack(15, 2, 15, 10);
    plan.addTrack(24, 10, 24, 32);
    plan.addTrack(5, 20, 42, 20);
    plan.addTrack(42, 26, 37, 26);  // sidings
    plan.addTrack(15, 20, 15, 26);
    plan.keepClear(domeGround(9, 5));
    for (auto [x, y] : {std::pair{4, 3}, {16, 3}, {41, 3}, {43, 21}, {23, 11}, {25, 31}, {13, 11}, {31, 9}}) {
        plan.place(x, y, Decoration::Lamp);
    }
    plan.scatter(1, 9, true);
    return plan;
}

// Test map, 40 x 30: a loop with a cross line below the dome, a line to
// its right and two sidings, and a pond. The cart starts at (10, 11); the
// dome stands on cells (20..23, 15..18).
Plan testPlan()
{
    Plan plan(40, 30);
    plan.addWater(Area{14, 15, 17, 18});
    plan.addTrack(10, 5, 30, 5);
    plan.addTrack(30, 5, 30, 24);
    plan.addTrack(30, 24, 10, 24);
    plan.addTrack(10, 24, 10, 5);
    plan.addTrack(10, 12, 18, 12);
    plan.addTrack(26, 5, 26, 24);
    plan.addTrack(10, 21, 26, 21);
    plan.addTrack(30, 14, 36, 14);
    plan.keepClear(domeGround(20, 15));
    plan.place(9, 4, Decoration::Lamp);
    plan.place(31, 25, Decoration::Lamp);
    plan.scatter(2, 8, true);
    return plan;
}

bool checkTrack(const char* name, const Plan& plan)
{
    std::vector<uint8_t> ways;
    for (int y = 0; y < plan.height(); ++y) {
        for (int x = 0; x < plan.width(); ++x) {
            ways.push_back(plan.ways(x, y));
        }
    }
    const auto faults = trackrule::trackFaults(plan.width(), plan.height(), ways);
    for (const auto& fault : faults) {
        std::fprintf(stderr, "assetgen: %s: %s\n", name, fault.c_str());
    }
    return faults.empty();
}

bool writeMap(const std::string& folder, const char* name, const fmp::Map& map, bool packed)
{
    std::string error;
    const std::vector<uint8_t> bytes = fmp::encode(map, &error);
    if (bytes.empty()) {
        std::fprintf(stderr, "assetgen: %s: %s\n", name, error.c_str());
        return false;
    }
    if (!fmp::writeFile(folder + "/" + name, bytes, packed)) {
        std::fprintf(stderr, "assetgen: cannot write %s/%s\n", folder.c_str(), name);
        return false;
    }
    return true;
}

fmp::Map mapOf(const Plan& plan, const std::vector<std::vector<uint32_t>>& graphics, int depth, bool littleEndian,
              int encodingType, std::vector<std::vector<fmp::Cell>> layers)
{
    fmp::Map map;
    map.width = plan.width();
    map.height = plan.height();
    map.depth = depth;
    map.littleEndian = littleEndian;
    map.encodingType = encodingType;
    map.graphics = graphics;
    map.blocks = blocks();
    map.animations = animations();
    map.layers = std::move(layers);
    return map;
}

}  // namespace

bool writeMapAssets(const std::string& folder)
{
    if (!canvas::start()) {
        return false;
    }
    const auto graphics = tiles::drawAll();

    const Plan levelOne = levelOnePlan();
    const Plan proving = testPlan();
    // Between them the two maps use different parts of the format: 16-bit
    // graphics, high byte first, back-copied runs and an overlay layer in
    // one; a palette, low byte first, byte offsets and one layer in the other.
    const fmp::Map level = mapOf(levelOne, graphics, 16, false, 3,
                                 {groundLayer(levelOne, true), overlayLayer(levelOne)});
    const fmp::Map test = mapOf(proving, graphics, 8, true, 0, {groundLayer(proving, false)});

    return checkTrack("level1.fmp", levelOne) && checkTrack("test.fmp", proving) &&
           writeMap(folder, "level1.fmp", level, false) && writeMap(folder, "test.fmp", test, true);
}
