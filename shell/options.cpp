#include "shell/options.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "base/display_plan.h"
#include "base/scaled_screen.h"
#include "base/user_folders.h"
#include "base/version.h"
#include "shell/config_file.h"
#include "shell/message_text.h"

namespace {

constexpr const char* kConfigName = "glimmerfall.cfg";
constexpr const char* kCommandLine = "command line";
constexpr int kMaxFps = 1000;
// The usage's column of option names: the longest ("--playdemo FILE") and two blanks.
constexpr std::size_t kUsageNameWidth = 17;

struct Key;
// Reads a key's value that is not a plain whole number into the settings;
// "" when it is good, else what is wrong with it (without the key's name).
using ParseValue = std::string (*)(Settings& settings, const Key& key, const char* text);
std::string parseScale(Settings& settings, const Key& key, const char* text);

// A setting as a config key; the command line reaches it through the options.
// A whole-number key has its field and range; any other has its own parse.
struct Key {
    const char* name;
    int Settings::*field;
    int low;
    int high;
    const char* allowed;
    ParseValue parse = nullptr;
};
std::string parseBinding(Settings& settings, const Key& key, const char* text);
constexpr const char* kBindingAllowed =
    "one or two key names, such as SPACE, LCONTROL, A, F1, UP, ENTER_PAD (the library's KEY_ names without KEY_), "
    "each key for one action";
constexpr int kMaxMusicVolume = 100;

constexpr Key kKeys[] = {
    {"fps", &Settings::fps, 0, kMaxFps, "0 (unpaced) or 1 to 1000"},
    {"window", &Settings::window, 0, 1, "0 (full screen) or 1 (window)"},
    {"scale", &Settings::scale, kMinScale, kMaxScale, "auto, fit or 1 to 4", parseScale},
    {"music", &Settings::music, 0, 1, "0 (off) or 1 (on)"},
    {"music_volume", &Settings::musicVolume, 0, kMaxMusicVolume, "0 (silent) to 100 (full)"},
    {"pad", &Settings::pad, 0, 1, "0 (keyboard only) or 1 (game pads too)"},
    {"pause_unfocused", &Settings::pauseUnfocused, 0, 1, "0 (play on) or 1 (pause)"},
    {"key_forward", nullptr, 0, 0, kBindingAllowed, parseBinding},
    {"key_backward", nullptr, 0, 0, kBindingAllowed, parseBinding},
    {"key_aim_up", nullptr, 0, 0, kBindingAllowed, parseBinding},
    {"key_aim_down", nullptr, 0, 0, kBindingAllowed, parseBinding},
    {"key_aim_left", nullptr, 0, 0, kBindingAllowed, parseBinding},
    {"key_aim_right", nullptr, 0, 0, kBindingAllowed, parseBinding},
    {"key_fire", nullptr, 0, 0, kBindingAllowed, parseBinding},
    {"key_lock", nullptr, 0, 0, kBindingAllowed, parseBinding},
    {"key_help", nullptr, 0, 0, kBindingAllowed, parseBinding},
    {"key_leave", nullptr, 0, 0, kBindingAllowed, parseBinding},
};
constexpr const char* kKeyNames = "fps, window, scale, music, music_volume, pad, pause_unfocused, key_forward, key_backward, "
                                  "key_aim_up, key_aim_down, key_aim_left, key_aim_right, key_fire, key_lock, "
                                  "key_help, key_leave";
constexpr const char* kBindingPrefix = "key_";

enum class Request { None, Help, Version };

// One command-line option: it sets a key (to its value, or to `fixed` for a
// switch), a text (a file name) or asks for a text to print.
struct Option {
    const char* name;
    const char* valueName;  // nullptr for a switch
    const char* key;
    const char* fixed;
    std::string Settings::*text;
    Request request;
    const char* help;
};
constexpr Option kOptions[] = {
    {"--fps", "N", "fps", nullptr, nullptr, Request::None,
     "passes a second, 1 to 1000; 0 runs unpaced, as fast as the machine draws"},
    {"--window", nullptr, "window", "1", nullptr, Request::None, "play in a window"},
    {"--fullscreen", nullptr, "window", "0", nullptr, Request::None, "play full screen (the default)"},
    {"--scale", "S", "scale", nullptr, nullptr, Request::None,
     "the picture's size: auto, fit, or each game pixel an S x S square, 1 to 4"},
    {"--no-music", nullptr, "music", "0", nullptr, Request::None, "play without music (no .ogg file is read)"},
    {"--music-volume", "N", "music_volume", nullptr, nullptr, Request::None,
     "play the music at N percent, 0 (silent) to 100 (full, the default)"},
    {"--map", "FILE", nullptr, nullptr, &Settings::mapFile, Request::None,
     "play the map FILE at once, without the menus; ESC ends the game"},
    {"--record", "FILE", nullptr, nullptr, &Settings::recordFile, Request::None,
     "record the next level played into the demo FILE"},
    {"--playdemo", "FILE", nullptr, nullptr, &Settings::playDemoFile, Request::None,
     "play the demo FILE back, menus skipped; ESC stops it"},
    {"--timedemo", "FILE", nullptr, nullptr, &Settings::timeDemoFile, Request::None,
     "play the demo FILE back as fast as it goes and time it"},
    {"--help", nullptr, nullptr, nullptr, nullptr, Request::Help, "show this text"},
    {"--version", nullptr, nullptr, nullptr, nullptr, Request::Version, "show the version"},
};

// One line whatever the path or the value quoted in it holds.
std::string failure(const std::string& source, const std::string& what)
{
    return "glimmerfall: " + escapeNonPrinting(source + ": " + what);
}

const Key* findKey(const char* name)
{
    for (const Key& key : kKeys) {
        if (std::strcmp(key.name, name) == 0) {
            return &key;
        }
    }
    return nullptr;
}

const Option* findOption(const char* name)
{
    for (const Option& option : kOptions) {
        if (std::strcmp(option.name, name) == 0) {
            return &option;
        }
    }
    return nullptr;
}

// Whole decimal numbers only, written plainly: "60" or "-1", not "60fps",
// "6e1", "+60", " 60" or "". (A config file's blanks around the value belong
// to the line, not to the value.)
bool parseWhole(const char* text, long& value)
{
    const char* digits = text[0] == '-' ? text + 1 : text;
    if (digits[0] < '0' || digits[0] > '9') {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text, &end, 10);
    return *end == '\0' && errno != ERANGE;
}

// key_<action> = one or two key names, apart by blanks or commas.
std::string parseBinding(Settings& settings, const Key& key, const char* text)
{
    const std::string actionName = key.name + std::strlen(kBindingPrefix);
    int action = 0;
    while (action < kPlayActionCount && actionName != playActionName(static_cast<PlayAction>(action))) {
        ++action;
    }
    ActionKeys keys = {};
    std::size_t given = 0;
    std::string rest = text;
    for (char& c : rest) {
        c = c == ',' ? ' ' : c;
    }
    std::size_t at = rest.find_first_not_of(' ');
    while (at != std::string::npos) {
        const std::size_t end = rest.find(' ', at);
        const std::string name = rest.substr(at, end == std::string::npos ? end : end - at);
        if (given == keys.size()) {
            return "names more than two keys";
        }
        keys[given] = scancodeNamed(name);
        if (keys[given++] == 0) {
            return "names " + name + ", which is no key";
        }
        at = rest.find_first_not_of(' ', end);
    }
    if (given == 0) {
        return "names no key";
    }
    settings.bindings[action] = keys;
    return "";
}

// A key given to two actions; "" when each key works one action.
std::string bindingClash(const Settings& settings, const std::string& source)
{
    for (int first = 0; first < kPlayActionCount; ++first) {
        for (int second = first + 1; second < kPlayActionCount; ++second) {
            for (int scancode : settings.bindings[first]) {
                for (int other : settings.bindings[second]) {
                    if (scancode != 0 && scancode == other) {
                        return failure(source, "the key " + keyName(scancode) + " is given to both " + kBindingPrefix +
                                                   playActionName(static_cast<PlayAction>(first)) + " and " +
                                                   kBindingPrefix + playActionName(static_cast<PlayAction>(second)) +
                                                   "; allowed: " + kBindingAllowed);
                    }
                }
            }
        }
    }
    return "";
}

std::string parseScale(Settings& settings, const Key& key, const char* text)
{
    long value = 0;
    if (std::strcmp(text, "auto") == 0) {
        value = kScaleAuto;
    } else if (std::strcmp(text, "fit") == 0) {
        value = kScaleFit;
    } else if (!parseWhole(text, value)) {
        return "is not auto, fit or a number";
    } else if (value < key.low || value > key.high) {
        return "is out of range";
    }
    settings.*key.field = static_cast<int>(value);
    return "";
}

// Sets the key from text; the error names it as `shownAs` in `source`.
std::string assign(Settings& settings, const Key& key, const char* text, const std::string& shownAs,
                   const std::string& source)
{
    if (key.parse != nullptr) {
        const std::string wrong = key.parse(settings, key, text);
        return wrong.empty() ? "" : failure(source, shownAs + " \"" + text + "\" " + wrong + "; allowed: " + key.allowed);
    }
    long value = 0;
    if (!parseWhole(text, value)) {
        return failure(source, shownAs + " \"" + text + "\" is not a number; allowed: " + key.allowed);
    }
    if (value < key.low || value > key.high) {
        return failure(source, shownAs + " " + text + " is out of range; allowed: " + key.allowed);
    }
    settings.*key.field = static_cast<int>(value);
    return "";
}

std::string readConfigFile(Settings& settings, const std::string& path)
{
    std::vector<ConfigEntry> entries;
    const std::string wrong = readConfigEntries(path, kKeyNames, entries);
    if (!wrong.empty()) {
        return failure(path, wrong);
    }
    for (const ConfigEntry& entry : entries) {
        const Key* key = findKey(entry.name.c_str());
        if (key == nullptr) {
            return failure(path, "unknown key \"" + entry.name + "\"; allowed: " + kKeyNames);
        }
        const std::string error = assign(settings, *key, entry.value.c_str(), entry.name, path);
        if (!error.empty()) {
            return error;
        }
    }
    return "";
}

std::string applyOption(Settings& settings, const Option& option, const char* value)
{
    if (option.text != nullptr) {
        if (value[0] == '\0') {
            return failure(kCommandLine, std::string(option.name) + " needs a file name");
        }
        settings.*option.text = value;
        return "";
    }
    return assign(settings, *findKey(option.key), option.fixed ? option.fixed : value, option.name, kCommandLine);
}

// A demo is recorded or played, not both, and a demo played names its own
// map. "" when the options go together.
std::string demoOptionClash(const Settings& settings)
{
    const struct {
        const char* name;
        bool given;
    } demoOptions[] = {
        {"--record", !settings.recordFile.empty()},
        {"--playdemo", !settings.playDemoFile.empty()},
        {"--timedemo", !settings.timeDemoFile.empty()},
    };
    const char* first = nullptr;
    for (const auto& option : demoOptions) {
        if (!option.given) {
            continue;
        }
        if (first != nullptr) {
            return std::string(first) + " and " + option.name + " cannot be used together";
        }
        first = option.name;
    }
    if (first != nullptr && first != demoOptions[0].name && !settings.mapFile.empty()) {
        return std::string(first) + " and --map cannot be used together: the demo names its map";
    }
    return "";
}

StartPlan fail(const std::string& message)
{
    StartPlan plan;
    plan.action = StartAction::Fail;
    plan.text = message;
    plan.status = kBadInputStatus;
    return plan;
}

StartPlan show(const std::string& text)
{
    StartPlan plan;
    plan.action = StartAction::ShowText;
    plan.text = text;
    return plan;
}

}  // namespace

std::vector<std::string> configFilePaths(const std::string& dataFolder)
{
    std::vector<std::string> paths;
    if (!dataFolder.empty()) {
        paths.push_back(dataFolder + "/" + kConfigName);
    }
    const std::string user = userConfigFolder();
    if (!user.empty()) {
        paths.push_back(user + "/" + kConfigName);
    }
    return paths;
}

StartPlan planStart(int argc, const char* const* argv, const std::vector<std::string>& configFiles)
{
    // The command line first, checked whole before any file is looked at,
    // so that --help works whatever the files hold.
    struct Given {
        const Option* option;
        const char* value;
    };
    std::vector<Given> given;
    for (int i = 1; i < argc; ++i) {
        const Option* option = findOption(argv[i]);
        if (option == nullptr) {
            return fail(failure(kCommandLine, std::string("unknown option \"") + argv[i] +
                                                  "\"; see glimmerfall --help for the options"));
        }
        if (option->request == Request::Help) {
            return show(usageText());
        }
        if (option->request == Request::Version) {
            return show(std::string("glimmerfall ") + gameVersion() + "\n");
        }
        const char* value = nullptr;
        if (option->valueName != nullptr) {
            if (i + 1 >= argc) {
                const Key* key = option->key ? findKey(option->key) : nullptr;
                return fail(failure(kCommandLine, std::string(option->name) + " needs a value " +
                                                      option->valueName + "; allowed: " +
                                                      (key ? key->allowed : "a file name")));
            }
            value = argv[++i];
        }
        given.push_back({option, value});
    }

    StartPlan plan;
    for (const std::string& path : configFiles) {
        std::error_code missing;
        if (!std::filesystem::exists(path, missing)) {
            continue;
        }
        std::string error = readConfigFile(plan.settings, path);
        if (error.empty()) {
            error = bindingClash(plan.settings, path);
        }
        if (!error.empty()) {
            return fail(error);
        }
        plan.settings.settingsInUse = true;
    }
    if (!given.empty()) {
        plan.settings.settingsInUse = true;
    }
    for (const Given& option : given) {
        const std::string error = applyOption(plan.settings, *option.option, option.value);
        if (!error.empty()) {
            return fail(error);
        }
    }
    const std::string clash = demoOptionClash(plan.settings);
    if (!clash.empty()) {
        return fail(failure(kCommandLine, clash));
    }
    return plan;
}

std::string usageText()
{
    std::string text =
        "usage: glimmerfall [OPTION]...\n"
        "Glimmerfall, a small action game: drive the cart, aim, fire, keep the dome standing.\n\n";
    for (const Option& option : kOptions) {
        std::string name = std::string(option.name) + (option.valueName ? std::string(" ") + option.valueName : "");
        name.resize(kUsageNameWidth, ' ');
        text += "  " + name + option.help + "\n";
    }
    text +=
        "\nSettings are read from the shipped glimmerfall.cfg in the game's data folder\n"
        "(not the folder the game is started from), then from the player's\n"
        "$XDG_CONFIG_HOME/glimmerfall/glimmerfall.cfg (default ~/.config/glimmerfall/),\n"
        "then from the command line; a later source overrides an earlier one. The keys:\n"
        "fps = N, window = 0 or 1, scale = auto, fit or S, music = 0 or 1, music_volume =\n"
        "N, pad = 0 or 1, pause_unfocused = 0 or 1, and key_ACTION = KEY [KEY] for each\n"
        "action of play (forward, backward, aim_up, aim_down, aim_left, aim_right, fire,\n"
        "lock, help, leave), KEY a name of the library's KEY_ constants without KEY_\n"
        "(LCONTROL, SPACE, A...). Without any of them the game runs unpaced, full\n"
        "screen in a 640 x 480 mode, with music at full volume, on its own keys and\n"
        "without game pads. With any, full screen is the desktop's own size (no mode\n"
        "switch), Alt+Enter switches between window and full screen, P pauses play\n"
        "and, with pause_unfocused = 1, so does leaving the window. scale = auto\n"
        "shows the largest whole-number enlargement that fits the screen (in a window,\n"
        "with room for its frame); fit the largest 4:3 picture (1440 x 1080 on 1920 x\n"
        "1080); a number too large for the desktop is lowered.\n\n"
        "A demo records one level as its keys and clock, and plays it back exactly: the\n"
        "line \"demo FILE: N frames, score S, time T, state HHHHHHHH\" ends each, and is the\n"
        "same for a recording and its playbacks.\n\n"
        "F12 saves a screenshot in $XDG_DATA_HOME/glimmerfall/screenshots/\n"
        "(default ~/.local/share/glimmerfall/screenshots/) when a config file was\n"
        "read or an option given; M then mutes and unmutes the music.\n";
    return text;
}
