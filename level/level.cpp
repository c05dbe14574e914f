#include "level/level.h"

#include "base/game_input.h"
#include "base/pass_end.h"
#include "level/pause.h"

#include <allegro.h>

// The engines and the last shot and scoring ticks are carried from one run to
// the next; for the very first run they start off and at tick 0.
Level::Level()
    : aimLockKeyHeld(false), cameraX(0), cameraY(0), craft(nullptr), cellX(0), cellY(0),
      cellCentreX(0), cellCentreY(0), backEnginesOn(false), frontEnginesOn(false), orbs{},
      weaponKind(0), lastFireTick(0), aliens{}, domes{}, score(0), lastScoreTick(0),
      secondsPlayed(0), guiBitmap(nullptr), faceBitmap(nullptr), gameOver(false)
{
}

// A run frees what it built before it returns; nothing is left to release.
Level::~Level() = default;

void Level::run(const char* mapFileName)
{
    begin(mapFileName);
    playUntilEnd();
    end();
}

void Level::playUntilEnd()
{
    while (nextPass()) {
        playFrame();
        endPass();
        holdWhilePaused();
    }
}

bool Level::nextPass()
{
    beginInputFrame();
    return !playAction(PlayAction::Leave) && !gameOver;
}
