#include "shell/controls.h"

#include "base/game_pad.h"
#include "base/pass_end.h"
#include "base/play_keys.h"
#include "base/user_folders.h"
#include "music/track.h"
#include "shell/options.h"

#include <cstdio>
#include <cstdlib>

namespace {
constexpr const char* kPadMappingsName = "gamecontrollerdb.txt";
}

std::string userPadMappingsPath()
{
    const std::string folder = userConfigFolder();
    return folder.empty() ? "" : folder + "/" + kPadMappingsName;
}

void applyControlSettings(const Settings& settings)
{
    setPlayBindings(settings.bindings);
    setMusicVolume(settings.musicVolume);
    if (settings.settingsInUse) {
        setMuteKeyHandler(toggleMusicMute);
    }
    if (settings.pad != 0) {
        std::string problem;
        const bool started = startGamePads(userPadMappingsPath(), problem);
        if (!problem.empty()) {
            std::fprintf(stderr, "glimmerfall: %s\n", problem.c_str());
        }
        if (started) {
            std::atexit(stopGamePads);
        }
    }
}
