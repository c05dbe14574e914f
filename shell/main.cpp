#include <allegro.h>

#include <cstdio>
#include <cstdlib>

#include "base/fatal.h"
#include "base/pass_end.h"
#include "base/quit_request.h"
#include "base/pacer.h"
#include "base/scaled_screen.h"
#include "level/level.h"
#include "level/pause.h"
#include "music/track.h"
#include "shell/controls.h"
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

// The window's close button or a signal ends the game from wherever it is,
// through the same shutdown as "Quit" and with what was recorded written.
void quitFromMenus(int status)
{
    writeRecordingInProgress();
    shutdownSystem(*openMenu);
    std::exit(status);
}

void quitFromDirectPlay(int status)
{
    writeRecordingInProgress();
    endDirectPlay();
    std::exit(status);
}

// What the settings add to the start-up; with none of them it is unchanged.
// A timed demo is not paused: its time would no longer be its own.
void applyDisplaySettings(const Settings& settings)
{
    const bool pausable = settings.settingsInUse && settings.timeDemoFile.empty();
    enablePause(pausable, pausable && settings.pauseUnfocused != 0);
    allowScreenshots(settings.settingsInUse);
    passPacer().setRate(settings.fps);
    // With settings the game is always a window, full screen included (a
    // window manager's close, as Alt+F4, reaches it there), and Alt+Enter
    // may turn one into the other at any time.
    if (settings.settingsInUse) {
        set_close_button_callback(requestClose);
    }
}
}  // namespace

int main(int argc, char** argv)
{
    // Into the data folder first: its shipped glimmerfall.cfg is the first
    // one read, never one in the folder the player started in. --help and
    // --version answer even where the game has no files.
    const std::string noDataReason = enterDataFolder();
    Level level;
    const StartPlan plan = planStart(argc, argv, configFilePaths(dataFolder()));
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
    std::string badInput;
    if (!prepareDemo(settings, demo, badInput) ||
        (!settings.mapFile.empty() && !checkMapFile(settings.mapFile, badInput))) {
        std::fprintf(stderr, "%s\n", badInput.c_str());
        return kBadInputStatus;
    }
    musicEnabled = settings.music != 0;
    applyControlSettings(settings);
    // Without settings the one mode of old: full screen, 640 x 480.
    const bool desktop = settings.settingsInUse;
    initSystem({settings.window != 0, desktop ? settings.scale : kMinScale, desktop});
    // The library's own handlers would shut it down under the running game.
    catchQuitSignals();
    applyDisplaySettings(settings);

    const bool timed = !settings.timeDemoFile.empty();
    if (timed || !settings.playDemoFile.empty()) {
        setQuitHandler(quitFromDirectPlay);
        const int status = playDemoDirectly(level, demo, timed ? settings.timeDemoFile : settings.playDemoFile, timed);
        endDirectPlay();
        return quitStatusOr(status);
    }
    if (!settings.mapFile.empty()) {
        setQuitHandler(quitFromDirectPlay);
        setFatalStatus(kDirectPlayFailedStatus);
        playMapDirectly(level, pathFromStartFolder(settings.mapFile).c_str(), settings.recordFile);
        endDirectPlay();
        return quitStatusOr(0);
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
        [] { showCredits(pageKeyWaits()); },
        [](const std::string& text) { allegro_message("%s", text.c_str()); },
    };
    if (settings.settingsInUse) {
        menu->userMaps = listUserMaps(userMapsFolder());
    }
    runMainMenu(*menu, hooks);

    shutdownSystem(*menu);
    delete menu;
    // A signal that came as the menu closed still names the way out.
    return quitStatusOr(0);
}
END_OF_MAIN()
