// Real playback through the library's sound driver: ALSA on a null device,
// so no hardware is needed, and the X11 system driver for its timer. Skipped
// when no display is there (tests/cmake/music.cmake runs it under Xvfb).
#include "music/alogg.h"
#include "music/ogg_stream.h"
#include "music/track.h"
#include "tests/support/headless.h"
#include "tools/assetgen/music_tunes.h"

#include <allegro.h>
#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
#define GLIM_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define GLIM_LEAK_CHECKED 1
#endif
#endif
#ifdef GLIM_LEAK_CHECKED
#include <sanitizer/lsan_interface.h>
#endif

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {
// The library's sound module keeps small allocations until it is unloaded
// at exit, after which the leak checker can no longer name their owner.
class DriverAllocationsNotOurs {
public:
#ifdef GLIM_LEAK_CHECKED
    DriverAllocationsNotOurs() { __lsan_disable(); }
    ~DriverAllocationsNotOurs() { __lsan_enable(); }
#else
    DriverAllocationsNotOurs() {}
    ~DriverAllocationsNotOurs() {}
#endif
};

constexpr int kBufferBytes = 65536;
constexpr int kFullVolume = 255;
constexpr int kCentrePan = 127;
constexpr int kNormalSpeed = 1000;
constexpr int kPollMs = 25;
// The timer fires every 25 ms; this only bounds a broken run.
constexpr std::chrono::seconds kPatience{10};
constexpr int kWaitStepMs = 5;

void ignoreMessage(const char*) {}

// Starts the library with a real timer and the ALSA driver on a null
// device, once per process. False when this machine cannot.
bool startRealSound()
{
    static int state = 0;  // 0 not tried, 1 running, -1 unavailable
    if (state != 0) {
        return state > 0;
    }
    state = -1;
    if (std::getenv("DISPLAY") == nullptr) {
        return false;
    }
    // ALSA looks for its configuration in $HOME when the device opens.
    static TempDir home;
    std::ofstream(home.file(".asoundrc")) << "pcm.!default { type null }\n";
    setenv("HOME", home.path().c_str(), 1);
    const DriverAllocationsNotOurs startUp;
    if (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0 || install_timer() != 0) {
        return false;
    }
    if (install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr) != 0 || digi_driver->id == DIGI_NONE) {
        return false;
    }
    state = 1;
    return true;
}

std::vector<unsigned char> mysteryBytes()
{
    std::ifstream in(gameDir() + "/Mystery.ogg", std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Waits (bounded) for the timer to hand the stream more buffers than it had.
bool timerFeedsBeyond(const ALOGG_OGG* ogg, long count)
{
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (ogg->buffersFed.load() <= count) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        rest(kWaitStepMs);
    }
    return true;
}

class RealPlayback : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!startRealSound()) {
            // Under the Xvfb registration the driver must come up.
            if (std::getenv("GLIM_REQUIRE_SOUND") != nullptr) {
                FAIL() << "no sound driver came up on the null ALSA device";
            }
            GTEST_SKIP() << "no display or no sound driver to play through";
        }
        bytes = mysteryBytes();
        ASSERT_FALSE(bytes.empty());
    }

    ALOGG_OGG* makeStream()
    {
        return alogg_create_ogg_from_buffer(bytes.data(), static_cast<int>(bytes.size()));
    }

    std::vector<unsigned char> bytes;
};
}

TEST_F(RealPlayback, TheTrackLoaderPlaysAndTheTimerKeepsFeeding)
{
    TempDir folder;
    ScopedChdir inFolder(folder.path());
    std::ofstream(folder.file("Mystery.ogg"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const MusicMessageSink previous = musicMessageSink;
    musicMessageSink = ignoreMessage;
    MusicTrack track = startMusicTrack("Mystery.ogg");
    musicMessageSink = previous;
    ASSERT_NE(track.stream, nullptr);
    ALOGG_OGG* ogg = track.stream;
    EXPECT_NE(ogg->audio, nullptr);
    EXPECT_TRUE(ogg->polling);
    // Play fills the stream at once, before any poll.
    const long atStart = ogg->buffersFed.load();
    EXPECT_GE(atStart, 1);
    EXPECT_TRUE(timerFeedsBeyond(ogg, atStart));

    stopMusicTrack(track);
    EXPECT_FALSE(ogg->polling);
    EXPECT_EQ(ogg->audio, nullptr);
    const long afterStop = ogg->buffersFed.load();
    EXPECT_EQ(refillOggStream(ogg), 0);
    EXPECT_EQ(ogg->buffersFed.load(), afterStop);
    releaseMusicTrack(track);
}

TEST_F(RealPlayback, VolumePanAndSpeedReachTheVoice)
{
    ALOGG_OGG* ogg = makeStream();
    ASSERT_NE(ogg, nullptr);
    struct Setting {
        int volume, pan, speed, expectedRate;
    };
    const Setting settings[] = {
        {kFullVolume, kCentrePan, kNormalSpeed, kMusicSampleRate},
        {100, 30, 2000, 2 * kMusicSampleRate},
        {0, 255, 500, kMusicSampleRate / 2},
    };
    for (const Setting& setting : settings) {
        ASSERT_EQ(alogg_play_ex_ogg(ogg, kBufferBytes, setting.volume, setting.pan, setting.speed, 1), 0);
        const int voice = ogg->audio->voice;
        EXPECT_EQ(voice_get_volume(voice), setting.volume);
        EXPECT_EQ(voice_get_pan(voice), setting.pan);
        EXPECT_EQ(voice_get_frequency(voice), setting.expectedRate);
    }
    // Settings that mean nothing are refused and change nothing.
    AUDIOSTREAM* playing = ogg->audio;
    EXPECT_LT(alogg_play_ex_ogg(ogg, kBufferBytes, kFullVolume, kCentrePan, 0, 1), 0);
    EXPECT_LT(alogg_play_ex_ogg(ogg, 0, kFullVolume, kCentrePan, kNormalSpeed, 1), 0);
    EXPECT_EQ(ogg->audio, playing);
    alogg_destroy_ogg(ogg);
}

TEST_F(RealPlayback, StopAndDestroyWhileTheTimerPollsHard)
{
    // The fastest poll the timer allows, torn down again and again: a poll
    // that outlived its stream would show as a use after free under ASan.
    constexpr int kRounds = 25;
    constexpr int kFastestPollMs = 1;
    for (int round = 0; round < kRounds; ++round) {
        ALOGG_OGG* ogg = makeStream();
        ASSERT_NE(ogg, nullptr);
        ASSERT_EQ(alogg_play_ex_ogg(ogg, kBufferBytes / 16, kFullVolume, kCentrePan, kNormalSpeed, 1), 0);
        ASSERT_EQ(alogg_start_autopoll_ogg(ogg, kFastestPollMs), 0);
        if (round % 2 == 0) {
            alogg_stop_ogg(ogg);
        }
        alogg_destroy_ogg(ogg);
    }
}

TEST_F(RealPlayback, PlayingAgainReplacesTheStreamAndPollCanRestart)
{
    ALOGG_OGG* ogg = makeStream();
    ASSERT_NE(ogg, nullptr);
    ASSERT_EQ(alogg_play_ex_ogg(ogg, kBufferBytes, kFullVolume, kCentrePan, kNormalSpeed, 1), 0);
    ASSERT_EQ(alogg_start_autopoll_ogg(ogg, kPollMs), 0);
    // A second play stops the first (timer included) and starts over.
    ASSERT_EQ(alogg_play_ex_ogg(ogg, kBufferBytes, kFullVolume, kCentrePan, kNormalSpeed, 1), 0);
    EXPECT_FALSE(ogg->polling);
    ASSERT_EQ(alogg_start_autopoll_ogg(ogg, kPollMs), 0);
    ASSERT_EQ(alogg_start_autopoll_ogg(ogg, kPollMs), 0);
    EXPECT_TRUE(timerFeedsBeyond(ogg, ogg->buffersFed.load()));
    alogg_destroy_ogg(ogg);
}
