// Drawing surface for the generated pictures and tile graphics: the library
// started without a display at 32 bits, the game's shared palette, and the
// few helpers every picture uses (magenta canvases, shading, saving).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct BITMAP;

namespace canvas {

// Starts the library once (no display) in 32-bit colour; false on failure.
bool start();

struct Rgb {
    int r, g, b;
};

// One palette for the whole game, so sprites, tiles and panel belong together.
namespace colour {
constexpr Rgb kMask{255, 0, 255};
constexpr Rgb kOutline{24, 20, 28};
constexpr Rgb kGrass{74, 140, 60};
constexpr Rgb kGrassDark{56, 112, 48};
constexpr Rgb kGrassLight{104, 168, 76};
constexpr Rgb kGravel{150, 140, 120};
constexpr Rgb kGravelDark{118, 110, 94};
constexpr Rgb kGravelLight{178, 170, 150};
constexpr Rgb kWood{120, 80, 46};
constexpr Rgb kWoodDark{78, 52, 30};
constexpr Rgb kWoodLight{160, 116, 70};
constexpr Rgb kSteel{206, 210, 218};
constexpr Rgb kSteelDark{104, 110, 124};
constexpr Rgb kWater{40, 96, 168};
constexpr Rgb kWaterDeep{28, 70, 130};
constexpr Rgb kWaterLight{90, 150, 210};
constexpr Rgb kFoam{190, 226, 244};
constexpr Rgb kSand{212, 190, 130};
constexpr Rgb kSandWet{150, 128, 88};
constexpr Rgb kLeaf{40, 112, 52};
constexpr Rgb kLeafDark{24, 72, 36};
constexpr Rgb kLeafLight{78, 156, 72};
constexpr Rgb kStone{134, 134, 142};
constexpr Rgb kStoneDark{88, 88, 98};
constexpr Rgb kStoneLight{176, 176, 184};
constexpr Rgb kYellow{244, 206, 64};
constexpr Rgb kAmber{255, 160, 40};
constexpr Rgb kRed{210, 54, 48};
constexpr Rgb kRedDark{130, 30, 30};
constexpr Rgb kWhite{240, 240, 236};
constexpr Rgb kCyan{90, 230, 240};
constexpr Rgb kCyanDark{30, 130, 160};
constexpr Rgb kPanel{52, 56, 70};
constexpr Rgb kPanelDark{30, 32, 42};
constexpr Rgb kPanelLight{96, 102, 122};
constexpr Rgb kSkin{226, 176, 136};
constexpr Rgb kSkinDark{170, 118, 86};
constexpr Rgb kPurple{120, 60, 140};
constexpr Rgb kPurpleDark{70, 30, 86};
constexpr Rgb kPurpleLight{170, 110, 190};
constexpr Rgb kToxic{150, 230, 60};
}  // namespace colour

int col(Rgb c);
// c mixed towards d by t (0 = c, 1 = d).
Rgb mix(Rgb c, Rgb d, double t);

// A new w x h 32-bit bitmap filled with the mask colour.
BITMAP* blank(int w, int h);
// The bitmap's pixels as 0xRRGGBB, row by row.
std::vector<uint32_t> pixels(BITMAP* bitmap);
// Saves as BMP; prints why and returns false on failure.
bool save(BITMAP* bitmap, const std::string& path);

// Deterministic noise in 0..n-1 for pixel (x, y) of picture `seed`.
int noise(int seed, int x, int y, int n);

// A filled circle with a one-pixel outline.
void outlinedCircle(BITMAP* bitmap, int x, int y, int r, Rgb fill, Rgb outline);
// A filled ellipse shaded from a light upper-left to a dark lower-right.
void shadedEllipse(BITMAP* bitmap, int x, int y, int rx, int ry, Rgb light, Rgb mid, Rgb dark);

}  // namespace canvas
