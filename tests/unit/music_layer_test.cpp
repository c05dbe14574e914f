// The music layer without a sound card: the decoder against the generated
// music, and the track loader on files good and bad with the stream calls on
// the null digital driver.
#include "music/ogg_stream.h"
#include "music/track.h"
#include "tests/support/headless.h"
#include "tools/assetgen/music_tunes.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {
using Bytes = std::vector<unsigned char>;
using Samples = std::vector<std::uint16_t>;
constexpr long kChunkFrames = 4096;
constexpr int kBufferBytes = 65536, kFullVolume = 255, kCentrePan = 127, kNormalSpeed = 1000, kPollMs = 25;
std::vector<std::string> shown;  // the track loader's messages

Bytes music(const std::string& name = "Mystery.ogg")
{
    std::ifstream in(gameDir() + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
}

TEST(GeneratedMusic, DecodesToItsLengthWithinBudgetAndStreamsInFragmentsLoopedOrOnce)
{
    constexpr long kMaxFileBytes = 300 * 1024;
    constexpr int kAudible = 0x8000 + 0x2000;
    // Notes fade out before the loop point and in after it: no click there.
    constexpr int kLargestSeamStep = 0x200;
    constexpr std::uint16_t kSilence = 0x8000;
    const struct { const char* name; long frames; } pieces[] = {
        {"Mystery.ogg", kMysteryFrames}, {"Airship.ogg", kAirshipFrames}};
    for (const auto& piece : pieces) {
        SCOPED_TRACE(piece.name);
        Bytes bytes = music(piece.name);
        EXPECT_LT(static_cast<long>(bytes.size()), kMaxFileBytes);
        OggDecoder decoder;
        ASSERT_TRUE(decoder.open(bytes.data(), bytes.size()));
        EXPECT_EQ(decoder.sampleRate(), kMusicSampleRate);
        EXPECT_EQ(decoder.totalFrames(), piece.frames);
        // Unlooped, asking for more than there is stops short at the end.
        Samples once((piece.frames + kChunkFrames) * kMusicChannels);
        once.resize(decoder.read(once.data(), piece.frames + kChunkFrames, false) * kMusicChannels);
        ASSERT_EQ(static_cast<long>(once.size()), piece.frames * kMusicChannels);
        EXPECT_GT(*std::max_element(once.begin(), once.end()), kAudible);
        for (int channel = 0; channel < kMusicChannels; ++channel) {
            EXPECT_LE(std::abs(once[once.size() - kMusicChannels + channel] - once[channel]), kLargestSeamStep);
        }
        // Enough stream fragments to pass the end twice: a looped piece starts
        // over at once each time, an unlooped one falls silent for good.
        const long fragments = 2 * piece.frames / kChunkFrames + 2;
        for (bool loop : {true, false}) {
            ALOGG_OGG* ogg = alogg_create_ogg_from_buffer(bytes.data(), static_cast<int>(bytes.size()));
            ASSERT_NE(ogg, nullptr);
            ogg->fragmentFrames = kChunkFrames;
            ogg->loop = loop;
            Samples played, fragment(kChunkFrames * kMusicChannels);
            for (long i = 0; i < fragments; ++i) {
                fillOggFragment(*ogg, fragment.data());
                played.insert(played.end(), fragment.begin(), fragment.end());
            }
            Samples expected = once;
            while (loop && expected.size() < played.size()) {
                expected.insert(expected.end(), once.begin(), once.end());
            }
            expected.resize(played.size(), kSilence);
            EXPECT_TRUE(played == expected) << "looped " << loop;
            alogg_destroy_ogg(ogg);
        }
    }
}

TEST(MusicTrack, ReadsTheFileWholeSaysUhOhOrDeathWhenItIsNoOggVorbisAndStaysSafeWithoutADriver)
{
    startHeadless();
    TempDir folder;
    musicMessageSink = [](const char* text) { shown.push_back(text); };
    Bytes real = music();
    ASSERT_GT(real.size(), 200u);
    std::string fakeStart(4096, 'x');
    fakeStart.replace(0, 4, "OggS");
    static const char kNotOgg[] = "not music\r\nat all\n\x1a\x00 tail";  // read untranslated
    const struct { const char* file; bool exists; std::string bytes; std::vector<std::string> messages; } cases[] = {
        {"Missing.ogg", false, "", {"uh oh...", "death"}},
        {"Empty.ogg", true, "", {"death"}},
        {"Text.ogg", true, std::string(kNotOgg, sizeof kNotOgg - 1), {"death"}},
        // Cut inside the first page and inside the header packets, and a real
        // capture pattern followed by nonsense: none of them is Ogg Vorbis.
        {"Page.ogg", true, std::string(real.begin(), real.begin() + 20), {"death"}},
        {"Headers.ogg", true, std::string(real.begin(), real.begin() + 200), {"death"}},
        {"Capture.ogg", true, fakeStart, {"death"}},
        {"Mystery.ogg", true, std::string(real.begin(), real.end()), {}},  // plays silently without a driver
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        shown.clear();
        ASSERT_TRUE(!c.exists || writeFile(folder.file(c.file), c.bytes));
        MusicTrack track = startMusicTrack(folder.file(c.file).c_str());
        EXPECT_EQ(shown, c.messages);
        EXPECT_EQ(track.file != nullptr, c.exists);
        EXPECT_EQ(track.stream != nullptr, c.messages.empty());
        ASSERT_EQ(track.size, static_cast<long>(c.bytes.size()));
        EXPECT_TRUE(std::equal(c.bytes.begin(), c.bytes.end(), reinterpret_cast<const char*>(track.buffer)));
        // With the null digital driver every stream, none or real, refuses to
        // play and stays safe to call. (Refills of a playing stream, and its
        // end with the handle, are music_playback_test's.)
        EXPECT_LT(alogg_play_ex_ogg(track.stream, kBufferBytes, kFullVolume, kCentrePan, kNormalSpeed, 1), 0);
        EXPECT_LT(alogg_start_autopoll_ogg(track.stream, kPollMs), 0);
        EXPECT_EQ(refillOggStream(track.stream), 0);
        EXPECT_TRUE(!track.stream || (track.stream->audio == nullptr && !track.stream->polling));
        stopMusicTrack(track);
        stopMusicTrack(track);
        releaseMusicTrack(track);
        EXPECT_TRUE(!track.stream && !track.buffer && !track.file && track.size == 0);
        releaseMusicTrack(track);  // twice is harmless
    }
    // No stream is made of a null buffer or a length that is none.
    for (auto [data, size] : {std::pair{real.data(), -5}, {nullptr, 100}}) {
        EXPECT_EQ(alogg_create_ogg_from_buffer(data, size), nullptr) << size;
    }
}
