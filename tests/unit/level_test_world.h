// Test scaffolding for the level and its entities: small pictures written
// to a scratch folder in place of the game's assets, hand-made track maps
// set straight into the tile map, and a Level whose slots are filled
// without loading anything from a map file.
#pragma once

#include "entities/alien.h"
#include "entities/dome.h"
#include "entities/orb.h"
#include "entities/player_craft.h"
#include "entities/sprite.h"
#include "level/level.h"
#include "shell/counters.h"
#include "tilemap/tilemap.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace testworld {

// Colours of the hand-made pictures; none of them is one the game draws with.
inline int cartVerticalColour() { return makecol(10, 20, 30); }
inline int cartHorizontalColour() { return makecol(40, 50, 60); }
inline int turretColour() { return makecol(70, 80, 90); }
inline int gunColour() { return makecol(100, 110, 120); }
inline int panelColour() { return makecol(20, 100, 180); }
inline int faceColour() { return makecol(180, 120, 20); }
inline int mask() { return makecol(255, 0, 255); }
// Frame i of a strip is filled with this colour; the tone tells the strips
// apart.
enum StripTone { kPlainTone = 130, kOrbTone = 10, kAlienTone = 50, kDomeTone = 90 };
inline int frameColour(int frame, int tone = kPlainTone)
{
    return makecol(30 + 40 * frame, 200 - 30 * frame, tone);
}

constexpr int kPanelTop = 380;  // gui.bmp is transparent above this row
constexpr int kHoleX = 600;  // a transparent square inside the panel
constexpr int kHoleY = 400;
constexpr int kHoleSize = 10;
constexpr int kFaceX = 13;
constexpr int kFaceY = 390;
constexpr int kFaceWidth = 40;
constexpr int kFaceHeight = 60;

inline void saveOrFail(const std::string& path, BITMAP* bitmap)
{
    ASSERT_EQ(save_bitmap(path.c_str(), bitmap, nullptr), 0) << path;
    destroy_bitmap(bitmap);
}

// A strip of frames, frame i in frameColour(i), with its top-left quarter
// transparent so that masking shows.
inline void writeStrip(const std::string& path, int frameWidth, int frameHeight, int frames,
                       int tone = kPlainTone)
{
    BITMAP* strip = create_bitmap(frameWidth * frames, frameHeight);
    for (int i = 0; i < frames; ++i) {
        const int left = i * frameWidth;
        rectfill(strip, left, 0, left + frameWidth - 1, frameHeight - 1, frameColour(i, tone));
        rectfill(strip, left, 0, left + frameWidth / 2 - 1, frameHeight / 2 - 1, mask());
    }
    saveOrFail(path, strip);
}

// Every picture the level loads, small and plain, in folder.
inline void writeGamePictures(const std::string& folder)
{
    BITMAP* cart = create_bitmap(64, 32);
    rectfill(cart, 0, 0, 31, 31, cartVerticalColour());
    rectfill(cart, 32, 0, 63, 31, cartHorizontalColour());
    saveOrFail(folder + "/Cart.bmp", cart);

    // The turret is a 8 x 8 square in the middle of frame 0.
    BITMAP* turret = create_bitmap(256, 32);
    clear_to_color(turret, mask());
    rectfill(turret, 12, 12, 19, 19, turretColour());
    saveOrFail(folder + "/turret.bmp", turret);

    // The gun points down at angle 0: a bar from the centre to the bottom edge.
    BITMAP* gun = create_bitmap(32, 32);
    clear_to_color(gun, mask());
    rectfill(gun, 15, 16, 16, 31, gunColour());
    saveOrFail(folder + "/Gun.bmp", gun);

    writeStrip(folder + "/orb.bmp", 16, 16, 4, kOrbTone);
    writeStrip(folder + "/alien.bmp", 128, 128, 5, kAlienTone);
    writeStrip(folder + "/dome.bmp", 128, 128, 4, kDomeTone);

    BITMAP* gui = create_bitmap(640, 480);
    clear_to_color(gui, mask());
    rectfill(gui, 0, kPanelTop, 639, 479, panelColour());
    // A window in the panel through which the face shows, one pixel wider
    // and taller than the face, like the black box behind it.
    rectfill(gui, kFaceX, kFaceY, kFaceX + kFaceWidth, kFaceY + kFaceHeight, mask());
    // And a hole nothing fills, through which the view shows.
    rectfill(gui, kHoleX, kHoleY, kHoleX + kHoleSize - 1, kHoleY + kHoleSize - 1, mask());
    saveOrFail(folder + "/gui.bmp", gui);

    BITMAP* face = create_bitmap(kFaceWidth, kFaceHeight);
    clear_to_color(face, faceColour());
    putpixel(face, 5, 5, mask());  // the black box shows through here
    saveOrFail(folder + "/face.bmp", face);
}

// A track drawn in text: '#' cells are track, and each opens towards the
// neighbouring track cells; any other character is a cell with no ways.
// Block record n has flags n, so a cell's value is its flags.
class HandMadeTrack {
public:
    explicit HandMadeTrack(const std::vector<std::string>& rows) : saved_(tileMap)
    {
        const int height = static_cast<int>(rows.size());
        const int width = static_cast<int>(rows[0].size());
        records_.resize(16);
        for (int n = 0; n < 16; ++n) {
            records_[n] = BlockRecord{};
            records_[n].flags = static_cast<uint8_t>(n);
        }
        cells_.assign(static_cast<size_t>(width * height), 0);
        auto track = [&](int x, int y) {
            return x >= 0 && y >= 0 && x < width && y < height && rows[y][x] == '#';
        };
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (!track(x, y)) {
                    continue;
                }
                int flags = 0;
                flags |= track(x, y - 1) ? kFlagExitUp : 0;
                flags |= track(x, y + 1) ? kFlagExitDown : 0;
                flags |= track(x - 1, y) ? kFlagExitLeft : 0;
                flags |= track(x + 1, y) ? kFlagExitRight : 0;
                cells_[y * width + x] = static_cast<int16_t>(flags);
            }
        }
        std::memset(&tileMap, 0, sizeof tileMap);
        tileMap.mapWidth = static_cast<int16_t>(width);
        tileMap.mapHeight = static_cast<int16_t>(height);
        tileMap.blockWidth = 32;
        tileMap.blockHeight = 32;
        tileMap.blockStepX = 32;
        tileMap.blockStepY = 32;
        tileMap.blockRecordCount = 16;
        tileMap.blockRecords = records_.data();
        tileMap.layers[0] = cells_.data();
        tileMap.currentLayer = cells_.data();
    }
    ~HandMadeTrack() { tileMap = saved_; }
    HandMadeTrack(const HandMadeTrack&) = delete;
    HandMadeTrack& operator=(const HandMadeTrack&) = delete;

    int flagsAt(int column, int row) const { return cells_[row * tileMap.mapWidth + column]; }

private:
    TileMap saved_;
    std::vector<BlockRecord> records_;
    std::vector<int16_t> cells_;
};

// A level as begin() leaves it, but built without a map file or pictures:
// a cart whose sprites are bare 32 x 32 frames, five constructed domes,
// fifty idle orbs and ten idle aliens. The destructor frees them all.
class BareLevel {
public:
    BareLevel()
    {
        level.craft = new PlayerCraft();
        PlayerCraft& craft = *level.craft;
        for (Sprite** sprite : {&craft.cart, &craft.turret, &craft.gun}) {
            *sprite = new Sprite();
            (*sprite)->frameWidth = 32;
            (*sprite)->frameHeight = 32;
        }
        craft.facingAxis = 1;
        craft.facing = kDirectionDown;
        craft.maxSpeed = 10;
        for (Dome*& dome : level.domes) {
            dome = new Dome();
        }
        for (Orb*& orb : level.orbs) {
            orb = new Orb();
        }
        for (Alien*& alien : level.aliens) {
            alien = new Alien();
            if (!alien->sprite) {
                alien->sprite = new Sprite();
            }
        }
    }
    ~BareLevel()
    {
        for (Orb*& orb : level.orbs) {
            delete orb;
        }
        for (Alien*& alien : level.aliens) {
            delete alien;
        }
        for (Dome*& dome : level.domes) {
            delete dome;
        }
        delete level.craft;
    }
    BareLevel(const BareLevel&) = delete;
    BareLevel& operator=(const BareLevel&) = delete;

    // Puts the cart on a cell, exactly aligned, as begin() does.
    void placeCart(int column, int row, int facing)
    {
        PlayerCraft& craft = *level.craft;
        craft.x = column * 32;
        craft.y = row * 32;
        level.cellX = column;
        level.cellY = row;
        level.cellCentreX = craft.x + 16;
        level.cellCentreY = craft.y + 16;
        craft.facing = facing;
        craft.facingAxis = facing == kDirectionLeft || facing == kDirectionRight ? 0 : 1;
    }

    Level level;
};

// Bytes the program holds on the heap right now, so that a test can see
// memory that repeated work never gives back.
inline std::size_t heapBytesInUse()
{
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

// Clears every key the level reads.
inline void releaseAllKeys()
{
    for (int k = 0; k < KEY_MAX; ++k) {
        key[k] = 0;
    }
}

}  // namespace testworld
