// A level played headless from the game's own folder: the back buffer the
// scene is drawn into, no level music, the page waits replaced by a counter,
// and the keyboard and clock left clean afterwards.
#pragma once

#include "level/level.h"
#include "level/screens.h"
#include "shell/counters.h"
#include "tests/support/headless.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

class HeadlessPlay : public ::testing::Test {
protected:
    static inline int pageWaits = 0;
    static void countPageWait() { ++pageWaits; }

    void SetUp() override
    {
        startHeadless(32);
        text_mode(makecol(255, 0, 255));  // as the game sets it at start-up
        chdir_ = std::make_unique<ScopedChdir>(gameDir());
        backBuffer = create_bitmap(screen->w, screen->h);
        clear_bitmap(backBuffer);
        levelMusicStarted = 1;  // no sound here; the level must not start it
        savedWait_ = waitForEscPressAndRelease;
        waitForEscPressAndRelease = countPageWait;
        pageWaits = 0;
        releaseAllKeys();
        tickCounter = 0;
    }

    void TearDown() override
    {
        releaseAllKeys();
        waitForEscPressAndRelease = savedWait_;
        destroy_bitmap(backBuffer);
        backBuffer = nullptr;
        chdir_.reset();
    }

    static void releaseAllKeys() { std::memset(const_cast<char*>(key), 0, KEY_MAX); }

    Level level;

private:
    std::unique_ptr<ScopedChdir> chdir_;
    void (*savedWait_)() = nullptr;
};
