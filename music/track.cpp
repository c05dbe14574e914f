#include "music/track.h"

#include "music/alogg.h"

#include <allegro.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {
constexpr int kStreamBufferBytes = 65536;
constexpr int kFullVolume = 255;
constexpr int kCentrePan = 127;
constexpr int kNormalSpeed = 1000;
constexpr int kLooped = 1;
constexpr int kPollIntervalMs = 25;

constexpr const char* kCannotOpenMessage = "uh oh...";
constexpr const char* kNoStreamMessage = "death";

void showWithLibrary(const char* text)
{
    allegro_message("%s", text);
}

int musicPercent = kFullMusicVolume;
bool muted = false;
std::vector<ALOGG_OGG*> playingStreams;

int streamVolume()
{
    return muted ? 0 : kFullVolume * musicPercent / kFullMusicVolume;
}

void applyVolume()
{
    for (ALOGG_OGG* stream : playingStreams) {
        alogg_set_volume_ogg(stream, streamVolume());
    }
}

void forgetStream(ALOGG_OGG* stream)
{
    for (auto it = playingStreams.begin(); it != playingStreams.end(); ++it) {
        if (*it == stream) {
            playingStreams.erase(it);
            return;
        }
    }
}
}  // namespace

void setMusicVolume(int percent)
{
    musicPercent = percent;
    applyVolume();
}

void toggleMusicMute()
{
    muted = !muted;
    applyVolume();
}

bool musicMuted()
{
    return muted;
}

MusicMessageSink musicMessageSink = showWithLibrary;
bool musicEnabled = true;

MusicTrack startMusicTrack(const char* fileName)
{
    MusicTrack track;
    if (!musicEnabled) {
        return track;
    }
    // A missing file measures 0 bytes and leaves an empty buffer, from which
    // no stream can be made.
    const std::uint64_t bytes = file_size_ex(fileName);
    // The stream takes an int length; anything longer is no music of ours.
    track.size = bytes <= static_cast<std::uint64_t>(INT_MAX) ? static_cast<long>(bytes) : 0;
    // One byte more than asked keeps calloc from handing back null for 0.
    track.buffer = static_cast<unsigned char*>(std::calloc(static_cast<std::size_t>(track.size) + 1, 1));
    if (track.buffer == nullptr) {
        track.size = 0;
    }
    track.file = std::fopen(fileName, "rb");
    if (track.file == nullptr) {
        musicMessageSink(kCannotOpenMessage);
    } else if (track.buffer != nullptr) {
        // A file that shrank since it was measured gives the stream what it still holds.
        track.size = static_cast<long>(std::fread(track.buffer, 1, static_cast<std::size_t>(track.size), track.file));
    }
    track.stream = alogg_create_ogg_from_buffer(track.buffer, static_cast<int>(track.size));
    if (track.stream == nullptr) {
        musicMessageSink(kNoStreamMessage);
        return track;
    }
    // Without a digital driver both fail quietly and the game plays on in
    // silence, as it does after the sound fallback.
    alogg_play_ex_ogg(track.stream, kStreamBufferBytes, streamVolume(), kCentrePan, kNormalSpeed, kLooped);
    playingStreams.push_back(track.stream);
    alogg_start_autopoll_ogg(track.stream, kPollIntervalMs);
    return track;
}

void stopMusicTrack(const MusicTrack& track)
{
    alogg_stop_ogg(track.stream);
}

void releaseMusicTrack(MusicTrack& track)
{
    forgetStream(track.stream);
    alogg_destroy_ogg(track.stream);
    track.stream = nullptr;
    std::free(track.buffer);
    track.buffer = nullptr;
    if (track.file != nullptr) {
        std::fclose(track.file);
        track.file = nullptr;
    }
    track.size = 0;
}
