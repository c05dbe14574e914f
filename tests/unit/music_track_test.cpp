// Loading a music track the way the menu and the level do: the file read
// whole into a buffer of its size, "uh oh..." when it cannot be opened,
// "death" when no stream can be made, and play going on in silence when no
// digital driver is there.
#include "music/track.h"
#include "tests/support/headless.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {
std::vector<std::string> shown;

void recordMessage(const char* text)
{
    shown.push_back(text);
}

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class MusicTrackLoad : public ::testing::Test {
protected:
    void SetUp() override
    {
        startHeadless();
        shown.clear();
        previousSink = musicMessageSink;
        musicMessageSink = recordMessage;
    }
    void TearDown() override
    {
        releaseMusicTrack(track);
        musicMessageSink = previousSink;
    }

    TempDir folder;
    ScopedChdir inFolder{folder.path()};
    MusicTrack track;
    MusicMessageSink previousSink = nullptr;
};

using Messages = std::vector<std::string>;
}

TEST_F(MusicTrackLoad, MissingFileSaysUhOhThenDeath)
{
    track = startMusicTrack("Mystery.ogg");
    EXPECT_EQ(shown, (Messages{"uh oh...", "death"}));
    EXPECT_EQ(track.file, nullptr);
    EXPECT_EQ(track.size, 0);
    EXPECT_EQ(track.stream, nullptr);
    // Stopping a track that never had a stream is harmless.
    stopMusicTrack(track);
}

TEST_F(MusicTrackLoad, FileThatIsNotOggSaysOnlyDeath)
{
    // Line ends included, to show the bytes are read untranslated.
    static const char bytes[] = "not music\r\nat all\n\x1a\x00 tail";
    const std::string text(bytes, sizeof bytes - 1);
    ASSERT_TRUE(writeFile(folder.file("Airship.ogg"), text));
    track = startMusicTrack("Airship.ogg");
    EXPECT_EQ(shown, Messages{"death"});
    EXPECT_EQ(track.stream, nullptr);
    ASSERT_NE(track.file, nullptr);
    ASSERT_EQ(track.size, static_cast<long>(text.size()));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(track.buffer), text.size()), text);
}

TEST_F(MusicTrackLoad, EmptyFileSaysOnlyDeath)
{
    ASSERT_TRUE(writeFile(folder.file("Mystery.ogg"), ""));
    track = startMusicTrack("Mystery.ogg");
    EXPECT_EQ(shown, Messages{"death"});
    EXPECT_NE(track.file, nullptr);
    EXPECT_EQ(track.size, 0);
}

TEST_F(MusicTrackLoad, RealMusicMakesAStreamAndPlaysSilentlyWithoutADriver)
{
    const std::string music = readAll(gameDir() + "/Mystery.ogg");
    ASSERT_FALSE(music.empty());
    ASSERT_TRUE(writeFile(folder.file("Mystery.ogg"), music));
    track = startMusicTrack("Mystery.ogg");
    // The null driver cannot play, and that is no reason to complain.
    EXPECT_TRUE(shown.empty());
    EXPECT_NE(track.stream, nullptr);
    EXPECT_NE(track.file, nullptr);
    ASSERT_EQ(track.size, static_cast<long>(music.size()));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(track.buffer), music.size()), music);
    stopMusicTrack(track);
    stopMusicTrack(track);
}

TEST_F(MusicTrackLoad, ReleaseEmptiesTheTrackAndCanBeRepeated)
{
    ASSERT_TRUE(writeFile(folder.file("Mystery.ogg"), readAll(gameDir() + "/Mystery.ogg")));
    track = startMusicTrack("Mystery.ogg");
    ASSERT_NE(track.stream, nullptr);
    releaseMusicTrack(track);
    EXPECT_EQ(track.stream, nullptr);
    EXPECT_EQ(track.buffer, nullptr);
    EXPECT_EQ(track.file, nullptr);
    EXPECT_EQ(track.size, 0);
    releaseMusicTrack(track);
}

TEST_F(MusicTrackLoad, MessagesGoToTheLibraryUnlessSomeoneListens)
{
    // Headless, the library writes its messages to the console.
    musicMessageSink = previousSink;
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    track = startMusicTrack("Missing.ogg");
    const std::string console = ::testing::internal::GetCapturedStdout() + ::testing::internal::GetCapturedStderr();
    EXPECT_NE(console.find("uh oh..."), std::string::npos) << console;
    EXPECT_NE(console.find("death"), std::string::npos) << console;
    EXPECT_TRUE(shown.empty());
}
