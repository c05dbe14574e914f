// The game's pictures, each drawn into a new 32-bit bitmap with magenta
// wherever it is transparent. Strips hold their frames side by side in one
// row. The caller saves and destroys them.
#pragma once

struct BITMAP;

namespace pictures {

constexpr int kCartFrame = 32;
constexpr int kCartFrames = 2;    // along the vertical track, along the horizontal
constexpr int kTurretFrames = 8;  // the game shows frame 0
constexpr int kOrbFrame = 16;
constexpr int kOrbFrames = 4;
constexpr int kAlienFrame = 128;
constexpr int kAlienFrames = 5;
constexpr int kDomeFrame = 128;
constexpr int kDomeFrames = 4;
constexpr int kPanelWidth = 640;
constexpr int kPanelHeight = 480;
constexpr int kFaceSize = 80;     // fits the face box at (13, 390) above the bottom edge

BITMAP* cartStrip();
BITMAP* turretStrip();
BITMAP* gunPicture();  // barrel pointing down: the game rotates it
BITMAP* orbStrip();
BITMAP* alienStrip();
BITMAP* domeStrip();
BITMAP* panelPicture();
BITMAP* facePicture();

}  // namespace pictures
