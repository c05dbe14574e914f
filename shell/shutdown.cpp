#include "shell/shutdown.h"

#include <allegro.h>

#include "base/scaled_screen.h"
#include "shell/menu.h"

void shutdownSystem(Menu& menu)
{
    releaseMenu(menu);
    restoreLibraryScreen();
    allegro_exit();
}
