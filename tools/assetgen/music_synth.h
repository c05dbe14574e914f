// Renders a tune's notes into one loop of interleaved stereo floats: simple
// oscillators shaped by envelopes that reach zero at each note's end, so the
// loop joins without a click, plus an optional echo that wraps round the
// loop. Same notes, same samples.
#pragma once

#include "tools/assetgen/music_tunes.h"

#include <vector>

// Returns an empty vector (after printing why) when a note runs past the
// end of the loop.
std::vector<float> renderTune(const Tune& tune);
