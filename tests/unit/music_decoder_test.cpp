// The in-memory decoder against the music the generator writes: exact
// length, seamless wrap at the loop point, and refusal of data that is not
// Ogg Vorbis.
#include "music/alogg.h"
#include "music/ogg_decoder.h"
#include "tests/support/headless.h"
#include "tools/assetgen/music_tunes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace {
constexpr long kMaxFileBytes = 300 * 1024;
constexpr double kShortestSeconds = 8.0;
constexpr double kLongestSeconds = 20.0;
constexpr long kChunkFrames = 4096;

std::vector<unsigned char> readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<unsigned char> mysteryBytes()
{
    return readAll(gameDir() + "/Mystery.ogg");
}

// Decodes a whole pass without looping, in chunks that do not divide it.
std::vector<std::uint16_t> decodeOnce(OggDecoder& decoder)
{
    std::vector<std::uint16_t> all;
    std::vector<std::uint16_t> chunk(kChunkFrames * decoder.channels());
    for (;;) {
        const long got = decoder.read(chunk.data(), kChunkFrames, false);
        all.insert(all.end(), chunk.begin(), chunk.begin() + got * decoder.channels());
        if (got < kChunkFrames) {
            return all;
        }
    }
}

struct GeneratedPiece {
    const char* fileName;
    long frames;
};

class GeneratedMusic : public ::testing::TestWithParam<GeneratedPiece> {};
}

TEST_P(GeneratedMusic, DecodesToTheLoopLengthTheGeneratorRendered)
{
    const std::vector<unsigned char> bytes = readAll(gameDir() + "/" + GetParam().fileName);
    ASSERT_FALSE(bytes.empty()) << "the build should have generated " << GetParam().fileName;
    OggDecoder decoder;
    ASSERT_TRUE(decoder.open(bytes.data(), bytes.size()));
    EXPECT_EQ(decoder.channels(), kMusicChannels);
    EXPECT_EQ(decoder.sampleRate(), kMusicSampleRate);
    EXPECT_EQ(decoder.totalFrames(), GetParam().frames);

    const std::vector<std::uint16_t> samples = decodeOnce(decoder);
    EXPECT_EQ(static_cast<long>(samples.size()), GetParam().frames * kMusicChannels);
}

TEST_P(GeneratedMusic, FitsTheSizeAndDurationBudget)
{
    const std::vector<unsigned char> bytes = readAll(gameDir() + "/" + GetParam().fileName);
    ASSERT_FALSE(bytes.empty());
    EXPECT_LT(static_cast<long>(bytes.size()), kMaxFileBytes);
    const double seconds = static_cast<double>(GetParam().frames) / kMusicSampleRate;
    EXPECT_GE(seconds, kShortestSeconds);
    EXPECT_LE(seconds, kLongestSeconds);
}

TEST_P(GeneratedMusic, IsNotSilent)
{
    const std::vector<unsigned char> bytes = readAll(gameDir() + "/" + GetParam().fileName);
    OggDecoder decoder;
    ASSERT_TRUE(decoder.open(bytes.data(), bytes.size()));
    const std::vector<std::uint16_t> samples = decodeOnce(decoder);
    constexpr int kCentre = 0x8000;
    constexpr int kAudibleSwing = 0x2000;
    int loudest = 0;
    for (std::uint16_t sample : samples) {
        loudest = std::max(loudest, std::abs(static_cast<int>(sample) - kCentre));
    }
    EXPECT_GT(loudest, kAudibleSwing);
}

TEST_P(GeneratedMusic, JoinsItsLoopWithoutAJump)
{
    // Every note has faded to nothing before the loop point and the first
    // ones fade in from nothing, so the seam is as quiet as a step can be.
    // A click would be a jump of a large part of the full scale.
    constexpr int kLargestSeamStep = 0x200;
    const std::vector<unsigned char> bytes = readAll(gameDir() + "/" + GetParam().fileName);
    OggDecoder decoder;
    ASSERT_TRUE(decoder.open(bytes.data(), bytes.size()));
    const std::vector<std::uint16_t> samples = decodeOnce(decoder);
    ASSERT_GE(samples.size(), 2u * kMusicChannels);
    for (int channel = 0; channel < kMusicChannels; ++channel) {
        const int last = samples[samples.size() - kMusicChannels + channel];
        const int first = samples[channel];
        EXPECT_LE(std::abs(last - first), kLargestSeamStep) << "channel " << channel;
    }
}

INSTANTIATE_TEST_SUITE_P(BothPieces, GeneratedMusic,
                         ::testing::Values(GeneratedPiece{"Mystery.ogg", kMysteryFrames},
                                           GeneratedPiece{"Airship.ogg", kAirshipFrames}));

TEST(OggDecoder, LoopedReadWrapsToTheStartWithoutAGap)
{
    const std::vector<unsigned char> bytes = mysteryBytes();
    OggDecoder reference;
    ASSERT_TRUE(reference.open(bytes.data(), bytes.size()));
    const std::vector<std::uint16_t> once = decodeOnce(reference);
    const long total = reference.totalFrames();

    // Stop just short of the end, then ask for more than is left in one read.
    constexpr long kBeforeEnd = 700;
    constexpr long kAcross = 3000;
    OggDecoder looping;
    ASSERT_TRUE(looping.open(bytes.data(), bytes.size()));
    std::vector<std::uint16_t> skip((total - kBeforeEnd) * kMusicChannels);
    ASSERT_EQ(looping.read(skip.data(), total - kBeforeEnd, true), total - kBeforeEnd);
    std::vector<std::uint16_t> across(kAcross * kMusicChannels);
    ASSERT_EQ(looping.read(across.data(), kAcross, true), kAcross);

    const std::vector<std::uint16_t> tail(once.end() - kBeforeEnd * kMusicChannels, once.end());
    const std::vector<std::uint16_t> head(once.begin(), once.begin() + (kAcross - kBeforeEnd) * kMusicChannels);
    EXPECT_EQ(std::vector<std::uint16_t>(across.begin(), across.begin() + kBeforeEnd * kMusicChannels), tail);
    EXPECT_EQ(std::vector<std::uint16_t>(across.begin() + kBeforeEnd * kMusicChannels, across.end()), head);
}

TEST(OggDecoder, UnloopedReadStopsShortAtTheEnd)
{
    const std::vector<unsigned char> bytes = mysteryBytes();
    OggDecoder decoder;
    ASSERT_TRUE(decoder.open(bytes.data(), bytes.size()));
    constexpr long kBeforeEnd = 10;
    std::vector<std::uint16_t> buffer((kMysteryFrames + kChunkFrames) * kMusicChannels);
    ASSERT_EQ(decoder.read(buffer.data(), kMysteryFrames - kBeforeEnd, false), kMysteryFrames - kBeforeEnd);
    EXPECT_EQ(decoder.read(buffer.data(), kChunkFrames, false), kBeforeEnd);
    EXPECT_EQ(decoder.read(buffer.data(), kChunkFrames, false), 0);
    // Rewinding makes a whole pass available again.
    ASSERT_TRUE(decoder.rewind());
    EXPECT_EQ(decoder.read(buffer.data(), kMysteryFrames + kChunkFrames, false), kMysteryFrames);
}

TEST(OggDecoder, ManyLoopsKeepTheirLength)
{
    // Several wraps inside one read: nothing lost or doubled at any seam.
    const std::vector<unsigned char> bytes = mysteryBytes();
    OggDecoder decoder;
    ASSERT_TRUE(decoder.open(bytes.data(), bytes.size()));
    constexpr long kPasses = 3;
    std::vector<std::uint16_t> three(kPasses * kMysteryFrames * kMusicChannels);
    ASSERT_EQ(decoder.read(three.data(), kPasses * kMysteryFrames, true), kPasses * kMysteryFrames);
    const auto passLength = static_cast<std::ptrdiff_t>(kMysteryFrames * kMusicChannels);
    EXPECT_TRUE(std::equal(three.begin(), three.begin() + passLength, three.begin() + 2 * passLength));
}

TEST(OggDecoder, RefusesWhatIsNotOggVorbis)
{
    std::vector<unsigned char> noise(4096);
    std::srand(7);
    for (unsigned char& byte : noise) {
        byte = static_cast<unsigned char>(std::rand());
    }
    const std::vector<unsigned char> bytes = mysteryBytes();
    ASSERT_GT(bytes.size(), 200u);
    // Cuts inside the first page, inside the header packets, and a real
    // capture pattern followed by nonsense.
    std::vector<unsigned char> fakeStart = noise;
    const char capture[] = "OggS";
    std::copy(capture, capture + 4, fakeStart.begin());

    const std::vector<std::vector<unsigned char>> bad = {
        {},
        noise,
        std::vector<unsigned char>(bytes.begin(), bytes.begin() + 20),
        std::vector<unsigned char>(bytes.begin(), bytes.begin() + 200),
        fakeStart,
    };
    for (const auto& data : bad) {
        OggDecoder decoder;
        EXPECT_FALSE(decoder.open(data.data(), data.size())) << data.size() << " bytes";
        std::vector<unsigned char> copy = data;
        EXPECT_EQ(alogg_create_ogg_from_buffer(copy.empty() ? nullptr : copy.data(),
                                               static_cast<int>(copy.size())), nullptr);
    }
    std::vector<unsigned char> copy = bytes;
    EXPECT_EQ(alogg_create_ogg_from_buffer(copy.data(), 0), nullptr);
    EXPECT_EQ(alogg_create_ogg_from_buffer(copy.data(), -5), nullptr);
    EXPECT_EQ(alogg_create_ogg_from_buffer(nullptr, 100), nullptr);
}

TEST(OggDecoder, ReadsNothingWhenNotOpen)
{
    OggDecoder decoder;
    std::uint16_t samples[8] = {};
    EXPECT_EQ(decoder.read(samples, 4, true), 0);
    EXPECT_FALSE(decoder.rewind());
}
