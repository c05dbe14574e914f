#include <allegro.h>

#include <cstdio>
#include <cstdlib>

#include "base/pass_end.h"
#include "base/pacer.h"
#include "base/scaled_screen.h"
#include "level/level.h"
#include "music/track.h"
#include "shell/credits.h"
#include "shell/data_folder.h"
#include "shell/demo_mode.h"
#include "shell/direct_play.h"
#include "shell/init.h"
#include "shell/key_wait.h"
#include "shell/menu.h"
#include "shell/user_maps.h"
#include "shell/options.h"
#include "shell/shutdown.h"

namespace {
Menu* openMenu = nullptr;

// The window's close button ends the game from wherever it is, through the
// same shutdown as "Quit".
void quitFromMenus()
{
    shutdownSystem(*openMenu);
    std::exit(0);
}

void quitFromDirectPlay()
{
    endDirectPlay();
    std::exit(0);
}

// What the settings add to the start-up; with none of them it is unchanged.
void applyDisplaySettings(const Settings& settings)
{
    beginScaledScreen(settings.scale);
    allowScreenshots(settings.settingsInUse);
    passPacer().setRate(settings.fps);
    if (settings.window != 0) {
        set_close_button_callback(requestClose);
    }
}
}  // namespace

int main(int argc, char** argv)
{
    // Into the data folder first, so that its glimmerfall.cfg is the one
    // read; --help and --version answer even where the game has no files.
    const std::string noDataReason = enterDataFolder();
    Level level;
    const StartPlan plan = planStart(argc, argv, configFilePaths());
    if (plan.action == StartAction::ShowText) {
        std::fputs(plan.text.c_str(), stdout);
        return plan.status;
    }
    if (plan.action == StartAction::Fail) {
        std::fprintf(stderr, "%s\n", plan.text.c_str());
        return plan.status;
    }
    if (!noDataReason.empty()) {
        std::fprintf(stderr, "%s\n", noDataReason.c_str());
        return kNoDataStatus;
    }
    const Settings& settings = plan.settings;
    // A demo to play is read and checked whole before graphics start.
    Demo demo;
    std::string demoError;
    if (!prepareDemo(settings, demo, demoError)) {
        std::fprintf(stderr, "%s\n", demoError.c_str());
        return kBadInputStatus;
    }
    musicEnabled = settings.music != 0;
    initSystem({settings.window != 0, settings.scale});
    applyDisplaySettings(settings);

    const bool timed = !settings.timeDemoFile.empty();
    if (timed || !settings.playDemoFile.empty()) {
        setQuitHandler(quitFromDirectPlay);
        const int status = playDemoDirectly(level, demo, timed ? settings.timeDemoFile : settings.playDemoFile, timed);
        endDirectPlay();
        return status;
    }
    if (!settings.mapFile.empty()) {
        setQuitHandler(quitFromDirectPlay);
        playMapDirectly(level, pathFromStartFolder(settings.mapFile).c_str(), settings.recordFile);
        endDirectPlay();
        return 0;
    }

    Menu* menu = new Menu;
    openMenu = menu;
    setQuitHandler(quitFromMenus);
    startMenu(*menu);
    const MenuHooks hooks = {
        libraryKeyWaits(),
        [&level, &settings](const char* mapFileName) {
            playLevelMaybeRecorded(level, mapFileName, settings.recordFile);
        },
        [] { showCredits(libraryKeyWaits()); },
        [](const std::string& text) { allegro_message("%s", text.c_str()); },
    };
    if (settings.settingsInUse) {
        menu->userMaps = listUserMaps(userMapsFolder());
    }
    runMainMenu(*menu, hooks);

    shutdownSystem(*menu);
    delete menu;
    return 0;
}
END_OF_MAIN()
