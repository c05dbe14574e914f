// The player's own folders, after the XDG base directory rules: the game's
// folder below $XDG_CONFIG_HOME or $XDG_DATA_HOME, or below their defaults
// under $HOME when the variable is unset, empty or relative. Folders the game
// makes there are the player's alone (0700).
#pragma once

#include <string>

// $XDG_CONFIG_HOME/glimmerfall (default ~/.config/glimmerfall); "" with no HOME.
std::string userConfigFolder();
// $XDG_DATA_HOME/glimmerfall (default ~/.local/share/glimmerfall); "" with no HOME.
std::string userDataFolder();

// Makes the folder and each missing one above it, readable by the player
// alone; "" when it is there, else why it cannot be made.
std::string makePrivateFolder(const std::string& folder);
