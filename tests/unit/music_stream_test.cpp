// The five stream calls without a sound card: they must refuse cleanly with
// the null digital driver, stay safe on null and after failures, free all
// they take, and the refill that the timer runs must put the decoded music
// into the library's stream buffers.
#include "music/alogg.h"
#include "music/ogg_stream.h"
#include "tests/support/headless.h"
#include "tools/assetgen/music_tunes.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

namespace {
constexpr int kBufferBytes = 65536;
constexpr int kFullVolume = 255;
constexpr int kCentrePan = 127;
constexpr int kNormalSpeed = 1000;
constexpr int kPollMs = 25;
constexpr std::uint16_t kSilence = 0x8000;
constexpr long kFragmentFrames = 2048;

std::vector<unsigned char> mysteryBytes()
{
    std::ifstream in(gameDir() + "/Mystery.ogg", std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::uint16_t> firstFrames(std::vector<unsigned char>& bytes, long frames)
{
    OggDecoder decoder;
    std::vector<std::uint16_t> samples(frames * kMusicChannels);
    if (!decoder.open(bytes.data(), bytes.size()) || decoder.read(samples.data(), frames, false) != frames) {
        samples.clear();
    }
    return samples;
}

// The sample memory behind an audio stream, as 16-bit values.
const std::uint16_t* streamSamples(const AUDIOSTREAM* audio)
{
    return static_cast<const std::uint16_t*>(audio->samp->data);
}

class OggStream : public ::testing::Test {
protected:
    void SetUp() override
    {
        startHeadless();
        bytes = mysteryBytes();
        ASSERT_FALSE(bytes.empty());
        ogg = alogg_create_ogg_from_buffer(bytes.data(), static_cast<int>(bytes.size()));
        ASSERT_NE(ogg, nullptr);
    }
    void TearDown() override { alogg_destroy_ogg(ogg); }

    // Gives the stream an audio stream of its own, as play does with a real
    // driver; the null driver never moves it on, so each half is taken once.
    void attachAudio(bool loop)
    {
        AUDIOSTREAM* audio = play_audio_stream(kFragmentFrames, 16, TRUE, kMusicSampleRate, kFullVolume,
                                               kCentrePan);
        ASSERT_NE(audio, nullptr);
        ogg->audio = audio;
        ogg->fragmentFrames = kFragmentFrames;
        ogg->loop = loop;
    }

    std::vector<unsigned char> bytes;
    ALOGG_OGG* ogg = nullptr;
};
}

TEST(OggStreamCalls, AreSafeOnANullStream)
{
    EXPECT_LT(alogg_play_ex_ogg(nullptr, kBufferBytes, kFullVolume, kCentrePan, kNormalSpeed, 1), 0);
    EXPECT_LT(alogg_start_autopoll_ogg(nullptr, kPollMs), 0);
    alogg_stop_ogg(nullptr);
    alogg_destroy_ogg(nullptr);
    EXPECT_EQ(refillOggStream(nullptr), 0);
}

TEST_F(OggStream, PlayFailsCleanlyWithTheNullDigitalDriver)
{
    ASSERT_TRUE(digi_driver == nullptr || digi_driver->id == DIGI_NONE);
    EXPECT_LT(alogg_play_ex_ogg(ogg, kBufferBytes, kFullVolume, kCentrePan, kNormalSpeed, 1), 0);
    EXPECT_EQ(ogg->audio, nullptr);
    // Nothing plays, so there is nothing to poll, and stopping twice is fine.
    EXPECT_LT(alogg_start_autopoll_ogg(ogg, kPollMs), 0);
    EXPECT_FALSE(ogg->polling);
    alogg_stop_ogg(ogg);
    alogg_stop_ogg(ogg);
    EXPECT_LT(alogg_play_ex_ogg(ogg, kBufferBytes, kFullVolume, kCentrePan, kNormalSpeed, 1), 0);
    EXPECT_EQ(refillOggStream(ogg), 0);
}

TEST_F(OggStream, CreateAndDestroyLeaveTheCallersBytesAlone)
{
    // Run under the sanitizer build, a leak in any cycle fails the program.
    const std::vector<unsigned char> before = bytes;
    constexpr int kCycles = 40;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        ALOGG_OGG* extra = alogg_create_ogg_from_buffer(bytes.data(), static_cast<int>(bytes.size()));
        ASSERT_NE(extra, nullptr);
        alogg_play_ex_ogg(extra, kBufferBytes, kFullVolume, kCentrePan, kNormalSpeed, 1);
        alogg_destroy_ogg(extra);
    }
    EXPECT_EQ(bytes, before);
}

TEST_F(OggStream, RefillPutsTheFirstFramesOfTheMusicIntoTheStream)
{
    attachAudio(true);
    const int filled = refillOggStream(ogg);
    ASSERT_GE(filled, 1);
    EXPECT_EQ(ogg->buffersFed.load(), filled);
    // With the voice standing still no further buffer is ready.
    EXPECT_EQ(refillOggStream(ogg), 0);

    const std::vector<std::uint16_t> expected = firstFrames(bytes, kFragmentFrames * filled);
    ASSERT_FALSE(expected.empty());
    const std::uint16_t* written = streamSamples(ogg->audio);
    // The library hands out its buffers in order from the start of its
    // sample, wherever the first one falls; find the music there.
    const std::vector<std::uint16_t> head(expected.begin(), expected.begin() + kFragmentFrames * kMusicChannels);
    const long sampleFrames = ogg->audio->samp->len;
    bool found = false;
    for (long offset = 0; offset + kFragmentFrames <= sampleFrames && !found; offset += kFragmentFrames) {
        found = std::equal(head.begin(), head.end(), written + offset * kMusicChannels);
    }
    EXPECT_TRUE(found);

    alogg_stop_ogg(ogg);
    EXPECT_EQ(ogg->audio, nullptr);
    EXPECT_EQ(refillOggStream(ogg), 0);
}

TEST_F(OggStream, AnUnloopedPieceEndsInSilence)
{
    constexpr long kLeft = 100;
    std::vector<std::uint16_t> skipped((kMysteryFrames - kLeft) * kMusicChannels);
    ASSERT_EQ(ogg->decoder.read(skipped.data(), kMysteryFrames - kLeft, false), kMysteryFrames - kLeft);
    std::vector<std::uint16_t> tail(kLeft * kMusicChannels);
    {
        OggDecoder reference;
        ASSERT_TRUE(reference.open(bytes.data(), bytes.size()));
        ASSERT_EQ(reference.read(skipped.data(), kMysteryFrames - kLeft, false), kMysteryFrames - kLeft);
        ASSERT_EQ(reference.read(tail.data(), kLeft, false), kLeft);
    }
    attachAudio(false);
    ASSERT_GE(refillOggStream(ogg), 1);
    EXPECT_TRUE(ogg->ended);

    const std::uint16_t* written = streamSamples(ogg->audio);
    const long sampleValues = ogg->audio->samp->len * kMusicChannels;
    // The tail of the music is in there once, and followed by nothing but
    // the flat line up to the end of its buffer.
    const std::uint16_t* at = std::search(written, written + sampleValues, tail.begin(), tail.end());
    ASSERT_NE(at, written + sampleValues);
    const long after = (at - written) + static_cast<long>(tail.size());
    const long bufferEnd = ((after / kMusicChannels + kFragmentFrames - 1) / kFragmentFrames) * kFragmentFrames;
    for (long i = after; i < bufferEnd * kMusicChannels; ++i) {
        ASSERT_EQ(written[i], kSilence) << "at value " << i;
    }
}

TEST_F(OggStream, DestroyReleasesAStreamThatIsStillAttached)
{
    // A playing stream destroyed without a stop first: ASan reports it if
    // the audio stream or its sample outlive the handle.
    attachAudio(true);
    refillOggStream(ogg);
    alogg_destroy_ogg(ogg);
    ogg = nullptr;
}
