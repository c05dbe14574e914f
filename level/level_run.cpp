// Building a level for a map, one pass of its frame loop, and its teardown.
#include "level/level.h"

#include "entities/alien.h"
#include "entities/dome.h"
#include "entities/orb.h"
#include "entities/player_craft.h"
#include "entities/sprite.h"
#include "level/panel_cache.h"
#include "level/state_hash.h"
#include "music/track.h"
#include "base/counters.h"
#include "base/game_input.h"
#include "base/fatal.h"
#include "base/release_bitmap.h"
#include "tilemap/loader.h"
#include "tilemap/map_places.h"
#include "tilemap/tilemap.h"

#include <allegro.h>

#include <cstdlib>

namespace {

constexpr const char* kLevelMusicFile = "Airship.ogg";
constexpr const char* kPanelPictureFile = "gui.bmp";
constexpr const char* kFacePictureFile = "face.bmp";

// The track grid the places are given in, in pixels.
constexpr int32_t kPlaceCellSize = 32;

constexpr int32_t kCraftMaxSpeed = 10;
constexpr int kAlienSpawnSpread = 1000;  // ticks over which the first aliens enter

// The level music starts with the first run and plays, looped, until the
// process ends: through later runs and the menus alike.
void startLevelMusicOnce()
{
    if (levelMusicStarted != 0) {
        return;
    }
    static MusicTrack levelMusic = startMusicTrack(kLevelMusicFile);
    (void)levelMusic;
    levelMusicStarted = 1;
}

BITMAP* loadPictureOrExit(const char* fileName)
{
    BITMAP* picture = load_bitmap(fileName, nullptr);
    if (!picture) {
        leaveWithMessage(kMissingPictureMessage, fileName);
    }
    return picture;
}

template <typename Entity, int Count>
void deleteSlots(Entity* (&slots)[Count])
{
    for (Entity*& slot : slots) {
        delete slot;
        slot = nullptr;
    }
}

}  // namespace

void loadMapOrExit(const char* mapFileName)
{
    if (loadMap(mapFileName) != 0) {
        leaveWithMessage(kMissingMapMessage, mapFileName);
    }
}

void Level::begin(const char* mapFileName)
{
    startLevelMusicOnce();
    loadMapOrExit(mapFileName);

    craft = new PlayerCraft();
    craft->loadSprites();

    for (Dome*& dome : domes) {
        dome = new Dome();
    }

    const MapPlaces places = placesOfLoadedMap(mapFileName);
    craft->x = places.start.x * kPlaceCellSize;
    craft->y = places.start.y * kPlaceCellSize;
    cellX = places.start.x;
    cellY = places.start.y;
    // The slots without a place get no dome: they count as fallen from the start.
    for (int32_t i = 0; i < places.domeCount; ++i) {
        domes[i]->init(places.domes[i].x * kPlaceCellSize, places.domes[i].y * kPlaceCellSize);
    }

    cellCentreX = craft->x + craft->cart->frameWidth / 2;
    cellCentreY = craft->y + craft->cart->frameHeight / 2;

    craft->speed = 0.0f;
    craft->maxSpeed = kCraftMaxSpeed;

    // One launch each loads the orbs' graphics before play.
    for (Orb*& orb : orbs) {
        orb = new Orb();
        orb->fire(0, 0, 0);
        orb->sprite->active = false;
    }

    tickCounter = 0;

    for (Alien*& alien : aliens) {
        alien = new Alien();
        alien->spawn(domes);
        alien->spawnTime = std::rand() % kAlienSpawnSpread;
        alien->sprite->active = false;
    }

    guiBitmap = loadPictureOrExit(kPanelPictureFile);
    faceBitmap = loadPictureOrExit(kFacePictureFile);

    score = 0;
    secondsPlayed = 0;
    gameOver = false;
}

void Level::playFrame()
{
    handleInput();
    updateOrbs();
    updateAliens();
    if (!anyDomeStanding()) {
        gameOver = true;
        showGameOver();
    }
    // The pass in which the last dome fell still scores and draws once.
    updateScore();
    drawScene();
    frameCounter += 1;
    // A recording keeps, and a playback checks, the state each pass leaves.
    if (inputMode() != InputMode::Live) {
        endInputFrame(levelStateHash(*this));
    }
}

void Level::end()
{
    releasePanelCache();
    releaseBitmap(guiBitmap);
    releaseBitmap(faceBitmap);
    freeMap();
    deleteSlots(orbs);
    deleteSlots(aliens);
    deleteSlots(domes);
    delete craft;
    craft = nullptr;
}
