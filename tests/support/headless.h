// Test helpers: the library started without a display, with a memory bitmap
// standing in for the screen, and scratch folders that clean up after
// themselves.
#pragma once

#include <string>

// Starts the library with SYSTEM_NONE (once per process) and makes `screen`
// a fresh 640 x 480 memory bitmap of the given colour depth.
void startHeadless(int depth = 32);

// startHeadless() at 32 bits, and what the game's start-up leaves for a
// level: text drawn on the mask colour, a 640 x 480 back buffer; no music.
void startHeadlessGame();

// From now on every create_bitmap fails, as when memory runs out, and the
// library's messages go to stderr. For death tests: nothing is put back.
void refuseNewBitmaps();

// The folder the build put the game and its generated assets in.
std::string gameDir();
// The folder of hand-made test files (tests/data).
std::string testDataDir();

// A new empty folder below /tmp, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Changes the working folder for its lifetime (the game opens its assets by
// relative name).
class ScopedChdir {
public:
    explicit ScopedChdir(const std::string& folder);
    ~ScopedChdir();
    ScopedChdir(const ScopedChdir&) = delete;
    ScopedChdir& operator=(const ScopedChdir&) = delete;

private:
    std::string previous_;
};

// Writes bytes to a file; returns false on failure.
bool writeFile(const std::string& path, const std::string& bytes);
