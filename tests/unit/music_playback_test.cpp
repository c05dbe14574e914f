// Real playback on ALSA's null device behind its file plugin, which keeps
// every sample mixed, fed by the library's timer, which needs the X11 system
// driver: tests/cmake/music.cmake runs this under Xvfb.
#include "music/music_pause.h"
#include "music/ogg_stream.h"
#include "music/track.h"
#include "tests/support/headless.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>
#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

namespace {
constexpr int kRounds = 25, kSmallBufferBytes = 4096, kFullVolume = 255, kCentrePan = 127,
              kNormalSpeed = 1000, kFastestPollMs = 1, kSettleMs = 300, kListenMs = 700, kSilentSample = 0x8000;
constexpr int kStereoFrameBytes = 4;  // the generated music is 16-bit stereo

TempDir home;  // ALSA reads $HOME/.asoundrc when the device opens
const std::string capture = home.file("mixed.raw");

bool startSoundOnce()
{
    writeFile(home.file(".asoundrc"),
              "pcm.!default { type file slave.pcm \"null\" file \"" + capture + "\" format \"raw\" }\n");
    setenv("HOME", home.path().c_str(), 1);
#ifdef __SANITIZE_ADDRESS__
    const __lsan::ScopedDisabler driverAllocationsNotOurs;  // the sound module keeps them until exit
#endif
    return std::getenv("DISPLAY") != nullptr && install_allegro(SYSTEM_AUTODETECT, &errno, atexit) == 0 &&
           install_timer() == 0 && install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr) == 0 &&
           digi_driver->id != DIGI_NONE;
}

class RealPlayback : public ::testing::Test {
protected:
    void SetUp() override
    {
        static const bool started = startSoundOnce();
        if (!started) {
            ASSERT_EQ(std::getenv("GLIM_REQUIRE_SOUND"), nullptr) << "no sound driver came up on the null ALSA device";
            GTEST_SKIP() << "no display or no sound driver to play through";
        }
    }
    ScopedChdir inGame{gameDir()};
};

// The loudness of what is mixed over the next kListenMs (unsigned 16-bit samples).
double loudnessFromNow()
{
    std::ifstream in(capture, std::ios::binary | std::ios::ate);
    const long from = in ? static_cast<long>(in.tellg()) / 4 * 4 : 0;  // whole stereo frames
    rest(kListenMs);
    std::ifstream mixed(capture, std::ios::binary);
    mixed.seekg(from);
    std::vector<unsigned short> samples;
    for (unsigned short s; mixed.read(reinterpret_cast<char*>(&s), sizeof s);) samples.push_back(s);
    double sum = 0;
    for (unsigned short sample : samples) sum += std::pow(double(sample) - kSilentSample, 2);
    return samples.empty() ? -1 : std::sqrt(sum / samples.size());
}
}  // namespace

TEST_F(RealPlayback, PlayFillsTheStreamAtOnceAndTeardownIsSafeWhilePolling)
{
    MusicTrack track = startMusicTrack("Mystery.ogg");
    ALOGG_OGG* ogg = track.stream;
    ASSERT_TRUE(ogg != nullptr && ogg->audio != nullptr);
    EXPECT_TRUE(ogg->polling);
    EXPECT_TRUE(ogg->loop) << "the music starts over after each play";
    // Play fills the stream at once; that the timer feeds it on is seen in
    // the next test, where a muted track goes on being fed.
    EXPECT_GE(ogg->buffersFed.load(), 1);
    stopMusicTrack(track);
    EXPECT_TRUE(!ogg->polling && ogg->audio == nullptr);
    EXPECT_EQ(refillOggStream(ogg), 0);
    // Destroyed while the fastest poll runs: a poll that outlived its stream
    // shows as a use after free under ASan, a stream left behind as a leak.
    for (int round = 0; round < kRounds; ++round) {
        ALOGG_OGG* extra = alogg_create_ogg_from_buffer(track.buffer, static_cast<int>(track.size));
        ASSERT_NE(extra, nullptr);
        ASSERT_EQ(alogg_play_ex_ogg(extra, kSmallBufferBytes, kFullVolume, kCentrePan, kNormalSpeed, 1), 0);
        ASSERT_EQ(extra->audio->len, kSmallBufferBytes / kStereoFrameBytes) << "a buffer's length is in bytes";
        ASSERT_EQ(alogg_start_autopoll_ogg(extra, kFastestPollMs), 0);
        alogg_destroy_ogg(extra);
    }
    releaseMusicTrack(track);
}

TEST_F(RealPlayback, TheVolumeScalesTheMusicMuteSilencesItWhileItGoesOnAndAPauseHoldsItWhereItIs)
{
    std::vector<double> loudness;  // of each track's start, once the mixer has caught up
    for (int volume : {100, 50, 0}) {
        setMusicVolume(volume);
        MusicTrack track = startMusicTrack("Mystery.ogg");
        rest(kSettleMs);
        loudness.push_back(loudnessFromNow());
        releaseMusicTrack(track);
    }
    EXPECT_GT(loudness[0], 1000);
    EXPECT_NEAR(loudness[1] / loudness[0], 0.5, 0.05);
    EXPECT_EQ(loudness[2], 0);
    setMusicVolume(100);
    MusicTrack track = startMusicTrack("Mystery.ogg");
    for (bool muted : {true, false}) {
        toggleMusicMute();
        rest(kSettleMs);
        const long fed = track.stream->buffersFed.load();
        const double heard = loudnessFromNow();
        EXPECT_TRUE(muted ? heard == 0 : heard > 1000) << "muted " << muted << ": " << heard;
        EXPECT_GT(track.stream->buffersFed.load(), fed) << "a muted track goes on playing";
    }
    // A resume goes on from where the pause held it.
    pauseMusic();
    rest(kSettleMs);
    const int voice = track.stream->audio->voice;
    const int position = voice_get_position(voice);
    const long fed = track.stream->buffersFed.load();
    EXPECT_EQ(loudnessFromNow(), 0);
    EXPECT_EQ(voice_get_position(voice), position);
    EXPECT_EQ(track.stream->buffersFed.load(), fed) << "a held stream is fed";
    resumeMusic();
    rest(kSettleMs);
    EXPECT_GT(loudnessFromNow(), 1000);
    EXPECT_GT(track.stream->buffersFed.load(), fed);
    releaseMusicTrack(track);
}
