#include <allegro.h>

#include "level/level.h"
#include "shell/credits.h"
#include "shell/data_folder.h"
#include "shell/init.h"
#include "shell/key_wait.h"
#include "shell/menu.h"
#include "shell/shutdown.h"

int main(int, char**)
{
    enterDataFolder();
    Level level;
    initSystem();

    Menu* menu = new Menu;
    startMenu(*menu);
    const MenuHooks hooks = {
        libraryKeyWaits(),
        [&level](const char* mapFileName) { level.run(mapFileName); },
        [] { showCredits(libraryKeyWaits()); },
    };
    runMainMenu(*menu, hooks);

    shutdownSystem(*menu);
    delete menu;
    return 0;
}
END_OF_MAIN()
