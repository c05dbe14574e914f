// Settings from the two config files and the command line: every key, which source wins, and every kind
// of bad input with its one line and status 2; --help and --version answer whatever the files say.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/play_keys.h"
#include "base/screenshot.h"
#include "shell/options.h"
#include "tests/support/headless.h"

namespace {

using Args = std::vector<const char*>;
struct Sources {
    const char* folderFile;  // glimmerfall.cfg in the working folder, or nullptr for none
    const char* userFile;    // the per-user file, or nullptr
    Args args;
};

// Runs planStart on files written to a scratch folder; settings as "fps window scale music map|F12 paused".
StartPlan plan(const Sources& sources)
{
    TempDir folder;
    std::vector<std::string> files = {folder.file("glimmerfall.cfg"), folder.file("user.cfg")};
    if (sources.folderFile) writeFile(files[0], sources.folderFile);
    if (sources.userFile) writeFile(files[1], sources.userFile);
    Args argv = {"glimmerfall"};
    argv.insert(argv.end(), sources.args.begin(), sources.args.end());
    StartPlan result = planStart(static_cast<int>(argv.size()), argv.data(), files);
    // Messages name the file; the scratch folder's name changes from run to run.
    for (const char* name : {"glimmerfall.cfg", "user.cfg"}) {
        const std::string path = folder.file(name);
        for (size_t at; (at = result.text.find(path)) != std::string::npos;) result.text.replace(at, path.size(), name);
    }
    return result;
}
// Settings as "fps window scale music map|F12 paused", then the music volume and the pad when set, and
// " action:keys;" for each action moved off its own keys.
std::string summary(const Settings& s)
{
    std::string text = std::to_string(s.fps) + " " + std::to_string(s.window) + " " + std::to_string(s.scale) + " " +
                       std::to_string(s.music) + " " + s.mapFile +
                       (s.recordFile.empty() ? "" : " record " + s.recordFile) +
                       (s.playDemoFile.empty() ? "" : " play " + s.playDemoFile) +
                       (s.timeDemoFile.empty() ? "" : " time " + s.timeDemoFile) + (s.settingsInUse ? "|F12" : "|") +
                       (s.pauseUnfocused ? " paused" : "");
    if (s.musicVolume != 100) text += " volume " + std::to_string(s.musicVolume);
    if (s.pad != 0) text += " pad " + std::to_string(s.pad);
    for (int action = 0; action < kPlayActionCount; ++action) {
        if (s.bindings[action] == defaultPlayBindings()[action]) continue;
        text += " " + std::string(playActionName(PlayAction(action))) + ":" + keyName(s.bindings[action][0]) + "," +
                keyName(s.bindings[action][1]) + ";";
    }
    return text;
}

TEST(Options, EachSourceOverridesTheOneBeforeKeyByKey)
{
    const struct { Sources sources; const char* settings; } cases[] = {
        {{nullptr, nullptr, {}}, "0 0 0 1 |"},  // nothing given: unpaced, full screen, auto, music, no shots
        {{"", nullptr, {}}, "0 0 0 1 |F12"},  // an empty file still means the player chose settings
        {{"fps = 60\nwindow = 1\nscale = 3\nmusic = 0\npause_unfocused = 1\n", nullptr, {}}, "60 1 3 0 |F12 paused"},
        {{"scale = fit\n", nullptr, {}}, "0 0 -1 1 |F12"},
        {{"scale = fit\n", "scale = 2\n", {"--scale", "auto"}}, "0 0 0 1 |F12"},
        {{"# a comment\nfps = 60\nscale = 2\n", "fps = 30\n", {}}, "30 0 2 1 |F12"},
        {{"fps = 60\nwindow = 1\n", "window = 0\nscale = 4\n", {"--fps", "0", "--scale", "1"}}, "0 0 1 1 |F12"},
        {{nullptr, "window = 0\n", {"--window", "--no-music", "--map", "my.fmp"}}, "0 1 0 0 my.fmp|F12"},
        {{"window = 1\n", nullptr, {"--fps", "5", "--fps", "1000", "--window", "--fullscreen"}}, "1000 0 0 1 |F12"},
        {{nullptr, nullptr, {"--map", "my.fmp", "--record", "r.dem"}}, "0 0 0 1 my.fmp record r.dem|F12"},
        {{"fps = 60\n", nullptr, {"--playdemo", "p.dem"}}, "60 0 0 1  play p.dem|F12"},
        {{nullptr, nullptr, {"--timedemo", "t.dem", "--timedemo", "u.dem"}}, "0 0 0 1  time u.dem|F12"},
        // A byte-order mark, Windows line ends and blanks around the parts of a line are the file's, not the values'.
        {{"\xef\xbb\xbf fps=60 \r\n\tscale =\t2\r\n", nullptr, {}}, "60 0 2 1 |F12"},
        // Keys are bound by the library's names, one or two to an action.
        {{"music_volume = 50\npad = 1\nkey_fire = ENTER\n", nullptr, {}}, "0 0 0 1 |F12 volume 50 pad 1 fire:ENTER,;"},
        {{"key_backward = Z, X\nkey_aim_up = W 8_PAD\n", nullptr, {}}, "0 0 0 1 |F12 backward:Z,X; aim_up:W,8_PAD;"},
        {{"key_fire = T\nkey_lock = SPACE\n", nullptr, {}}, "0 0 0 1 |F12 lock:SPACE,; fire:T,;"},  // a swap, in any order
    };
    for (const auto& c : cases) {
        const StartPlan result = plan(c.sources);
        SCOPED_TRACE(c.settings);
        EXPECT_EQ(result.action, StartAction::Play) << result.text;
        EXPECT_EQ(summary(result.settings), c.settings);
    }
}

TEST(Options, BadInputIsOneLineNamingTheOptionOrKeyItsSourceAndTheAllowedValuesWithStatus2)
{
    const std::string kAllKeys = "fps, window, scale, music, music_volume, pad, pause_unfocused, key_forward, key_backward, key_aim_up, "
                                 "key_aim_down, key_aim_left, key_aim_right, key_fire, key_lock, key_help, key_leave";
    const std::string kKeysAllowed = "; allowed: one or two key names, such as SPACE, LCONTROL, A, F1, UP, ENTER_PAD (the "
                                     "library's KEY_ names without KEY_), each key for one action";
    const struct { Sources sources; std::string message; } cases[] = {
        {{nullptr, nullptr, {"--frob"}}, "command line: unknown option \"--frob\"; see glimmerfall --help for the options"},
        {{nullptr, nullptr, {"--fps"}}, "command line: --fps needs a value N; allowed: 0 (unpaced) or 1 to 1000"},
        {{nullptr, nullptr, {"--record", ""}}, "command line: --record needs a file name"},
        {{nullptr, nullptr, {"--record", "r.dem", "--playdemo", "p.dem"}},
         "command line: --record and --playdemo cannot be used together"},
        {{nullptr, nullptr, {"--timedemo", "t.dem", "--playdemo", "p.dem"}},
         "command line: --playdemo and --timedemo cannot be used together"},
        {{nullptr, nullptr, {"--timedemo", "t.dem", "--map", "my.fmp"}},
         "command line: --timedemo and --map cannot be used together: the demo names its map"},
        {{nullptr, nullptr, {"--fps", "1001"}}, "command line: --fps 1001 is out of range; allowed: 0 (unpaced) or 1 to 1000"},
        {{nullptr, nullptr, {"--scale", "0"}}, "command line: --scale \"0\" is out of range; allowed: auto, fit or 1 to 4"},
        {{nullptr, nullptr, {"--scale", "5"}}, "command line: --scale \"5\" is out of range; allowed: auto, fit or 1 to 4"},
        {{nullptr, nullptr, {"--scale", "2x"}}, "command line: --scale \"2x\" is not auto, fit or a number; allowed: auto, fit or 1 to 4"},
        {{nullptr, nullptr, {"--fps", "99999999999999999999"}},
         "command line: --fps \"99999999999999999999\" is not a number; allowed: 0 (unpaced) or 1 to 1000"},
        {{"fps = sixty\n", nullptr, {}}, "glimmerfall.cfg: fps \"sixty\" is not a number; allowed: 0 (unpaced) or 1 to 1000"},
        {{"window = 2\n", nullptr, {}}, "glimmerfall.cfg: window 2 is out of range; allowed: 0 (full screen) or 1 (window)"},
        {{nullptr, "music = -1\n", {}}, "user.cfg: music -1 is out of range; allowed: 0 (off) or 1 (on)"},
        {{nullptr, "scale =\n", {}}, "user.cfg: scale \"\" is not auto, fit or a number; allowed: auto, fit or 1 to 4"},
        {{nullptr, "scale = 2 # big\n", {}}, "user.cfg: scale \"2 # big\" is not auto, fit or a number; allowed: auto, fit or 1 to 4"},
        {{"speed = 3\n", nullptr, {}}, "glimmerfall.cfg: unknown key \"speed\"; allowed: " + kAllKeys},
        {{"fps = 60\nscale = 2\n\nfps = 30\n", nullptr, {}},
         "glimmerfall.cfg: key \"fps\" is given more than once, on lines 1 and 4; give each key once"},
        {{nullptr, "music = x\nmusic = 1\n# music = 0\nmusic = 0\n", {}},
         "user.cfg: key \"music\" is given more than once, on lines 1, 2 and 4; give each key once"},
        {{"fps 60\n", nullptr, {}}, "glimmerfall.cfg: line 1 \"fps 60\" is not key = value"},
        // A value is a plain whole number: no sign before it, no blank inside the command line's.
        {{"fps = +60\n", nullptr, {}}, "glimmerfall.cfg: fps \"+60\" is not a number; allowed: 0 (unpaced) or 1 to 1000"},
        {{nullptr, nullptr, {"--scale", " 2"}}, "command line: --scale \" 2\" is not auto, fit or a number; allowed: auto, fit or 1 to 4"},
        // Bytes that would break the line or reach the terminal are shown escaped; printable UTF-8 is kept.
        {{"scale = 2\x1b[2J\xc2\x9b\xc3\xbc\xff\n", nullptr, {}},
         "glimmerfall.cfg: scale \"2\\x1b[2J\\xc2\\x9b\xc3\xbc\\xff\" is not auto, fit or a number; allowed: auto, fit or 1 to 4"},
        {{"fps = 60\n[video]\nscale = 2\n", nullptr, {}},
         "glimmerfall.cfg: unknown section [video]; the keys " + kAllKeys + " stand before any section"},
        {{nullptr, nullptr, {"--music-volume", "101"}},
         "command line: --music-volume 101 is out of range; allowed: 0 (silent) to 100 (full)"},
        {{"key_fire = SPCE\n", nullptr, {}}, "glimmerfall.cfg: key_fire \"SPCE\" names SPCE, which is no key" + kKeysAllowed},
        {{"key_fire = T\n", nullptr, {}}, "glimmerfall.cfg: the key T is given to both key_lock and key_fire" + kKeysAllowed},
        {{"key_forward = A B C\n", nullptr, {}}, "glimmerfall.cfg: key_forward \"A B C\" names more than two keys" + kKeysAllowed},
        {{"key_help =\n", nullptr, {}}, "glimmerfall.cfg: key_help \"\" names no key" + kKeysAllowed},
        // A good file does not save a bad command line, nor a good command line a bad file.
        {{"fps = 60\n", nullptr, {"--window", "--scale", "9"}}, "command line: --scale \"9\" is out of range; allowed: auto, fit or 1 to 4"},
        {{"fps = 600000\n", nullptr, {"--fps", "60"}},
         "glimmerfall.cfg: fps 600000 is out of range; allowed: 0 (unpaced) or 1 to 1000"},
    };
    for (const auto& c : cases) {
        const StartPlan result = plan(c.sources);
        EXPECT_EQ(result.action, StartAction::Fail);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.text, std::string("glimmerfall: ") + c.message);
    }
}

// Files that are not a few lines of text are refused whole, with the file's name and why.
TEST(Options, AFolderAFileOver64KiBOrOneWithANulByteIsRefused)
{
    TempDir folder;
    const std::string comments(64 * 1024 - 8, '#');
    const struct { bool isFolder; std::string bytes; const char* wrong; } cases[] = {
        {true, "", "cannot be read: Is a directory"},
        {false, "fps = 9\n" + comments, nullptr},  // 64 KiB exactly: still taken
        {false, "fps = 9\n#" + comments, "is larger than 64 KiB; a config file is a few lines"},
        {false, std::string("fps = 9\0\n", 9), "line 1 holds a NUL byte; a config file is text"},
    };
    for (const auto& c : cases) {
        const std::string path = folder.file("glimmerfall.cfg");
        std::filesystem::remove_all(path);
        c.isFolder ? (void)std::filesystem::create_directory(path) : (void)writeFile(path, c.bytes);
        const char* argv[] = {"glimmerfall"};
        const StartPlan result = planStart(1, argv, {path});
        EXPECT_EQ(result.text, c.wrong ? "glimmerfall: " + path + ": " + c.wrong : "");
        EXPECT_EQ(result.settings.fps, c.wrong ? 0 : 9);
    }
}

TEST(Options, HelpAndVersionAnswerOnStdoutWithStatus0WhateverTheFilesHold)
{
    const StartPlan help = plan({"fps = broken\n", nullptr, {"--fps", "9", "--help", "--frob"}});
    EXPECT_EQ((std::vector<int>{int(help.action), help.status}), (std::vector<int>{int(StartAction::ShowText), 0}));
    EXPECT_EQ(help.text, usageText());
    const StartPlan version = plan({"fps = broken\n", nullptr, {"--version"}});
    EXPECT_EQ((std::vector<int>{int(version.action), version.status}), (std::vector<int>{int(StartAction::ShowText), 0}));
    EXPECT_EQ(version.text.rfind("glimmerfall 1.", 0), 0u) << version.text;
}

// The shipped file is the data folder's; the per-user files follow the XDG variables when they are absolute
// paths, else HOME.
TEST(Options, TheUserFileAndTheScreenshotsLieUnderTheXdgFoldersOrHome)
{
    const struct { const char* xdg; const char* home; std::vector<std::string> configs; const char* shots; } cases[] = {
        {"/x", "/h", {"/data/glimmerfall.cfg", "/x/glimmerfall/glimmerfall.cfg"}, "/x/glimmerfall/screenshots"},
        {"relative", "/h", {"/data/glimmerfall.cfg", "/h/.config/glimmerfall/glimmerfall.cfg"},
         "/h/.local/share/glimmerfall/screenshots"},
        {nullptr, "/h", {"/data/glimmerfall.cfg", "/h/.config/glimmerfall/glimmerfall.cfg"},
         "/h/.local/share/glimmerfall/screenshots"},
        {nullptr, nullptr, {"/data/glimmerfall.cfg"}, ""},
    };
    for (const auto& c : cases) {
        for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME"}) c.xdg ? setenv(variable, c.xdg, 1) : unsetenv(variable);
        c.home ? setenv("HOME", c.home, 1) : unsetenv("HOME");
        EXPECT_EQ(configFilePaths("/data"), c.configs);
        EXPECT_EQ(screenshotFolder(), c.shots);
    }
}

}  // namespace
