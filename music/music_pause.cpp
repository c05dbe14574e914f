#include "music/music_pause.h"

#include <allegro.h>
#include <allegro/internal/aintern.h>

#include <vector>

#include "music/ogg_stream.h"

namespace {
std::vector<int> pausedVoices;  // stopped by the pause, started again by the resume
}

void pauseMusic()
{
    if (digi_driver == nullptr || !pausedVoices.empty()) {
        return;
    }
    holdOggStreams(true);
    for (int voice = 0; voice < VIRTUAL_VOICES; ++voice) {
        if (voice_check(voice) != nullptr && voice_get_position(voice) >= 0) {
            voice_stop(voice);
            pausedVoices.push_back(voice);
        }
    }
}

void resumeMusic()
{
    for (int voice : pausedVoices) {
        voice_start(voice);
    }
    pausedVoices.clear();
    holdOggStreams(false);
}
