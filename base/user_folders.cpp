#include "base/user_folders.h"

#include <cstdlib>

namespace {
constexpr const char* kGameFolder = "/glimmerfall";

std::string gameFolderBelow(const char* variable, const char* defaultBelowHome)
{
    const char* base = std::getenv(variable);
    // A relative path in an XDG variable is to be ignored, as if it were not set.
    if (base != nullptr && base[0] == '/') {
        return std::string(base) + kGameFolder;
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
        return "";
    }
    return std::string(home) + defaultBelowHome + kGameFolder;
}
}  // namespace

std::string userConfigFolder()
{
    return gameFolderBelow("XDG_CONFIG_HOME", "/.config");
}

std::string userDataFolder()
{
    return gameFolderBelow("XDG_DATA_HOME", "/.local/share");
}
