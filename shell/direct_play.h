// --map FILE: one map played at once, without the menus or their music, for
// a map author trying a map out; --playdemo and --timedemo play a demo the
// same way. ESC or the game-over page ends the game.
// A map that cannot be opened is refused before graphics start.
#pragma once

#include <string>

class Level;
struct Demo;

// --map's FILE (as the player named it) must be a file the game can open;
// checked before graphics start. False, with one line for stderr, if not.
bool checkMapFile(const std::string& file, std::string& error);
// The status a --map play ends with when a problem ends it (a map that does
// not load, a missing picture) after its message: a failure, unlike the
// menus' 0.
constexpr int kDirectPlayFailedStatus = 1;

// Makes the back buffer and plays the map to its end, recording it when
// `recordFile` names a demo to record.
void playMapDirectly(Level& level, const char* mapFileName, const std::string& recordFile);
// Makes the back buffer and plays the demo back; the status to end with.
int playDemoDirectly(Level& level, const Demo& demo, const std::string& file, bool timed);
// Frees the back buffer and shuts the library down.
void endDirectPlay();
