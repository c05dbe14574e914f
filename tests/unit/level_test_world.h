// Scaffolding for the level and entity tests: small plain pictures in place
// of the game's assets, hand-drawn track maps set straight into the tile map,
// and a Level whose slots are filled without a map file.
#pragma once

#include "entities/alien.h"
#include "entities/dome.h"
#include "entities/orb.h"
#include "entities/player_craft.h"
#include "entities/sprite.h"
#include "level/level.h"
#include "base/counters.h"
#include "tests/support/headless.h"
#include "tilemap/tilemap.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace testworld {

// None of these colours is one the game draws with.
inline int panelColour() { return makecol(20, 100, 180); }
inline int faceColour() { return makecol(180, 120, 20); }
inline int mask() { return makecol(255, 0, 255); }
inline int frameColour(int frame) { return makecol(30 + 40 * frame, 200 - 30 * frame, 130); }

constexpr int kPanelTop = 380;  // gui.bmp is transparent above this row

inline BITMAP* filled(int w, int h, int colour)
{
    BITMAP* bitmap = create_bitmap(w, h);
    clear_to_color(bitmap, colour);
    return bitmap;
}

inline void save(const std::string& path, BITMAP* bitmap)
{
    ASSERT_EQ(save_bitmap(path.c_str(), bitmap, nullptr), 0) << path;
    destroy_bitmap(bitmap);
}

// Frame i in frameColour(i), its top-left quarter transparent.
inline void writeStrip(const std::string& path, int frameWidth, int frameHeight, int frames)
{
    BITMAP* strip = create_bitmap(frameWidth * frames, frameHeight);
    for (int i = 0, left = 0; i < frames; ++i, left += frameWidth) {
        rectfill(strip, left, 0, left + frameWidth - 1, frameHeight - 1, frameColour(i));
        rectfill(strip, left, 0, left + frameWidth / 2 - 1, frameHeight / 2 - 1, mask());
    }
    save(path, strip);
}

// Every picture the level loads, in folder.
inline void writeGamePictures(const std::string& folder)
{
    writeStrip(folder + "/Cart.bmp", 32, 32, 2);
    writeStrip(folder + "/turret.bmp", 32, 32, 8);
    writeStrip(folder + "/Gun.bmp", 32, 32, 1);
    writeStrip(folder + "/dome.bmp", 128, 128, 4);
    BITMAP* gui = filled(640, 480, mask());
    rectfill(gui, 0, kPanelTop, 639, 479, panelColour());
    save(folder + "/gui.bmp", gui);
    save(folder + "/face.bmp", filled(40, 60, faceColour()));
}

// Heap bytes held now, to see memory that repeated work never gives back.
inline std::size_t heapBytesInUse()
{
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

inline void releaseAllKeys() { std::memset(const_cast<char*>(key), 0, KEY_MAX); }

// How many of the slots are in play.
template <typename Entity, size_t N>
int active(Entity* const (&slots)[N])
{
    int count = 0;
    for (const Entity* entity : slots) count += entity->sprite && entity->sprite->active;
    return count;
}

// In the game's folder, started as the game starts, no key held, the clock at 0, rand seeded.
class GameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        startHeadlessGame();
        releaseAllKeys();
        tickCounter = 0;
        std::srand(1);
    }

    ScopedChdir inGame{gameDir()};
};

// A level as begin() leaves it, without files: a cart of bare 32 x 32 sprites, idle domes, orbs and
// aliens; the library without a display, the pictures in a scratch folder, the clock at 0, no key held.
class WorldTest : public ::testing::Test {
protected:
    WorldTest() : savedMap(tileMap)
    {
        for (Sprite** sprite : {&craft.cart, &craft.turret, &craft.gun}) {
            *sprite = new Sprite();
            (*sprite)->frameWidth = (*sprite)->frameHeight = 32;
        }
        craft.maxSpeed = 10;
        placeCart(0, 0, kDirectionDown);
        for (Dome*& dome : level.domes) dome = new Dome();
        for (Orb*& orb : level.orbs) orb = new Orb();
        for (Alien*& alien : level.aliens) (alien = new Alien())->sprite = new Sprite();
    }
    ~WorldTest() override
    {
        std::memset(&tileMap, 0, sizeof tileMap);  // the hand-drawn track is not the library's to free
        level.end();
        tileMap = savedMap;
    }
    void SetUp() override
    {
        startHeadless();
        text_mode(mask());  // as the game's start-up leaves it
        writeGamePictures(folder.path());
        releaseAllKeys();
        tickCounter = 0;
    }

    // '#' cells are track, open towards their track neighbours; block
    // record n has flags n, so a cell's value is its flags.
    void useTrack(const std::vector<std::string>& rows)
    {
        const int height = static_cast<int>(rows.size());
        const int width = static_cast<int>(rows[0].size());
        records.assign(16, BlockRecord{});
        for (int n = 0; n < 16; ++n) records[n].flags = static_cast<uint8_t>(n);
        auto track = [&](int x, int y) { return x >= 0 && y >= 0 && x < width && y < height && rows[y][x] == '#'; };
        cells.clear();
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const int flags = (track(x, y - 1) ? kFlagExitUp : 0) | (track(x, y + 1) ? kFlagExitDown : 0) |
                                  (track(x - 1, y) ? kFlagExitLeft : 0) | (track(x + 1, y) ? kFlagExitRight : 0);
                cells.push_back(static_cast<int16_t>(track(x, y) ? flags : 0));
            }
        }
        std::memset(&tileMap, 0, sizeof tileMap);
        tileMap.mapWidth = static_cast<int16_t>(width);
        tileMap.mapHeight = static_cast<int16_t>(height);
        tileMap.blockWidth = tileMap.blockHeight = tileMap.blockStepX = tileMap.blockStepY = 32;
        tileMap.blockRecordCount = 16;
        tileMap.blockRecords = records.data();
        tileMap.layers[0] = tileMap.currentLayer = cells.data();
    }
    // On a cell, exactly aligned, as begin() puts it.
    void placeCart(int column, int row, int facing)
    {
        craft.x = (level.cellX = column) * 32;
        craft.y = (level.cellY = row) * 32;
        level.cellCentreX = craft.x + 16;
        level.cellCentreY = craft.y + 16;
        craft.facing = facing;
        craft.facingAxis = facing == kDirectionLeft || facing == kDirectionRight ? 0 : 1;
    }

    TileMap savedMap;
    std::vector<BlockRecord> records;
    std::vector<int16_t> cells;
    TempDir folder;
    ScopedChdir inFolder{folder.path()};
    Level level;
    PlayerCraft& craft = *(level.craft = new PlayerCraft());
};

}  // namespace testworld
