// Real playback on ALSA's null device, fed by the library's timer, which needs
// the X11 system driver: tests/cmake/music.cmake runs this under Xvfb.
#include "music/ogg_stream.h"
#include "music/track.h"
#include "tests/support/headless.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

namespace {
constexpr std::chrono::seconds kPatience{10};  // bounds a broken run only
constexpr int kWaitStepMs = 5, kRounds = 25, kSmallBufferBytes = 4096, kFullVolume = 255, kCentrePan = 127, kNormalSpeed = 1000, kFastestPollMs = 1;

bool startRealSound()
{
    static TempDir home;  // ALSA reads $HOME/.asoundrc when the device opens
    writeFile(home.file(".asoundrc"), "pcm.!default { type null }\n");
    setenv("HOME", home.path().c_str(), 1);
#ifdef __SANITIZE_ADDRESS__
    // The sound module keeps allocations until it is unloaded at exit.
    const __lsan::ScopedDisabler driverAllocationsNotOurs;
#endif
    return std::getenv("DISPLAY") != nullptr && install_allegro(SYSTEM_AUTODETECT, &errno, atexit) == 0 &&
           install_timer() == 0 && install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr) == 0 &&
           digi_driver->id != DIGI_NONE;
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
