// --map FILE: one map played at once, without the menus or their music, for
// a map author trying a map out; --playdemo and --timedemo play a demo the
// same way. ESC or the game-over page ends the game.
#pragma once

#include <string>

class Level;
struct Demo;

// Makes the back buffer and plays the map to its end, recording it when
// `recordFile` names a demo to record.
void playMapDirectly(Level& level, const char* mapFileName, const std::string& recordFile);
// Makes the back buffer and plays the demo back; the status to end with.
int playDemoDirectly(Level& level, const Demo& demo, const std::string& file, bool timed);
// Frees the back buffer and shuts the library down.
void endDirectPlay();
