// What the settings do to the controls and the music's loudness: the keys
// bound to the actions of play, the game pads (started only when asked
// for), the music volume, and M muting the music once a settings source is
// in use. With no settings source the game keeps its own keys, no pad
// layer is started and the music plays at full volume.
#pragma once

#include <string>

struct Settings;

// Where the player's own pad mappings are looked for.
std::string userPadMappingsPath();

// Applies the settings; a pad layer that cannot start is told on stderr and
// the game goes on with the keyboard.
void applyControlSettings(const Settings& settings);
