// The fmpinfo sub-commands that check and draw maps (the summary and the
// canonical dump live in main.cpp). Each returns the process exit status.
#pragma once

// --tracks FILE: checks that every way out of a track cell leads to a
// neighbour inside the map with the way back; 0 when clean, 1 with a line
// per fault.
int fmpinfoTracks(const char* fileName);

// --render FILE OUT.bmp [--camera X Y]: draws the 640 x 480 view.
int fmpinfoRender(const char* fileName, const char* outFile, int cameraX, int cameraY);
