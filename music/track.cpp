#include "music/track.h"

// Scaffolding: replaced by the music layer.
MusicTrack startMusicTrack(const char*) { return MusicTrack{}; }
void stopMusicTrack(const MusicTrack&) {}
void releaseMusicTrack(MusicTrack&) {}
