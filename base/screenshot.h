// Screenshots: a picture saved as an 8-bit RGB PNG through libpng, into a
// folder that is made when needed, under a name of the date, the time and a
// counter, never over a file that is already there.
#pragma once

#include <cstdio>
#include <ctime>
#include <string>

struct BITMAP;

// Writes the picture (any colour depth) as a PNG to an open file; false when
// libpng refuses or the file cannot take it.
bool writePng(BITMAP* picture, std::FILE* out);

// $XDG_DATA_HOME/glimmerfall/screenshots, by default under
// $HOME/.local/share; empty when neither variable is set.
std::string screenshotFolder();

// Saves the picture in folder as glimmerfall-YYYYMMDD-HHMMSS-N.png (local
// time `when`, N counting up until a free name is found). Returns the file's
// path, or "" after one line on stderr: a lost shot never stops the game.
std::string saveScreenshot(BITMAP* picture, const std::string& folder, std::time_t when);
