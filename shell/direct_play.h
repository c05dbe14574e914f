// --map FILE: one map played at once, without the menus or their music, for
// a map author trying a map out. ESC or the game-over page ends the game.
#pragma once

class Level;

// Makes the back buffer and plays the map to its end.
void playMapDirectly(Level& level, const char* mapFileName);
// Frees the back buffer and shuts the library down.
void endDirectPlay();
