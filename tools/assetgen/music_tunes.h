// The game's two pieces of music as the generator writes them: their format
// and exact loop lengths (whole beats at a tempo that divides the sample rate,
// so a loop is a whole number of frames), and the notes that make them up.
// Header constants only, so that tests can reason about the files.
#pragma once

#include <string>
#include <vector>

constexpr int kMusicSampleRate = 44100;
constexpr int kMusicChannels = 2;
constexpr int kSecondsPerMinute = 60;

constexpr long framesPerBeat(int beatsPerMinute)
{
    return static_cast<long>(kMusicSampleRate) * kSecondsPerMinute / beatsPerMinute;
}

// Menu music: slow, in A minor, four bars of four beats.
constexpr int kMysteryTempo = 72;
constexpr int kMysteryBeats = 16;
constexpr long kMysteryFrames = framesPerBeat(kMysteryTempo) * kMysteryBeats;

// Level music: livelier, in D, eight bars of four beats with a light drum.
constexpr int kAirshipTempo = 126;
constexpr int kAirshipBeats = 32;
constexpr long kAirshipFrames = framesPerBeat(kAirshipTempo) * kAirshipBeats;

static_assert(kMusicSampleRate * kSecondsPerMinute % kMysteryTempo == 0, "beats must be whole frames");
static_assert(kMusicSampleRate * kSecondsPerMinute % kAirshipTempo == 0, "beats must be whole frames");

enum class Instrument { Bell, Pluck, Lead, Bass, Pad, Kick, Snare, Hat };

struct Note {
    Instrument instrument;
    double startBeat;
    double lengthBeats;
    int midiNote;      // ignored by the drums
    double loudness;   // 0..1
};

struct Tune {
    std::string fileName;
    int tempo;
    int beats;
    std::vector<Note> notes;
    double echoMix;    // 0 for none; the echo wraps round the loop
};

Tune mysteryTune();
Tune airshipTune();
