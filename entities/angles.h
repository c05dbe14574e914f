// Game angles are whole degrees clockwise on screen from straight down
// (0 down, 90 left, 180 up, 270 right); the library's fixed-point maths and
// rotate_sprite count 256 units per turn.
#pragma once

#include <cstdint>

constexpr double kDegreesPerLibraryUnit = 1.40625;  // 360 / 256

// Degrees to library units, truncated toward zero.
constexpr int32_t degreesToLibraryUnits(double degrees)
{
    return static_cast<int32_t>(degrees / kDegreesPerLibraryUnit);
}
