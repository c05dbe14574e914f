#include "tests/support/headless.h"

#include "base/counters.h"

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace {
constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
}

void startHeadless(int depth)
{
    static const bool started = install_allegro(SYSTEM_NONE, &errno, atexit) == 0;
    if (!started) {
        throw std::runtime_error("install_allegro(SYSTEM_NONE) failed");
    }
    set_color_depth(depth);
    if (screen) destroy_bitmap(screen);
    screen = create_bitmap_ex(depth, kScreenWidth, kScreenHeight);
    clear_bitmap(screen);
    set_color_conversion(COLORCONV_TOTAL);
}

void startHeadlessGame()
{
    startHeadless(32);
    text_mode(makecol(255, 0, 255));
    if (!backBuffer) backBuffer = create_bitmap(kScreenWidth, kScreenHeight);
    levelMusicStarted = 1;
}

void refuseNewBitmaps()
{
    static SYSTEM_DRIVER refusing;
    refusing = *system_driver;
    refusing.create_bitmap = [](int, int, int) -> BITMAP* { return nullptr; };
    refusing.message = [](const char* text) { std::fputs(text, stderr); };
    system_driver = &refusing;
}

std::string gameDir() { return GLIM_GAME_DIR; }
std::string testDataDir() { return GLIM_TEST_DATA_DIR; }

TempDir::TempDir()
{
    char pattern[] = "/tmp/glimmerfall-test-XXXXXX";
    if (!mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

ScopedChdir::ScopedChdir(const std::string& folder) : previous_(std::filesystem::current_path().string())
{
    std::filesystem::current_path(folder);
}

ScopedChdir::~ScopedChdir()
{
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
}

bool writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}
