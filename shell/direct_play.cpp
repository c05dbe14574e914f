#include "shell/direct_play.h"

#include <allegro.h>

#include "base/counters.h"
#include "base/release_bitmap.h"
#include "base/scaled_screen.h"
#include "level/level.h"

void playMapDirectly(Level& level, const char* mapFileName)
{
    backBuffer = create_bitmap(screen->w, screen->h);
    level.run(mapFileName);
}

void endDirectPlay()
{
    releaseBitmap(backBuffer);
    restoreLibraryScreen();
    allegro_exit();
}
