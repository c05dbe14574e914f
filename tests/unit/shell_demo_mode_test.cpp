// --record as the shell runs it: the folder checked before anything plays, as
// the player and not as root, and only the first level of a session recorded.
#include <allegro.h>
#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "level/level.h"
#include "shell/demo_mode.h"
#include "shell/options.h"
#include "tests/support/headless.h"

namespace {

// Root may write anywhere, so the check runs in a child that has become
// nobody (when the tests run as root); its exit status tells the outcome.
TEST(DemoMode, ARecordingGoesOnlyWhereThePlayerMayWrite)
{
    TempDir scratch;
    ASSERT_EQ(chmod(scratch.path().c_str(), 0755), 0);
    const std::string readOnly = scratch.file("read-only");
    ASSERT_EQ(mkdir(readOnly.c_str(), 0555), 0);
    Settings settings;
    settings.recordFile = readOnly + "/run.dem";
    const pid_t child = fork();
    if (child == 0) {
        const passwd* nobody = getpwnam("nobody");
        if (geteuid() == 0 && (!nobody || setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0)) {
            _exit(3);
        }
        Demo demo;
        std::string error;
        const bool accepted = prepareDemo(settings, demo, error);
        _exit(accepted ? 1 : error == "demo " + settings.recordFile + ": cannot be written (Permission denied)" ? 0 : 2);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: accepted, 2: another message, 3: could not become nobody";
}

// ESC held ends every level at its first pass; the second level must leave
// the first one's recording alone.
TEST(DemoMode, OnlyTheFirstLevelOfASessionIsRecorded)
{
    startHeadlessGame();
    ScopedChdir inGame{gameDir()};
    TempDir scratch;
    std::fill(key, key + KEY_MAX, 0);
    key[KEY_ESC] = 1;
    Level level;
    for (const char* map : {"test.fmp", "level1.fmp"}) {
        playLevelMaybeRecorded(level, map, scratch.file("run.dem"));
    }
    key[KEY_ESC] = 0;
    Demo demo;
    std::string error;
    ASSERT_TRUE(loadDemo(scratch.file("run.dem"), demo, error)) << error;
    EXPECT_EQ(demo.header.mapName, "test.fmp");
}

}  // namespace
