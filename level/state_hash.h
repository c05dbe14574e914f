// One number for the state of a level in play: the cart, the orbs, the
// monsters, the domes, the score, the time and the camera. Demos keep it for
// every frame, so a playback that goes its own way is caught where it starts.
#pragma once

#include <cstdint>

class Level;

uint32_t levelStateHash(const Level& level);
