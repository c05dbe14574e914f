// What --record, --playdemo and --timedemo add to the game: a demo to play
// is read and checked whole (its map too) before graphics start; the next
// level played is recorded; a demo is played back through the real level,
// paced as set or, timed, as fast as it goes. Each prints its end line,
// naming FILE as the player gave it; a relative FILE is taken from the
// folder the game was started in.
#pragma once

#include "level/demo_file.h"

#include <string>

class Level;
struct Settings;

// Before graphics: the demo to play read and checked, or the folder the
// recording goes to checked. False, with one line for stderr, if it is bad.
bool prepareDemo(const Settings& settings, Demo& demo, std::string& error);

// Plays the level of `map`; the first one after a --record is recorded
// into `file` (written when the level ends) and its end line printed.
void playLevelMaybeRecorded(Level& level, const char* map, const std::string& file);
// Every other way out (the close button, a signal) calls this on its way to
// the shutdown: a recording under way is written, with its end line, as far
// as its last whole frame.
void writeRecordingInProgress();

// Plays `demo` back and prints its end line (and, timed, its rate); the
// status to end with: 0, or 3 when the playback fell out of step.
int playDemoBack(Level& level, const Demo& demo, const std::string& file, bool timed);
