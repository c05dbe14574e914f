#include "shell/direct_play.h"

#include <allegro.h>

#include "base/counters.h"
#include "base/fatal.h"
#include "base/release_bitmap.h"
#include "base/scaled_screen.h"
#include "level/level.h"
#include "shell/demo_mode.h"

void playMapDirectly(Level& level, const char* mapFileName, const std::string& recordFile)
{
    backBuffer = createBitmapOrExit(screen->w, screen->h);
    playLevelMaybeRecorded(level, mapFileName, recordFile);
}

int playDemoDirectly(Level& level, const Demo& demo, const std::string& file, bool timed)
{
    backBuffer = createBitmapOrExit(screen->w, screen->h);
    return playDemoBack(level, demo, file, timed);
}

void endDirectPlay()
{
    releaseBitmap(backBuffer);
    restoreLibraryScreen();
    allegro_exit();
}
