// A Level whose orb, monster and dome slots are filled by hand on a 1280 x 960
// map, with plain stand-in strips in a scratch working folder, so that the
// entities load graphics without the generated assets.
#pragma once

#include "entities/alien.h"
#include "entities/dome.h"
#include "entities/orb.h"
#include "entities/sprite.h"
#include "level/level.h"
#include "shell/counters.h"
#include "tests/support/headless.h"
#include "tilemap/tilemap.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <memory>

constexpr int kMapW = 1280;
constexpr int kMapH = 960;
constexpr int kAlienFrame = 128;

class FieldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        startHeadless(32);
        writeStrip("orb.bmp", 16, 4);
        writeStrip("alien.bmp", kAlienFrame, 5);
        writeStrip("dome.bmp", 128, 4);
        chdir_ = std::make_unique<ScopedChdir>(folder_.path());
        savedMap_ = tileMap;
        tileMap.blockWidth = tileMap.blockHeight = 32;
        tileMap.mapWidth = kMapW / 32;
        tileMap.mapHeight = kMapH / 32;
        tickCounter = 0;
        for (Orb*& orb : level.orbs) orb = new Orb;
        for (Dome*& dome : level.domes) dome = new Dome;
        for (Alien*& alien : level.aliens) alien = new Alien;  // no sprite: off the field
    }
    void TearDown() override
    {
        for (Orb* orb : level.orbs) delete orb;
        for (Alien* alien : level.aliens) delete alien;
        for (Dome* dome : level.domes) delete dome;
        tileMap = savedMap_;
    }

    // The monster in slot, spawned as in play, then set at (x, y) on heading.
    Alien& place(int slot, float x, float y, int heading = 0)
    {
        Alien& alien = *level.aliens[slot];
        alien.spawn(level.domes);
        alien.x = x;
        alien.y = y;
        alien.heading = heading;
        return alien;
    }

    Level level;

private:
    void writeStrip(const char* name, int frame, int frames)
    {
        BITMAP* strip = create_bitmap(frame * frames, frame);
        clear_to_color(strip, makecol(200, 120, 40));
        save_bitmap(folder_.file(name).c_str(), strip, nullptr);
        destroy_bitmap(strip);
    }

    TempDir folder_;
    std::unique_ptr<ScopedChdir> chdir_;
    TileMap savedMap_;
};
