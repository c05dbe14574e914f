// The generator's three parts; each writes its files into the given folder
// and returns false (after printing why) when it cannot.
#pragma once

#include <string>

bool writeMusicAssets(const std::string& folder);    // Mystery.ogg, Airship.ogg
bool writePictureAssets(const std::string& folder);  // the sprite strips, gui.bmp, face.bmp
bool writeMapAssets(const std::string& folder);      // level1.fmp, test.fmp
// hicolor/NxN/apps/glimmerfall.png, the desktop icon at each size.
bool writeIconAssets(const std::string& folder);
