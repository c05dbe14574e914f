#include "shell/shutdown.h"

#include <allegro.h>

#include "shell/menu.h"

void shutdownSystem(Menu& menu)
{
    releaseMenu(menu);
    allegro_exit();
}
