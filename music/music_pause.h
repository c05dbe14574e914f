// Pausing the music with the game: every voice that is playing stops where
// it is and goes on from there, and the streams are not fed meanwhile (a
// buffer handed over would start its voice again).
#pragma once

void pauseMusic();
void resumeMusic();
