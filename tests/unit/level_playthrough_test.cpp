// Whole games played headless on each shipped map until the monsters win:
// once with a scripted player who drives, aims at the nearest monster and
// fires, once with nobody at the keys. The clock is ticked by hand, one tick
// per frame, so every run is the same for its seed.
#include "entities/alien.h"
#include "entities/dome.h"
#include "entities/orb.h"
#include "entities/player_craft.h"
#include "entities/sprite.h"
#include "tests/unit/level_playthrough_support.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// Long enough for ten monsters to bring down a dome of 50 health even when
// the player keeps some of them away; a game that runs past it never ends.
constexpr int kFrameLimit = 60000;

// tan(22.5 degrees): an axis counts in the aim when it carries at least this
// share of the larger one, which picks the nearest of the eight directions.
constexpr double kDiagonalShare = 0.41421356;

struct GameResult {
    int frames = 0;
    int scoringSteps = 0;
    int stepsWithADomeStanding = 0;
    int shots = 0;
    int monstersDowned = 0;
};

class PlaythroughTest : public HeadlessPlay {
protected:
    bool anyDomeStands() const
    {
        for (const Dome* dome : level.domes) {
            if (dome->sprite->active) {
                return true;
            }
        }
        return false;
    }

    const Alien* nearestMonster() const
    {
        const float cartX = static_cast<float>(level.craft->x + 16);
        const float cartY = static_cast<float>(level.craft->y + 16);
        const Alien* nearest = nullptr;
        float best = 0;
        for (const Alien* alien : level.aliens) {
            if (!alien->sprite->active) {
                continue;
            }
            const float d = Alien::distance(cartX, cartY, alien->x + 64, alien->y + 64);
            if (!nearest || d < best) {
                nearest = alien;
                best = d;
            }
        }
        return nearest;
    }

    // The player: drives forward all the time, holds the arrows that point
    // at the nearest monster and fires whenever one is on the field.
    void playerKeys()
    {
        key[KEY_LCONTROL] = 1;
        key[KEY_LEFT] = key[KEY_RIGHT] = key[KEY_UP] = key[KEY_DOWN] = 0;
        key[KEY_SPACE] = 0;
        const Alien* target = nearestMonster();
        if (!target) {
            return;
        }
        const double dx = target->x + 64 - (level.craft->x + 16);
        const double dy = target->y + 64 - (level.craft->y + 16);
        const double larger = std::max(std::fabs(dx), std::fabs(dy));
        if (std::fabs(dx) >= larger * kDiagonalShare) {
            key[dx < 0 ? KEY_LEFT : KEY_RIGHT] = 1;
        }
        if (std::fabs(dy) >= larger * kDiagonalShare) {
            key[dy < 0 ? KEY_UP : KEY_DOWN] = 1;
        }
        key[KEY_SPACE] = 1;
    }

    int monstersOnField() const
    {
        int count = 0;
        for (const Alien* alien : level.aliens) {
            count += alien->sprite->active ? 1 : 0;
        }
        return count;
    }

    int orbsInFlight() const
    {
        int count = 0;
        for (const Orb* orb : level.orbs) {
            count += orb->sprite->active ? 1 : 0;
        }
        return count;
    }

    GameResult play(const char* map, unsigned seed, bool withPlayer)
    {
        GameResult result;
        pageWaits = 0;
        srand(seed);
        level.begin(map);
        // The previous run's scoring tick is carried over; start this one
        // from the clock's reset so the first step comes after 51 ticks.
        level.lastScoreTick = 0;
        while (!level.gameOver && result.frames < kFrameLimit) {
            if (withPlayer) {
                playerKeys();
            }
            const int secondsBefore = level.secondsPlayed;
            const int flyingBefore = orbsInFlight();
            const int monstersBefore = monstersOnField();
            level.playFrame();
            ++result.frames;
            tickCounter += 1;
            if (level.secondsPlayed != secondsBefore) {
                EXPECT_EQ(level.secondsPlayed, secondsBefore + 1);
                ++result.scoringSteps;
                // Scoring follows the monsters' pass in the frame and nothing
                // after it changes the domes, so this is what it counted.
                result.stepsWithADomeStanding += anyDomeStands() ? 1 : 0;
            }
            // A frame fires at most one orb; count a shot when one more flies
            // than before, less those that ended this frame (rarely both).
            result.shots += orbsInFlight() > flyingBefore ? 1 : 0;
            result.monstersDowned += std::max(0, monstersBefore - monstersOnField());
        }
        EXPECT_TRUE(level.gameOver) << map << ": no game over after " << result.frames
                                    << " frames";
        EXPECT_FALSE(anyDomeStands());
        EXPECT_EQ(pageWaits, 1) << "the game-over page waits once";
        EXPECT_EQ(level.score, result.stepsWithADomeStanding) << map;
        EXPECT_EQ(level.secondsPlayed, result.scoringSteps) << map;
        std::printf("%s seed %u: %d frames, score %d, %d shots, %d downed\n", map, seed,
                    result.frames, level.score, result.shots, result.monstersDowned);
        level.end();
        releaseAllKeys();
        return result;
    }
};

TEST_F(PlaythroughTest, APlayerOnLevel1FightsUntilTheDomeFalls)
{
    const GameResult result = play("level1.fmp", 1, true);
    EXPECT_GT(result.shots, 10);
    EXPECT_GT(result.monstersDowned, 0) << "the scripted player never downed a monster";
    EXPECT_GT(level.score, 0);
}

TEST_F(PlaythroughTest, APlayerOnTheTestMapFightsUntilTheDomeFalls)
{
    const GameResult result = play("test.fmp", 2, true);
    EXPECT_GT(result.shots, 10);
    EXPECT_GT(level.score, 0);
}

TEST_F(PlaythroughTest, LeftAloneTheMonstersWinOnEveryMap)
{
    for (const char* map : {"level1.fmp", "test.fmp"}) {
        const GameResult result = play(map, 3, false);
        EXPECT_EQ(result.shots, 0) << map;
        EXPECT_EQ(result.monstersDowned, 0) << map;
        EXPECT_GT(level.score, 0) << map;
    }
}

TEST_F(PlaythroughTest, F1ShowsTheHelpPageAndPlayGoesOn)
{
    srand(5);
    level.begin("level1.fmp");
    key[KEY_F1] = 1;
    level.playFrame();
    key[KEY_F1] = 0;
    EXPECT_EQ(pageWaits, 1);
    for (int frame = 0; frame < 50; ++frame) {
        tickCounter += 1;
        level.playFrame();
    }
    EXPECT_EQ(pageWaits, 1);
    EXPECT_FALSE(level.gameOver);
    level.end();
}

TEST_F(PlaythroughTest, TwoGamesInARowStartAfresh)
{
    play("level1.fmp", 4, false);
    const int firstScore = level.score;
    play("level1.fmp", 4, false);
    // Same seed, same clock from 0, same keys: the same game again.
    EXPECT_EQ(level.score, firstScore);
}

}  // namespace
