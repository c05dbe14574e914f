#include "shell/options.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "base/scaled_screen.h"
#include "base/user_folders.h"
#include "base/version.h"
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
constexpr Key kKeys[] = {
    {"fps", &Settings::fps, 0, kMaxFps, "0 (unpaced) or 1 to 1000"},
    {"window", &Settings::window, 0, 1, "0 (full screen) or 1 (window)"},
    {"scale", &Settings::scale, kMinScale, kMaxScale, "1 to 4"},
    {"music", &Settings::music, 0, 1, "0 (off) or 1 (on)"},
};
constexpr const char* kKeyNames = "fps, window, scale, music";

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
     "show each game pixel as an S x S square, 1 to 4 (2 gives 1280 x 960)"},
    {"--no-music", nullptr, "music", "0", nullptr, Request::None, "play without music (no .ogg file is read)"},
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

// Config files are a few lines; anything far bigger is not one, and is
// refused before it is read.
constexpr long kMaxConfigBytes = 64 * 1024;
constexpr const char* kMaxConfigSize = "64 KiB";
// Some editors start a UTF-8 file with this mark; it is not part of a key.
constexpr const char kByteOrderMark[] = "\xef\xbb\xbf";
constexpr const char* kBlanks = " \t\r";

using FileHandle = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// The bytes of the file at `path` into `bytes`; "" when read, else what is
// wrong with it. A folder opens but fails the read, and is refused like any
// file that cannot be read.
std::string readConfigBytes(const std::string& path, std::string& bytes)
{
    const FileHandle file(std::fopen(path.c_str(), "rb"), std::fclose);
    struct stat status = {};
    if (file == nullptr || fstat(fileno(file.get()), &status) != 0) {
        return std::string("cannot be read: ") + std::strerror(errno);
    }
    const std::string tooLarge = std::string("is larger than ") + kMaxConfigSize + "; a config file is a few lines";
    if (status.st_size > kMaxConfigBytes) {
        return tooLarge;
    }
    // The size is checked again while reading: a device or a pipe has none.
    char chunk[BUFSIZ];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0;) {
        bytes.append(chunk, got);
        if (bytes.size() > static_cast<std::size_t>(kMaxConfigBytes)) {
            return tooLarge;
        }
    }
    return std::ferror(file.get()) ? std::string("cannot be read: ") + std::strerror(errno) : "";
}

std::string trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(kBlanks);
    return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// One `key = value` line of a config file, blanks around both left out.
struct ConfigEntry {
    std::string name;
    std::string value;
    int line;
};

// The file's `key = value` lines, after comments and blank lines are left
// out; "" when every line is one of those, else what is wrong and where.
std::string splitConfigLines(std::string bytes, std::vector<ConfigEntry>& entries)
{
    if (bytes.compare(0, sizeof kByteOrderMark - 1, kByteOrderMark) == 0) {
        bytes.erase(0, sizeof kByteOrderMark - 1);
    }
    int number = 0;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
        const std::string line = trimmed(bytes.substr(start, end - start));
        start = end + 1;
        ++number;
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const std::string where = "line " + std::to_string(number);
        if (line[0] == '[') {
            return "unknown section " + line + "; the keys " + kKeyNames + " stand before any section";
        }
        if (line.find('\0') != std::string::npos) {
            return where + " holds a NUL byte; a config file is text";
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            return where + " \"" + line + "\" is not key = value";
        }
        entries.push_back({trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1)), number});
    }
    return "";
}

// "" when no key is given twice; else the first such key and all its lines.
std::string repeatedKey(const std::vector<ConfigEntry>& entries)
{
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::vector<int> lines = {entries[i].line};
        for (std::size_t later = i + 1; later < entries.size(); ++later) {
            if (entries[later].name == entries[i].name) {
                lines.push_back(entries[later].line);
            }
        }
        if (lines.size() == 1) {
            continue;
        }
        std::string listed = std::to_string(lines[0]);
        for (std::size_t at = 1; at < lines.size(); ++at) {
            listed += (at + 1 == lines.size() ? " and " : ", ") + std::to_string(lines[at]);
        }
        return "key \"" + entries[i].name + "\" is given more than once, on lines " + listed +
               "; give each key once";
    }
    return "";
}

std::string readConfigFile(Settings& settings, const std::string& path)
{
    std::string bytes;
    std::vector<ConfigEntry> entries;
    std::string wrong = readConfigBytes(path, bytes);
    if (wrong.empty()) {
        wrong = splitConfigLines(std::move(bytes), entries);
    }
    if (wrong.empty()) {
        wrong = repeatedKey(entries);
    }
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
        const std::string error = readConfigFile(plan.settings, path);
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
        "fps = N, window = 0 or 1, scale = S, music = 0 or 1. Without any of them the\n"
        "game runs unpaced, full screen, at 640 x 480, with music.\n\n"
        "A demo records one level as its keys and clock, and plays it back exactly: the\n"
        "line \"demo FILE: N frames, score S, time T, state HHHHHHHH\" ends each, and is the\n"
        "same for a recording and its playbacks.\n\n"
        "F12 saves a screenshot in $XDG_DATA_HOME/glimmerfall/screenshots/\n"
        "(default ~/.local/share/glimmerfall/screenshots/) when a config file was\n"
        "read or an option given.\n";
    return text;
}
