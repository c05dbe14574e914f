// The shipped maps played headless from the game's folder, the clock ticked
// by hand: firing from the cart, and whole games until the monsters win,
// with a scripted player and with nobody at the keys.
#include "entities/alien.h"
#include "entities/dome.h"
#include "entities/orb.h"
#include "entities/player_craft.h"
#include "entities/sprite.h"
#include "level/level.h"
#include "level/screens.h"
#include "shell/counters.h"
#include "tests/support/headless.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace {

// Far more frames than ten monsters need to fell a dome of 50 health.
constexpr int kFrameLimit = 60000;
// tan(22.5 degrees): an axis joins the aim when it carries this share of the
// larger one, which picks the nearest of the eight directions.
constexpr double kDiagonalShare = 0.41421356;

int pageWaits = 0;
void countPageWait() { ++pageWaits; }
void releaseAllKeys() { std::memset(const_cast<char*>(key), 0, KEY_MAX); }

class PlayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        startHeadless(32);
        text_mode(makecol(255, 0, 255));
        chdir_ = std::make_unique<ScopedChdir>(gameDir());
        backBuffer = create_bitmap(screen->w, screen->h);
        clear_bitmap(backBuffer);
        levelMusicStarted = 1;  // no sound here; the level must not start it
        savedWait_ = std::exchange(waitForEscPressAndRelease, countPageWait);
        releaseAllKeys();
        tickCounter = 0;
    }
    void TearDown() override
    {
        releaseAllKeys();
        waitForEscPressAndRelease = savedWait_;
        destroy_bitmap(backBuffer);
    }

    template <typename Entity, size_t N>
    static int active(Entity* const (&slots)[N])
    {
        int count = 0;
        for (const Entity* entity : slots) count += entity->sprite && entity->sprite->active;
        return count;
    }

    // Drives on, holds the arrows towards the nearest monster and fires.
    void playerKeys()
    {
        releaseAllKeys();
        key[KEY_LCONTROL] = 1;
        const double cartX = level.craft->x + 16;
        const double cartY = level.craft->y + 16;
        const Alien* target = nullptr;
        for (const Alien* alien : level.aliens) {
            if (alien->sprite && alien->sprite->active &&
                (!target || Alien::distance(cartX, cartY, alien->x + 64, alien->y + 64) <
                                Alien::distance(cartX, cartY, target->x + 64, target->y + 64))) {
                target = alien;
            }
        }
        if (!target) return;
        const double dx = target->x + 64 - cartX;
        const double dy = target->y + 64 - cartY;
        const double larger = std::max(std::fabs(dx), std::fabs(dy));
        if (std::fabs(dx) >= larger * kDiagonalShare) key[dx < 0 ? KEY_LEFT : KEY_RIGHT] = 1;
        if (std::fabs(dy) >= larger * kDiagonalShare) key[dy < 0 ? KEY_UP : KEY_DOWN] = 1;
        key[KEY_SPACE] = 1;
    }

    // Plays until game over; returns the monsters shot down.
    int play(const char* map, unsigned seed, bool withPlayer)
    {
        SCOPED_TRACE(map);
        pageWaits = 0;
        srand(seed);
        level.begin(map);
        level.lastScoreTick = 0;  // the clock starts again from 0 each run
        int frames = 0, steps = 0, stepsWithADome = 0, downed = 0;
        for (; !level.gameOver && frames < kFrameLimit; ++frames, ++tickCounter) {
            if (withPlayer) playerKeys();
            const int seconds = level.secondsPlayed;
            const int monsters = active(level.aliens);
            level.playFrame();
            if (level.secondsPlayed != seconds) {
                EXPECT_EQ(level.secondsPlayed, seconds + 1);
                ++steps;
                // Nothing after the scoring step in a frame changes the domes.
                stepsWithADome += active(level.domes) > 0;
            }
            downed += std::max(0, monsters - active(level.aliens));
        }
        EXPECT_TRUE(level.gameOver) << "no game over after " << frames << " frames";
        EXPECT_EQ(active(level.domes), 0);
        EXPECT_EQ(pageWaits, 1);
        EXPECT_EQ(level.secondsPlayed, steps);
        EXPECT_EQ(level.score, stepsWithADome);
        EXPECT_GT(level.score, 0);
        level.end();
        releaseAllKeys();
        return downed;
    }

    Level level;

private:
    std::unique_ptr<ScopedChdir> chdir_;
    void (*savedWait_)() = nullptr;
};

TEST_F(PlayTest, HoldingSpaceFiresOncePerSixTicksFromTheCartsCentre)
{
    level.begin("level1.fmp");
    level.lastFireTick = 0;
    key[KEY_SPACE] = key[KEY_RIGHT] = 1;
    std::vector<int> shotTicks;
    for (tickCounter = 0; tickCounter <= 60; ++tickCounter) {
        for (int frame = 0; frame < 3; ++frame) {  // several frames per tick
            const int before = active(level.orbs);
            level.handleInput();
            if (active(level.orbs) != before) shotTicks.push_back(tickCounter);
        }
    }
    EXPECT_EQ(shotTicks, (std::vector<int>{6, 12, 18, 24, 30, 36, 42, 48, 54, 60}));
    EXPECT_EQ(active(level.orbs), 10);
    EXPECT_EQ(level.orbs[0]->angle, 270);
    EXPECT_EQ(level.orbs[0]->startX, level.craft->x + 16);
    EXPECT_EQ(level.orbs[0]->startY, level.craft->y + 16);
    level.end();
}

TEST_F(PlayTest, WithEveryOrbInFlightFireDoesNothingUntilASlotFrees)
{
    level.begin("level1.fmp");
    for (Orb* orb : level.orbs) orb->fire(0, 1000, 1000);
    level.lastFireTick = 3;
    tickCounter = 100;
    key[KEY_SPACE] = 1;
    level.handleInput();
    EXPECT_EQ(active(level.orbs), kOrbSlots);
    EXPECT_EQ(level.lastFireTick, 3);
    for (const Orb* orb : level.orbs) EXPECT_EQ(orb->startX, 1000);
    // Two slots free up: the lower one is taken, and only one.
    level.orbs[30]->sprite->active = level.orbs[17]->sprite->active = false;
    level.handleInput();
    EXPECT_EQ(level.orbs[17]->startX, level.craft->x + 16);
    EXPECT_FALSE(level.orbs[30]->sprite->active);
    EXPECT_EQ(level.lastFireTick, 100);
    level.end();
}

TEST_F(PlayTest, APlayerFightsOnEachMapUntilTheDomesFall)
{
    EXPECT_GT(play("level1.fmp", 1, true), 0) << "the player never downed a monster";
    EXPECT_GT(play("test.fmp", 2, true), 0) << "the player never downed a monster";
}

TEST_F(PlayTest, LeftAloneTheMonstersWinOnEveryMap)
{
    EXPECT_EQ(play("level1.fmp", 3, false), 0);
    EXPECT_EQ(play("test.fmp", 3, false), 0);
}

}  // namespace
