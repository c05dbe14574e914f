#include "music/alogg.h"

#include "music/ogg_stream.h"

#include <allegro.h>

#include <algorithm>
#include <climits>

namespace {
constexpr int kBitsPerSample = 16;
constexpr int kBytesPerSample = kBitsPerSample / 8;
constexpr int kNormalSpeed = 1000;
constexpr int kMaxLevel = 255;
// Larger buffers add nothing but delay, and the library's sample sizes are
// plain ints; a cap keeps them far from overflowing.
constexpr int kMaxBufferBytes = 1 << 20;

bool digitalSoundPlays()
{
    return digi_driver != nullptr && digi_driver->id != DIGI_NONE;
}

void pollFromTimer(void* param)
{
    refillOggStream(static_cast<ALOGG_OGG*>(param));
}

void stopPolling(ALOGG_OGG* ogg)
{
    if (ogg->polling) {
        // The library waits for a running callback before this returns, so
        // after it no poll is under way or to come. It must not be called
        // with audioLock held: the callback may be waiting for that lock.
        remove_param_int(pollFromTimer, ogg);
        ogg->polling = false;
    }
}
}

ALOGG_OGG* alogg_create_ogg_from_buffer(void* data, int dataLength)
{
    if (data == nullptr || dataLength <= 0) {
        return nullptr;
    }
    auto* ogg = new ALOGG_OGG;
    if (!ogg->decoder.open(static_cast<const unsigned char*>(data), static_cast<std::size_t>(dataLength))) {
        delete ogg;
        return nullptr;
    }
    return ogg;
}

int alogg_play_ex_ogg(ALOGG_OGG* ogg, int bufferLength, int volume, int pan, int speed, int loop)
{
    if (ogg == nullptr || bufferLength <= 0 || speed <= 0 || !digitalSoundPlays()) {
        return -1;
    }
    alogg_stop_ogg(ogg);
    const int channels = ogg->decoder.channels();
    const long frames = std::min(bufferLength, kMaxBufferBytes) / (channels * kBytesPerSample);
    if (frames <= 0 || channels > 2 || !ogg->decoder.rewind()) {
        return -1;
    }
    // Speed is played as a change of rate, which shifts the pitch with it.
    const long long rate = static_cast<long long>(ogg->decoder.sampleRate()) * speed / kNormalSpeed;
    if (rate <= 0 || rate > INT_MAX) {
        return -1;
    }
    AUDIOSTREAM* audio = play_audio_stream(static_cast<int>(frames), kBitsPerSample, channels == 2,
                                           static_cast<int>(rate), std::clamp(volume, 0, kMaxLevel),
                                           std::clamp(pan, 0, kMaxLevel));
    if (audio == nullptr) {
        return -1;
    }
    {
        std::lock_guard<std::mutex> guard(ogg->audioLock);
        ogg->audio = audio;
        ogg->fragmentFrames = frames;
        ogg->loop = loop != 0;
        ogg->ended = false;
    }
    // Music from the first buffer on, rather than silence until a poll.
    refillOggStream(ogg);
    return 0;
}

int alogg_start_autopoll_ogg(ALOGG_OGG* ogg, int intervalMs)
{
    if (ogg == nullptr || intervalMs <= 0 || timer_driver == nullptr) {
        return -1;
    }
    {
        std::lock_guard<std::mutex> guard(ogg->audioLock);
        if (ogg->audio == nullptr) {
            return -1;
        }
    }
    stopPolling(ogg);
    if (install_param_int(pollFromTimer, ogg, intervalMs) != 0) {
        return -1;
    }
    ogg->polling = true;
    return 0;
}

void alogg_set_volume_ogg(ALOGG_OGG* ogg, int volume)
{
    if (ogg == nullptr) {
        return;
    }
    std::lock_guard<std::mutex> guard(ogg->audioLock);
    if (ogg->audio != nullptr) {
        voice_set_volume(ogg->audio->voice, std::clamp(volume, 0, kMaxLevel));
    }
}

void alogg_stop_ogg(ALOGG_OGG* ogg)
{
    if (ogg == nullptr) {
        return;
    }
    stopPolling(ogg);
    std::lock_guard<std::mutex> guard(ogg->audioLock);
    if (ogg->audio != nullptr) {
        stop_audio_stream(ogg->audio);
        ogg->audio = nullptr;
    }
}

void alogg_destroy_ogg(ALOGG_OGG* ogg)
{
    if (ogg == nullptr) {
        return;
    }
    alogg_stop_ogg(ogg);
    delete ogg;
}
