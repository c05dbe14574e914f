// A looped music track as the menu and the level play it: the whole Ogg file
// read into memory, streamed in a loop and fed by a timer. Problems are told
// with allegro_message ("uh oh..." when the file cannot be opened, "death"
// when no stream can be made) and play goes on without that music.
#pragma once

#include <cstdio>

struct ALOGG_OGG;

struct MusicTrack {
    std::FILE* file = nullptr;         // stays open while the track lives
    unsigned char* buffer = nullptr;   // the file's bytes, owned
    long size = 0;
    ALOGG_OGG* stream = nullptr;       // null when no stream could be made
};

// With music off (--no-music) every track is empty: no file is read, no
// stream is made and nothing is said about it.
extern bool musicEnabled;

// The music's loudness, 0 (silent) to 100 (full, the start), and its mute;
// both apply at once to the tracks playing and to those started later. A
// silenced track goes on playing, so it is heard again where it has got to.
constexpr int kFullMusicVolume = 100;
void setMusicVolume(int percent);
void toggleMusicMute();
bool musicMuted();

// Loads fileName and starts it looping at the music's volume, centred, normal speed.
MusicTrack startMusicTrack(const char* fileName);
// Stops the stream if there is one.
void stopMusicTrack(const MusicTrack& track);
// Destroys the stream, frees the buffer, closes the file (in that order).
void releaseMusicTrack(MusicTrack& track);

// Where the track's two messages go: allegro_message unless a test listens.
using MusicMessageSink = void (*)(const char* text);
extern MusicMessageSink musicMessageSink;
