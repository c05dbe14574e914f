#include "shell/data_folder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace {

// Set by the build from the install layout: the data folder as seen from the
// folder the installed executable lives in.
constexpr const char* kDataFromExecutable = GLIM_DATA_FROM_EXECUTABLE;

// Where the game was started, once it has moved away from there.
std::string startFolder;
std::string enteredFolder;

bool holdsGameData(const std::string& folder)
{
    if (folder.empty()) {
        return false;
    }
    for (const char* name : kDataFiles) {
        if (access((folder + "/" + name).c_str(), R_OK) != 0) {
            return false;
        }
    }
    return true;
}

std::string executableDataFolder()
{
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return "";
    }
    return (executable.parent_path() / kDataFromExecutable).lexically_normal().string();
}

}  // namespace

DataFolderChoice chooseDataFolder(const DataFolderPlaces& places)
{
    std::string marker = " (the game's files:";
    for (const char* name : kDataFiles) {
        marker += std::string(" ") + name;
    }
    marker += ")";
    // A folder that holds the game is played from as it is: build/game, or a
    // player's own copy.
    if (holdsGameData(places.workingFolder)) {
        return {places.workingFolder, ""};
    }
    if (places.fromVariable) {
        // A folder named on purpose is not second-guessed: a slip in it is
        // reported rather than quietly covered by the installed copy.
        if (holdsGameData(places.fromVariable)) {
            return {places.fromVariable, ""};
        }
        return {"", std::string("glimmerfall: the working folder ") + places.workingFolder +
                        " does not hold the game's files, and " + kDataFolderVariable + " names " +
                        places.fromVariable + ", which does not hold them either" + marker};
    }
    if (holdsGameData(places.besideExecutable)) {
        return {places.besideExecutable, ""};
    }
    const std::string installed =
        places.besideExecutable.empty() ? "the installed data folder (the executable's path is unknown)"
                                        : places.besideExecutable;
    return {"", "glimmerfall: cannot find the game's files in the working folder " + places.workingFolder +
                    " nor in " + installed + marker + "; set " + kDataFolderVariable +
                    " to the folder that holds them"};
}

std::string enterDataFolder()
{
    std::error_code error;
    const std::string working = std::filesystem::current_path(error).string();
    const char* variable = std::getenv(kDataFolderVariable);
    const DataFolderPlaces places = {variable && *variable ? variable : nullptr, error ? "." : working,
                                     executableDataFolder()};
    const DataFolderChoice choice = chooseDataFolder(places);
    startFolder.clear();
    enteredFolder.clear();
    if (choice.folder.empty()) {
        return choice.failure;
    }
    if (choice.folder != places.workingFolder) {
        if (chdir(choice.folder.c_str()) != 0) {
            return "glimmerfall: cannot enter the data folder " + choice.folder + ": " + std::strerror(errno);
        }
        startFolder = places.workingFolder;
    }
    enteredFolder = choice.folder;
    return "";
}

const std::string& dataFolder()
{
    return enteredFolder;
}

std::string pathFromStartFolder(const std::string& path)
{
    if (startFolder.empty() || path.empty() || path[0] == '/') {
        return path;
    }
    return startFolder + "/" + path;
}
