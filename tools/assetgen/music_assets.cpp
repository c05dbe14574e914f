#include "tools/assetgen/assets.h"

#include "tools/assetgen/music_encoder.h"
#include "tools/assetgen/music_synth.h"
#include "tools/assetgen/music_tunes.h"

namespace {
// Low quality keeps each file small; synthesised tones survive it well.
constexpr float kVorbisQuality = 0.2f;

bool writeTune(const std::string& folder, const Tune& tune)
{
    const std::vector<float> frames = renderTune(tune);
    return !frames.empty()
        && writeOggVorbis(folder + "/" + tune.fileName, frames, kMusicSampleRate, kVorbisQuality, tune.fileName);
}
}

bool writeMusicAssets(const std::string& folder)
{
    return writeTune(folder, mysteryTune()) && writeTune(folder, airshipTune());
}
