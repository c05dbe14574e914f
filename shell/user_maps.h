// The player's own maps: the .fmp files of the maps folder in the player's
// data folder ($XDG_DATA_HOME/glimmerfall/maps), which the map menu lists
// after the game's own when a settings source is in use.
#pragma once

#include <string>
#include <vector>

// $XDG_DATA_HOME/glimmerfall/maps (default ~/.local/share/glimmerfall/maps); "" with no HOME.
std::string userMapsFolder();
// The paths of the folder's .fmp files, by file name in byte order; none
// when the folder is missing or unreadable.
std::vector<std::string> listUserMaps(const std::string& folder);
