#include "shell/direct_play.h"

#include <allegro.h>

#include "base/counters.h"
#include "base/fatal.h"
#include "base/release_bitmap.h"
#include "base/scaled_screen.h"
#include "level/level.h"
#include "shell/data_folder.h"
#include "shell/demo_mode.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

bool checkMapFile(const std::string& file, std::string& error)
{
    const std::string path = pathFromStartFolder(file);
    std::error_code ignored;
    std::string problem;
    if (std::filesystem::is_directory(path, ignored)) {
        problem = "it is a folder";
    } else if (std::FILE* opened = std::fopen(path.c_str(), "rb")) {
        std::fclose(opened);
    } else {
        problem = std::strerror(errno);
    }
    if (!problem.empty()) {
        error = "map " + file + ": cannot be read (" + problem + ")";
    }
    return problem.empty();
}

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
