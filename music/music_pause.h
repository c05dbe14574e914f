// Pausing the music with the game: every voice that is playing stops where
// it is and goes on from there. The streams' timers find no buffer to fill
// while their voice stands, so they need no stopping of their own.
#pragma once

void pauseMusic();
void resumeMusic();
