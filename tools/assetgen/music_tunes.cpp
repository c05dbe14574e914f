#include "tools/assetgen/music_tunes.h"

#include <cctype>
#include <cstdlib>
#include <sstream>

namespace {
constexpr int kMidiOfC0 = 12;
constexpr int kNotesPerOctave = 12;
constexpr int kBeatsPerBar = 4;
constexpr int kRest = -1;

// "A4", "G#3", "Bb2" to a MIDI note number; "r" is a rest.
int midiOf(const std::string& name)
{
    if (name == "r") {
        return kRest;
    }
    static const int semitoneOfLetter[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    int semitone = semitoneOfLetter[std::toupper(static_cast<unsigned char>(name[0])) - 'A'];
    std::size_t at = 1;
    if (name[at] == '#') {
        ++semitone;
        ++at;
    } else if (name[at] == 'b') {
        --semitone;
        ++at;
    }
    return kMidiOfC0 + kNotesPerOctave * std::atoi(name.c_str() + at) + semitone;
}

// Adds a line written as "NAME:BEATS ..." from startBeat on; returns the
// beat after its last note.
double addLine(Tune& tune, Instrument instrument, double startBeat, const std::string& line, double loudness)
{
    std::istringstream words(line);
    std::string word;
    double beat = startBeat;
    while (words >> word) {
        const std::size_t colon = word.find(':');
        const int midi = midiOf(word.substr(0, colon));
        const double length = std::atof(word.c_str() + colon + 1);
        if (midi != kRest) {
            tune.notes.push_back({instrument, beat, length, midi, loudness});
        }
        beat += length;
    }
    return beat;
}

// A chord held for whole bars, one bar per entry of `chords`.
void addHeldChords(Tune& tune, Instrument instrument, const std::vector<std::vector<std::string>>& chords,
                   double loudness)
{
    for (std::size_t bar = 0; bar < chords.size(); ++bar) {
        for (const std::string& name : chords[bar]) {
            tune.notes.push_back({instrument, static_cast<double>(bar * kBeatsPerBar), kBeatsPerBar,
                                  midiOf(name), loudness});
        }
    }
}

void addDrum(Tune& tune, Instrument drum, double beat, double length, double loudness)
{
    tune.notes.push_back({drum, beat, length, 0, loudness});
}
}

Tune mysteryTune()
{
    Tune tune{"Mystery.ogg", kMysteryTempo, kMysteryBeats, {}, 0.3};
    // Am, F, Dm and E: the raised G sharp of the last bar leans back into A.
    addLine(tune, Instrument::Pluck, 0,
            "A3:0.5 E4:0.5 A4:0.5 C5:0.5 E5:0.5 C5:0.5 A4:0.5 E4:0.5 "
            "F3:0.5 C4:0.5 F4:0.5 A4:0.5 C5:0.5 A4:0.5 F4:0.5 C4:0.5 "
            "D3:0.5 A3:0.5 D4:0.5 F4:0.5 A4:0.5 F4:0.5 D4:0.5 A3:0.5 "
            "E3:0.5 B3:0.5 E4:0.5 G#4:0.5 B4:0.5 G#4:0.5 E4:0.5 B3:0.5",
            0.55);
    addLine(tune, Instrument::Bass, 0, "A2:4 F2:4 D2:4 E2:4", 0.8);
    addLine(tune, Instrument::Bell, 0,
            "r:1 E5:1 C5:1 B4:1 "
            "A4:2 r:0.5 C5:0.5 F5:1 "
            "E5:1.5 D5:0.5 A4:2 "
            "G#4:1 B4:1 E5:1.5 r:0.5",
            0.9);
    addHeldChords(tune, Instrument::Pad, {{"A3", "C4", "E4"}, {"F3", "A3", "C4"}, {"D3", "F3", "A3"},
                                          {"E3", "G#3", "B3"}}, 0.6);
    return tune;
}

Tune airshipTune()
{
    Tune tune{"Airship.ogg", kAirshipTempo, kAirshipBeats, {}, 0.12};
    addLine(tune, Instrument::Lead, 0,
            "F#5:1 A5:0.5 F#5:0.5 D5:1 E5:1 "
            "G5:1.5 F#5:0.5 E5:1 D5:1 "
            "F#5:1 D5:0.5 B4:0.5 D5:1 F#5:1 "
            "E5:2 r:0.5 C#5:0.5 E5:1 "
            "A5:1 F#5:0.5 A5:0.5 B5:1 A5:1 "
            "G5:1 B4:0.5 D5:0.5 G5:1 F#5:1 "
            "E5:1 G5:0.5 F#5:0.5 E5:1 C#5:1 "
            "A4:1 C#5:1 E5:1.5 r:0.5",
            0.85);
    // Bouncing octaves under D, G, Bm, A, D, G, Em, A.
    const char* roots[] = {"D", "G", "B", "A", "D", "G", "E", "A"};
    std::string bass;
    for (const char* root : roots) {
        for (int beat = 0; beat < kBeatsPerBar; ++beat) {
            bass += std::string(root) + "2:0.5 " + root + "3:0.5 ";
        }
    }
    addLine(tune, Instrument::Bass, 0, bass, 0.7);
    const std::vector<std::vector<std::string>> chords = {
        {"D4", "F#4", "A4"}, {"D4", "G4", "B4"}, {"D4", "F#4", "B4"}, {"C#4", "E4", "A4"},
        {"D4", "F#4", "A4"}, {"D4", "G4", "B4"}, {"E4", "G4", "B4"}, {"C#4", "E4", "A4"}};
    // Off-beat stabs, the lilt of the tune.
    for (std::size_t bar = 0; bar < chords.size(); ++bar) {
        for (int beat = 0; beat < kBeatsPerBar; ++beat) {
            for (const std::string& name : chords[bar]) {
                tune.notes.push_back({Instrument::Pluck, bar * kBeatsPerBar + beat + 0.5, 0.5, midiOf(name), 0.45});
            }
        }
    }
    for (int bar = 0; bar < kAirshipBeats / kBeatsPerBar; ++bar) {
        const double first = bar * kBeatsPerBar;
        addDrum(tune, Instrument::Kick, first, 1, 0.9);
        addDrum(tune, Instrument::Snare, first + 1, 1, 0.6);
        addDrum(tune, Instrument::Kick, first + 2, 0.5, 0.8);
        addDrum(tune, Instrument::Kick, first + 2.5, 0.5, 0.5);
        addDrum(tune, Instrument::Snare, first + 3, 1, 0.6);
        for (int eighth = 0; eighth < 2 * kBeatsPerBar; ++eighth) {
            addDrum(tune, Instrument::Hat, first + 0.5 * eighth, 0.5, eighth % 2 == 1 ? 0.6 : 0.3);
        }
    }
    return tune;
}
