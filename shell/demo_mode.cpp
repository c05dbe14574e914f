#include "shell/demo_mode.h"

#include "base/pass_end.h"
#include "base/pacer.h"
#include "level/demo_run.h"
#include "level/level.h"
#include "shell/data_folder.h"
#include "shell/options.h"

#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <unistd.h>

namespace {

constexpr int kOutOfStepStatus = 3;

bool recordingMade = false;

// The recording under way, from its level's start to its file's writing.
struct Recording {
    Level* level = nullptr;
    Demo demo;
    std::string file;
};
Recording* inProgress = nullptr;

// Where a recording will go must take a file: checked before graphics start
// so that a whole level is not played for nothing.
bool canWrite(const std::string& file, std::string& error)
{
    const std::filesystem::path path(file);
    std::error_code ignored;
    std::string problem;
    if (std::filesystem::is_directory(path, ignored)) {
        problem = "it is a folder";
    } else {
        const std::string target = std::filesystem::exists(path, ignored) ? file
                                   : path.has_parent_path()               ? path.parent_path().string()
                                                                          : ".";
        if (access(target.c_str(), W_OK) != 0) {
            problem = std::strerror(errno);
        }
    }
    if (!problem.empty()) {
        error = "demo " + file + ": cannot be written (" + problem + ")";
    }
    return problem.empty();
}

// Any seed does; a new one each time, so recordings differ.
uint32_t freshSeed()
{
    return static_cast<uint32_t>(std::time(nullptr)) ^ static_cast<uint32_t>(getpid()) << 16;
}

void printLine(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

}  // namespace

bool prepareDemo(const Settings& settings, Demo& demo, std::string& error)
{
    if (!settings.recordFile.empty()) {
        return canWrite(pathFromStartFolder(settings.recordFile), error);
    }
    const std::string& file = settings.playDemoFile.empty() ? settings.timeDemoFile : settings.playDemoFile;
    return file.empty() || loadDemo(pathFromStartFolder(file), demo, error);
}

void playLevelMaybeRecorded(Level& level, const char* map, const std::string& file)
{
    if (file.empty() || recordingMade) {
        level.run(map);
        return;
    }
    recordingMade = true;
    static Recording recording;
    recording.level = &level;
    recording.file = file;
    startRecording(level, map, freshSeed(), recording.demo);
    inProgress = &recording;
    level.playUntilEnd();
    writeRecordingInProgress();
}

void writeRecordingInProgress()
{
    if (inProgress == nullptr) {
        return;
    }
    Recording& recording = *inProgress;
    inProgress = nullptr;
    const DemoOutcome outcome = finishRecording(*recording.level, recording.demo);
    std::string error;
    if (!saveDemo(pathFromStartFolder(recording.file), recording.demo, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return;
    }
    printLine(demoEndLine(recording.file, outcome));
}

int playDemoBack(Level& level, const Demo& demo, const std::string& file, bool timed)
{
    if (timed) {
        passPacer().setRate(0);
    }
    startPlayback(level, demo);
    const auto start = std::chrono::steady_clock::now();
    level.playUntilEnd();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    const PlaybackResult played = finishPlayback(level);
    printLine(demoEndLine(file, played.outcome));
    if (timed) {
        char rate[96];
        const double seconds = took.count();
        std::snprintf(rate, sizeof rate, "%" PRId64 " frames in %.3f s: %.1f frames/s", played.outcome.frames,
                      seconds, seconds > 0 ? played.outcome.frames / seconds : 0.0);
        printLine(rate);
    }
    if (!played.desync.empty()) {
        std::fprintf(stderr, "demo %s: out of step at %s\n", file.c_str(), played.desync.c_str());
        return kOutOfStepStatus;
    }
    return 0;
}
