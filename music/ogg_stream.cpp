#include "music/ogg_stream.h"

#include <algorithm>
#include <cstdint>

namespace {
// The library's 16-bit samples are unsigned: this is the flat line.
constexpr std::uint16_t kSilence = 0x8000;

// Taken by every refill before its stream's own lock.
std::mutex holdLock;
bool streamsHeld = false;
}

void fillOggFragment(ALOGG_OGG& ogg, std::uint16_t* samples)
{
    long frames = 0;
    if (!ogg.ended) {
        frames = ogg.decoder.read(samples, ogg.fragmentFrames, ogg.loop);
        ogg.ended = frames < ogg.fragmentFrames;
    }
    const long channels = ogg.decoder.channels();
    std::fill(samples + frames * channels, samples + ogg.fragmentFrames * channels, kSilence);
}

int refillOggStream(ALOGG_OGG* ogg)
{
    if (ogg == nullptr) {
        return 0;
    }
    std::lock_guard<std::mutex> hold(holdLock);
    std::lock_guard<std::mutex> guard(ogg->audioLock);
    AUDIOSTREAM* audio = ogg->audio;
    if (audio == nullptr || streamsHeld) {
        return 0;
    }
    // The stream never holds more than two halves of bufcount buffers, so a
    // poll cannot find more than that ready.
    const int mostReady = 2 * std::max(audio->bufcount, 1);
    int filled = 0;
    while (filled < mostReady) {
        auto* samples = static_cast<std::uint16_t*>(get_audio_stream_buffer(audio));
        if (samples == nullptr) {
            break;
        }
        fillOggFragment(*ogg, samples);
        free_audio_stream_buffer(audio);
        ++filled;
        ++ogg->buffersFed;
    }
    return filled;
}

void holdOggStreams(bool held)
{
    std::lock_guard<std::mutex> hold(holdLock);
    streamsHeld = held;
}
