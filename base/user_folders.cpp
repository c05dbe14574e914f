#include "base/user_folders.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {
constexpr const char* kGameFolder = "/glimmerfall";
// What the XDG base directory rules ask of a folder made for the player.
constexpr mode_t kPrivateFolderMode = S_IRWXU;

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

std::string makePrivateFolder(const std::string& folder)
{
    // Folder by folder from the top, so that each one made gets the mode.
    for (std::size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
        const std::string part = folder.substr(0, end);
        if (mkdir(part.c_str(), kPrivateFolderMode) != 0 && errno != EEXIST) {
            return std::strerror(errno);
        }
        if (end == std::string::npos) {
            break;
        }
    }
    struct stat status = {};
    if (stat(folder.c_str(), &status) != 0) {
        return std::strerror(errno);
    }
    return S_ISDIR(status.st_mode) ? "" : std::strerror(ENOTDIR);
}
