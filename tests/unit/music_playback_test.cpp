// Real playback on ALSA's null device behind its file plugin, which keeps
// every sample mixed, fed by the library's timer, which needs the X11 system
// driver: tests/cmake/music.cmake runs this under Xvfb.
#include "music/ogg_stream.h"
#include "music/track.h"
#include "tests/support/headless.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <vector>
#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

namespace {
constexpr std::chrono::seconds kPatience{10};  // bounds a broken run only
constexpr int kWaitStepMs = 5, kRounds = 25, kSmallBufferBytes = 4096, kFullVolume = 255, kCentrePan = 127, kNormalSpeed = 1000, kFastestPollMs = 1;

TempDir home;  // ALSA reads $HOME/.asoundrc when the device opens
const std::string capture = home.file("mixed.raw");

bool startSoundOnce()
{
    writeFile(home.file(".asoundrc"),
              "pcm.!default { type file slave.pcm \"null\" file \"" + capture + "\" format \"raw\" }\n");
    setenv("HOME", home.path().c_str(), 1);
#ifdef __SANITIZE_ADDRESS__
    // The sound module keeps allocations until it is unloaded at exit.
    const __lsan::ScopedDisabler driverAllocationsNotOurs;
#endif
    return std::getenv("DISPLAY") != nullptr && install_allegro(SYSTEM_AUTODETECT, &errno, atexit) == 0 &&
           install_timer() == 0 && install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr) == 0 &&
           digi_driver->id != DIGI_NONE;
}

bool startRealSound()
{
    static const bool started = startSoundOnce();
    return started;
}
}

TEST(RealPlayback, TheTimerFeedsTheTrackAndTeardownIsSafeWhilePolling)
{
    if (!startRealSound()) {
        ASSERT_EQ(std::getenv("GLIM_REQUIRE_SOUND"), nullptr) << "no sound driver came up on the null ALSA device";
        GTEST_SKIP() << "no display or no sound driver to play through";
    }
    ScopedChdir inGame(gameDir());
    MusicTrack track = startMusicTrack("Mystery.ogg");
    ALOGG_OGG* ogg = track.stream;
    ASSERT_NE(ogg, nullptr);
    ASSERT_NE(ogg->audio, nullptr);
    EXPECT_TRUE(ogg->polling);
    EXPECT_TRUE(ogg->loop) << "the music starts over after each play";
    // Play fills the stream at once; only the timer can feed it more.
    const long atStart = ogg->buffersFed.load();
    EXPECT_GE(atStart, 1);
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (ogg->buffersFed.load() <= atStart && std::chrono::steady_clock::now() < deadline) {
        rest(kWaitStepMs);
    }
    EXPECT_GT(ogg->buffersFed.load(), atStart);
    stopMusicTrack(track);
    EXPECT_FALSE(ogg->polling);
    EXPECT_EQ(ogg->audio, nullptr);
    EXPECT_EQ(refillOggStream(ogg), 0);

    // Destroyed while the fastest poll runs: a poll that outlived its stream
    // shows as a use after free under ASan, a stream left behind as a leak.
    for (int round = 0; round < kRounds; ++round) {
        ALOGG_OGG* extra = alogg_create_ogg_from_buffer(track.buffer, static_cast<int>(track.size));
        ASSERT_NE(extra, nullptr);
        ASSERT_EQ(alogg_play_ex_ogg(extra, kSmallBufferBytes, kFullVolume, kCentrePan, kNormalSpeed, 1), 0);
        ASSERT_EQ(alogg_start_autopoll_ogg(extra, kFastestPollMs), 0);
        alogg_destroy_ogg(extra);
    }
    releaseMusicTrack(track);
}

namespace {
constexpr int kSettleMs = 300, kListenMs = 700, kBytesPerFrame = 4, kSilentSample = 0x8000;

long capturedBytes()
{
    struct stat status {};
    return stat(capture.c_str(), &status) == 0 ? status.st_size / kBytesPerFrame * kBytesPerFrame : 0;
}

// The loudness of what was mixed from `from` on (unsigned 16-bit samples).
double loudnessSince(long from)
{
    std::vector<unsigned short> samples(static_cast<std::size_t>(capturedBytes() - from) / sizeof(unsigned short));
    std::FILE* file = std::fopen(capture.c_str(), "rb");
    std::fseek(file, from, SEEK_SET);
    samples.resize(std::fread(samples.data(), sizeof(unsigned short), samples.size(), file));
    std::fclose(file);
    double sum = 0;
    for (unsigned short sample : samples) sum += std::pow(double(sample) - kSilentSample, 2);
    return samples.empty() ? -1 : std::sqrt(sum / samples.size());
}

// The track from its start, heard once the mixer has caught up.
double loudnessOfTrackStart()
{
    MusicTrack track = startMusicTrack("Mystery.ogg");
    rest(kSettleMs);
    const long from = capturedBytes();
    rest(kListenMs);
    const double loudness = loudnessSince(from);
    releaseMusicTrack(track);
    return loudness;
}
}  // namespace

TEST(RealPlayback, TheVolumeScalesTheMusicAndMuteSilencesItWhileItGoesOn)
{
    if (!startRealSound()) GTEST_SKIP() << "no display or no sound driver to play through";
    ScopedChdir inGame(gameDir());
    std::vector<double> loudness;
    for (int volume : {100, 50, 0}) {
        setMusicVolume(volume);
        loudness.push_back(loudnessOfTrackStart());
    }
    EXPECT_GT(loudness[0], 1000);
    EXPECT_NEAR(loudness[1] / loudness[0], 0.5, 0.05);
    EXPECT_EQ(loudness[2], 0);

    setMusicVolume(100);
    MusicTrack track = startMusicTrack("Mystery.ogg");
    toggleMusicMute();
    rest(kSettleMs);
    const long mutedFrom = capturedBytes();
    const long fedBeforeMute = track.stream->buffersFed.load();
    rest(kListenMs);
    EXPECT_EQ(loudnessSince(mutedFrom), 0);
    EXPECT_GT(track.stream->buffersFed.load(), fedBeforeMute) << "a muted track goes on playing";
    toggleMusicMute();
    rest(kSettleMs);
    const long unmutedFrom = capturedBytes();
    rest(kListenMs);
    EXPECT_GT(loudnessSince(unmutedFrom), 1000);
    releaseMusicTrack(track);
}
