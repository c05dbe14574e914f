// The player's settings: the config files (`key = value` lines, # comments)
// and the command line, later sources overriding earlier ones. Nothing is
// started and nothing is written here: a parse gives main the settings, or
// the text to print and the status to end with.
#pragma once

#include <string>
#include <vector>

#include "base/play_keys.h"
#include "base/display_plan.h"

struct Settings {
    int fps = 0;     // passes a second; 0 runs unpaced
    int window = 0;  // 1 windowed, 0 full screen
    int scale = kScaleAuto;  // 1 to 4: each game pixel scale x scale; or kScaleAuto, kScaleFit
    int pauseUnfocused = 0;  // 1: play pauses while the window has no focus
    int music = 1;   // 0: no music file is read
    int musicVolume = 100;  // 0 silent to 100 full
    int pad = 0;            // 1: game pads play too
    PlayBindings bindings = defaultPlayBindings();
    std::string mapFile;  // play this map at once, without the menus
    // A config file was read or an option given. Everything the settings
    // add (F12 screenshots among them) comes on with this; without it the
    // game behaves, and writes no files, as it always has.
    bool settingsInUse = false;
    std::string recordFile;    // record the next level played into this demo
    std::string playDemoFile;  // play this demo back, menus skipped
    std::string timeDemoFile;  // play this demo back unpaced and time it
};

enum class StartAction { Play, ShowText, Fail };

struct StartPlan {
    StartAction action = StartAction::Play;
    Settings settings;
    std::string text;  // ShowText: for stdout; Fail: one line for stderr
    int status = 0;    // the exit status when the action is not Play
};

constexpr int kBadInputStatus = 2;

// The files read, in order: the shipped glimmerfall.cfg in the game's data
// folder (none when that is empty: the game has no data folder), then the
// player's $XDG_CONFIG_HOME/glimmerfall/glimmerfall.cfg (default ~/.config/...).
std::vector<std::string> configFilePaths(const std::string& dataFolder);

// Reads the files that exist among `configFiles` (in order), then the
// command line. --help and --version answer without reading any file.
StartPlan planStart(int argc, const char* const* argv, const std::vector<std::string>& configFiles);

// What --help prints.
std::string usageText();
