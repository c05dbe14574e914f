// Stand-in strips for the monster, orb and dome tests: plain pictures of the
// right frame sizes written into a scratch folder that becomes the working
// folder, so the tests load graphics without the generated assets. Also a
// map size for the edge placement, restored afterwards.
#pragma once

#include "tests/support/headless.h"
#include "tilemap/tilemap.h"

#include <allegro.h>

#include <memory>
#include <string>

class StandInStrips {
public:
    // Map of 40 x 30 blocks of 32 x 32 pixels: 1280 x 960.
    static constexpr int kMapPixelWidth = 1280;
    static constexpr int kMapPixelHeight = 960;

    StandInStrips()
    {
        startHeadless(32);
        writeStrip("orb.bmp", 16 * 4, 16);
        writeStrip("alien.bmp", 128 * 5, 128);
        writeStrip("dome.bmp", 128 * 4, 128);
        chdir_ = std::make_unique<ScopedChdir>(folder_.path());
        savedMap_ = tileMap;
        tileMap.blockWidth = 32;
        tileMap.blockHeight = 32;
        tileMap.mapWidth = kMapPixelWidth / 32;
        tileMap.mapHeight = kMapPixelHeight / 32;
    }

    ~StandInStrips() { tileMap = savedMap_; }

private:
    void writeStrip(const char* name, int width, int height)
    {
        BITMAP* strip = create_bitmap(width, height);
        clear_to_color(strip, makecol(255, 0, 255));
        // One solid square per frame so a frame change shows in the pixels.
        rectfill(strip, 2, 2, height / 2, height / 2, makecol(200, 120, 40));
        save_bitmap(folder_.file(name).c_str(), strip, nullptr);
        destroy_bitmap(strip);
    }

    TempDir folder_;
    std::unique_ptr<ScopedChdir> chdir_;
    TileMap savedMap_;
};
