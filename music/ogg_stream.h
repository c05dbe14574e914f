// The stream behind an ALOGG_OGG handle: a decoder over the caller's bytes
// and, while it plays, the library's AUDIOSTREAM it feeds. The refill is the
// work of one poll; the timer calls it, and tests may call it directly.
#pragma once

#include "music/alogg.h"
#include "music/ogg_decoder.h"

#include <allegro.h>

#include <atomic>
#include <cstdint>
#include <mutex>

struct ALOGG_OGG {
    OggDecoder decoder;
    // Held by every refill and by the stop of the audio stream, so that a
    // poll never writes into a stream that is going away.
    std::mutex audioLock;
    AUDIOSTREAM* audio = nullptr;
    long fragmentFrames = 0;  // frames handed over per stream buffer
    bool loop = false;
    bool ended = false;       // an unlooped piece has run out
    bool polling = false;     // the timer callback is installed (main thread only)
    // Buffers handed to the library so far; read from any thread.
    std::atomic<long> buffersFed{0};
};

// Writes the stream's next fragment (fragmentFrames frames) into samples:
// the next decoded frames, then silence past the end of an unlooped piece.
void fillOggFragment(ALOGG_OGG& ogg, std::uint16_t* samples);

// Fills every stream buffer that the library is ready to take; returns how
// many were filled. Past the end of an unlooped piece it feeds silence.
// Nothing is filled while the streams are held.
int refillOggStream(ALOGG_OGG* ogg);

// Holds every stream, or lets them go: the library starts a stream's voice
// again whenever a buffer is handed over, so a voice stopped for a pause
// stays stopped only while its stream is not fed. Once this returns no
// refill is under way.
void holdOggStreams(bool held);
