// Where the game's files are. The game opens every picture, map and track by
// its plain name, so before anything is loaded it moves into the folder that
// holds them: the working folder when it holds them (build/game, a player's
// own copy), else GLIMMERFALL_DATA when set, else the installed data folder
// beside the executable (../share/games/glimmerfall from its folder,
// so a moved prefix still works). Paths the player typed keep meaning what
// they meant in the folder the game was started from.
#pragma once

#include <string>

// A folder is taken for the game's data only when it holds every picture
// and map the game opens: a stray picture of the same name elsewhere must
// not win. The tracks are left out: a copy without them still plays with
// music off, and with music on says which track is missing.
constexpr const char* kDataFiles[] = {"Cart.bmp", "turret.bmp", "Gun.bmp",  "orb.bmp",    "alien.bmp",
                                      "dome.bmp", "gui.bmp",    "face.bmp", "level1.fmp", "test.fmp"};
constexpr const char* kDataFolderVariable = "GLIMMERFALL_DATA";
// The status of a game that cannot find its files.
constexpr int kNoDataStatus = 1;

struct DataFolderPlaces {
    const char* fromVariable;      // GLIMMERFALL_DATA, nullptr when unset or empty
    std::string workingFolder;
    std::string besideExecutable;  // empty when the executable's folder is unknown
};

struct DataFolderChoice {
    std::string folder;   // empty when no place holds the files
    std::string failure;  // then: one line naming every place tried
};

DataFolderChoice chooseDataFolder(const DataFolderPlaces& places);

// Finds the data folder and makes it the working folder. Returns an empty
// string, or when there is none (or it cannot be entered) the one line to
// print before ending with kNoDataStatus.
std::string enterDataFolder();

// The folder enterDataFolder entered (or found the game already in); empty
// when it found none.
const std::string& dataFolder();

// A path from the command line as the player meant it: relative paths are
// taken from the folder the game was started in, even after enterDataFolder
// moved elsewhere. Absolute paths, and every path when nothing moved, are
// returned as they are.
std::string pathFromStartFolder(const std::string& path);
