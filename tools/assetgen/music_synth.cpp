#include "tools/assetgen/music_synth.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kConcertA = 440.0;
constexpr int kConcertAMidi = 69;
constexpr double kSemitonesPerOctave = 12.0;
// Partials above this would fold back from the Nyquist limit as harsh noise.
constexpr double kHighestPartialHz = 16000.0;
constexpr double kPeakLevel = 0.85;
constexpr int kEchoTaps = 3;
constexpr double kEchoDelayBeats = 0.75;
constexpr double kEchoFalloff = 0.5;

struct Voice {
    std::array<double, 6> partials;  // amplitude of harmonic 1, 2, ...
    double attackSeconds;
    double decaySeconds;   // time constant toward the sustain level
    double sustainLevel;
    double releaseSeconds;
    double pan;            // -1 left .. +1 right
    double gain;
    double vibratoDepth;   // fraction of the frequency
};

constexpr double kVibratoHz = 5.0;

Voice voiceFor(Instrument instrument)
{
    switch (instrument) {
    case Instrument::Bell:  return {{1.0, 0.0, 0.35, 0.0, 0.12, 0.0}, 0.004, 0.9, 0.0, 0.08, -0.25, 0.30, 0.0};
    case Instrument::Pluck: return {{1.0, 0.45, 0.2, 0.1, 0.05, 0.0}, 0.003, 0.25, 0.0, 0.03, 0.35, 0.22, 0.0};
    case Instrument::Lead:  return {{1.0, 0.0, 0.33, 0.0, 0.2, 0.0}, 0.02, 0.3, 0.7, 0.06, -0.1, 0.32, 0.004};
    case Instrument::Bass:  return {{1.0, 0.5, 0.15, 0.0, 0.0, 0.0}, 0.01, 0.4, 0.6, 0.04, 0.0, 0.40, 0.0};
    case Instrument::Pad:   return {{1.0, 0.5, 0.3, 0.25, 0.2, 0.15}, 0.35, 1.0, 0.8, 0.4, 0.15, 0.10, 0.003};
    default:                return {{0.0, 0.0, 0.0, 0.0, 0.0, 0.0}, 0.001, 0.1, 0.0, 0.01, 0.0, 0.0, 0.0};
    }
}

double frequencyOf(int midiNote)
{
    return kConcertA * std::pow(2.0, (midiNote - kConcertAMidi) / kSemitonesPerOctave);
}

// Deterministic noise for the drums, seeded per note.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed * 2654435761u + 1u) {}
    double next()
    {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 23) - 1.0;
    }

private:
    std::uint32_t state_;
};

// Ramps in and out so that every note starts and ends at zero.
double edgeRamp(long t, long length, long attack, long release)
{
    const double in = attack > 0 ? std::min(1.0, static_cast<double>(t) / attack) : 1.0;
    const double out = release > 0 ? std::min(1.0, static_cast<double>(length - t) / release) : 1.0;
    return in * out;
}

double drumSample(Instrument instrument, double seconds, double& phase, Noise& noise, double& lastNoise)
{
    const double step = 1.0 / kMusicSampleRate;
    switch (instrument) {
    case Instrument::Kick: {
        constexpr double kLowHz = 45.0, kSweepHz = 110.0, kSweepSeconds = 0.03, kDecaySeconds = 0.16;
        phase += 2.0 * kPi * (kLowHz + kSweepHz * std::exp(-seconds / kSweepSeconds)) * step;
        return 0.9 * std::sin(phase) * std::exp(-seconds / kDecaySeconds);
    }
    case Instrument::Snare: {
        constexpr double kToneHz = 190.0, kToneSeconds = 0.05, kNoiseSeconds = 0.08;
        const double smoothed = 0.5 * (noise.next() + lastNoise);
        lastNoise = smoothed;
        return 0.25 * std::sin(2.0 * kPi * kToneHz * seconds) * std::exp(-seconds / kToneSeconds)
             + 0.3 * smoothed * std::exp(-seconds / kNoiseSeconds);
    }
    case Instrument::Hat: {
        constexpr double kDecaySeconds = 0.025;
        const double sample = noise.next();
        const double bright = sample - lastNoise;
        lastNoise = sample;
        return 0.12 * bright * std::exp(-seconds / kDecaySeconds);
    }
    default:
        return 0.0;
    }
}

bool isDrum(Instrument instrument)
{
    return instrument == Instrument::Kick || instrument == Instrument::Snare || instrument == Instrument::Hat;
}

void addNote(const Note& note, long start, long length, std::uint32_t seed, std::vector<float>& out)
{
    const Voice voice = voiceFor(note.instrument);
    const long attack = std::min(static_cast<long>(voice.attackSeconds * kMusicSampleRate), length / 2);
    const long release = std::min(static_cast<long>(voice.releaseSeconds * kMusicSampleRate), length / 2);
    const double frequency = frequencyOf(note.midiNote);
    // Equal-power pan.
    const double angle = (voice.pan + 1.0) * kPi / 4.0;
    const bool drum = isDrum(note.instrument);
    const double left = drum ? std::sqrt(0.5) : std::cos(angle);
    const double right = drum ? std::sqrt(0.5) : std::sin(angle);
    Noise noise(seed);
    double drumPhase = 0.0;
    double lastNoise = 0.0;
    double phase = 0.0;
    for (long t = 0; t < length; ++t) {
        const double seconds = static_cast<double>(t) / kMusicSampleRate;
        double sample = 0.0;
        if (drum) {
            sample = drumSample(note.instrument, seconds, drumPhase, noise, lastNoise);
        } else {
            const double vibrato = 1.0 + voice.vibratoDepth * std::sin(2.0 * kPi * kVibratoHz * seconds);
            phase += 2.0 * kPi * frequency * vibrato / kMusicSampleRate;
            for (std::size_t h = 0; h < voice.partials.size(); ++h) {
                const double harmonic = static_cast<double>(h + 1);
                if (voice.partials[h] != 0.0 && frequency * harmonic < kHighestPartialHz) {
                    sample += voice.partials[h] * std::sin(harmonic * phase);
                }
            }
            const double sinceAttack = std::max(0.0, seconds - voice.attackSeconds);
            sample *= voice.sustainLevel
                    + (1.0 - voice.sustainLevel) * std::exp(-sinceAttack / voice.decaySeconds);
            sample *= voice.gain;
        }
        sample *= note.loudness * edgeRamp(t, length, attack, release);
        out[2 * (start + t)] += static_cast<float>(sample * left);
        out[2 * (start + t) + 1] += static_cast<float>(sample * right);
    }
}

// Ping-pong echo read round the loop, so the tail of the last bar sounds
// over the first and the seam stays seamless.
std::vector<float> withEcho(const std::vector<float>& dry, long frames, long delay, double mix)
{
    std::vector<float> wet = dry;
    double gain = mix;
    for (int tap = 1; tap <= kEchoTaps; ++tap, gain *= kEchoFalloff) {
        const bool swapSides = tap % 2 == 1;
        for (long i = 0; i < frames; ++i) {
            const long from = ((i - tap * delay) % frames + frames) % frames;
            const float l = dry[2 * from];
            const float r = dry[2 * from + 1];
            wet[2 * i] += static_cast<float>(gain * (swapSides ? r : l));
            wet[2 * i + 1] += static_cast<float>(gain * (swapSides ? l : r));
        }
    }
    return wet;
}
}

std::vector<float> renderTune(const Tune& tune)
{
    const long beatFrames = framesPerBeat(tune.tempo);
    const long frames = beatFrames * tune.beats;
    std::vector<float> out(static_cast<std::size_t>(frames) * kMusicChannels, 0.0f);
    std::uint32_t seed = 0;
    for (const Note& note : tune.notes) {
        const long start = std::lround(note.startBeat * beatFrames);
        const long length = std::lround(note.lengthBeats * beatFrames);
        if (start < 0 || length <= 0 || start + length > frames) {
            std::fprintf(stderr, "%s: a note at beat %.2f runs past the loop\n", tune.fileName.c_str(),
                         note.startBeat);
            return {};
        }
        addNote(note, start, length, ++seed, out);
    }
    if (tune.echoMix > 0.0) {
        out = withEcho(out, frames, std::lround(kEchoDelayBeats * beatFrames), tune.echoMix);
    }
    float peak = 0.0f;
    for (float sample : out) {
        peak = std::max(peak, std::fabs(sample));
    }
    if (peak > 0.0f) {
        const float scale = static_cast<float>(kPeakLevel) / peak;
        for (float& sample : out) {
            sample *= scale;
        }
    }
    return out;
}
