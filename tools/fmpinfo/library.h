// Starting the library for fmpinfo: no display, a memory bitmap standing in
// for the screen so that maps can be loaded and drawn anywhere.
#pragma once

constexpr int kToolScreenWidth = 640;
constexpr int kToolScreenHeight = 480;

// Starts the library once with SYSTEM_NONE and makes `screen` a
// 640 x 480 memory bitmap of the given depth (replacing an earlier one).
// Returns false when the library cannot start.
bool startToolLibrary(int depth);

// Loads a map for a sub-command, starting the library at 32 bits first if
// nothing has yet. Returns false (after saying why on stderr) on failure.
bool loadMapForTool(const char* fileName);
