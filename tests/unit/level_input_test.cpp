// The keys of play that are not driving: the turret lock on T, firing with
// its cool-down, and the scoring step, plus the check for standing domes.
#include "entities/dome.h"
#include "entities/orb.h"
#include "entities/player_craft.h"
#include "entities/sprite.h"
#include "level/level.h"
#include "shell/counters.h"
#include "tests/support/headless.h"
#include "tests/unit/level_test_world.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

using testworld::BareLevel;
using testworld::HandMadeTrack;

// Marks orbs that have not been fired: firing sets the kind to the level's
// weapon kind (0).
constexpr int32_t kUnfiredKind = 99;

class InputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        startHeadless();
        testworld::writeGamePictures(folder.path());
        testworld::releaseAllKeys();
        tickCounter = 0;
        world.placeCart(1, 1, kDirectionDown);
        for (Orb* orb : level.orbs) {
            orb->kind = kUnfiredKind;
        }
    }
    void TearDown() override { testworld::releaseAllKeys(); }

    std::vector<int> firedSlots() const
    {
        std::vector<int> slots;
        for (int i = 0; i < kOrbSlots; ++i) {
            if (level.orbs[i]->kind != kUnfiredKind) {
                slots.push_back(i);
            }
        }
        return slots;
    }

    TempDir folder;
    ScopedChdir inFolder{folder.path()};
    HandMadeTrack track{{"###", "###", "###"}};
    BareLevel world;
    Level& level = world.level;
};

TEST_F(InputTest, HoldingTTogglesTheTurretLockOncePerPress)
{
    key[KEY_T] = 1;
    for (int i = 0; i < 10; ++i) {
        level.handleInput();
    }
    EXPECT_EQ(level.craft->turretLocked, 1);
    EXPECT_TRUE(level.aimLockKeyHeld);

    key[KEY_T] = 0;
    level.handleInput();
    EXPECT_FALSE(level.aimLockKeyHeld);
    EXPECT_EQ(level.craft->turretLocked, 1);

    key[KEY_T] = 1;
    level.handleInput();
    level.handleInput();
    EXPECT_EQ(level.craft->turretLocked, 0);
}

TEST_F(InputTest, ALockedTurretIgnoresTheArrowKeys)
{
    level.craft->turretLocked = 1;
    key[KEY_LEFT] = 1;
    level.handleInput();
    EXPECT_EQ(level.craft->turretAngle, 0);

    level.craft->turretLocked = 0;
    level.handleInput();
    EXPECT_EQ(level.craft->turretAngle, 90);
}

TEST_F(InputTest, HoldingSpaceFiresOncePerSixTicks)
{
    key[KEY_SPACE] = 1;
    std::vector<int> shotTicks;
    for (int tick = 0; tick <= 60; ++tick) {
        tickCounter = tick;
        const int32_t before = level.lastFireTick;
        level.handleInput();
        if (level.lastFireTick != before) {
            shotTicks.push_back(tick);
        }
    }
    // The last shot was at tick 0 (a new level's start), and a shot needs
    // more than 5 ticks since the one before.
    EXPECT_EQ(shotTicks, (std::vector<int>{6, 12, 18, 24, 30, 36, 42, 48, 54, 60}));
    EXPECT_EQ(firedSlots(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST_F(InputTest, AShotTakesTheLowestFreeSlotFromTheCartsCentre)
{
    level.orbs[0]->sprite->active = true;
    level.orbs[1]->sprite->active = true;
    level.orbs[3]->sprite->active = true;
    level.craft->turretAngle = 225;
    key[KEY_UP] = 1;
    key[KEY_RIGHT] = 1;
    key[KEY_SPACE] = 1;
    tickCounter = 10;
    level.handleInput();

    EXPECT_EQ(firedSlots(), std::vector<int>{2});
    EXPECT_EQ(level.orbs[2]->kind, level.weaponKind);
    EXPECT_EQ(level.lastFireTick, 10);
    EXPECT_TRUE(level.orbs[2]->sprite->active);
    EXPECT_EQ(level.orbs[2]->angle, 225);
    EXPECT_EQ(level.orbs[2]->startX, 32 + 16);
    EXPECT_EQ(level.orbs[2]->startY, 32 + 16);
}

TEST_F(InputTest, WithEverySlotInFlightNothingIsFired)
{
    for (Orb* orb : level.orbs) {
        orb->sprite->active = true;
    }
    level.lastFireTick = 3;
    key[KEY_SPACE] = 1;
    tickCounter = 100;
    level.handleInput();
    EXPECT_EQ(level.lastFireTick, 3);
    EXPECT_TRUE(firedSlots().empty());
}

TEST_F(InputTest, TheCooldownCountsTheDistanceEitherWay)
{
    // The previous level's last shot is far above the reset clock.
    level.lastFireTick = 5000;
    key[KEY_SPACE] = 1;
    tickCounter = 0;
    level.handleInput();
    EXPECT_EQ(level.lastFireTick, 0);
    EXPECT_EQ(firedSlots(), std::vector<int>{0});

    tickCounter = 5;
    level.handleInput();
    EXPECT_EQ(firedSlots().size(), 1u) << "five ticks are not enough";
}

class ScoreTest : public ::testing::Test {
protected:
    void SetUp() override { tickCounter = 0; }

    void stand(int slots)
    {
        for (int i = 0; i < slots; ++i) {
            level.domes[i]->sprite->active = true;
        }
    }

    BareLevel world;
    Level& level = world.level;
};

TEST_F(ScoreTest, AStepComesAtTheFirstFrameFiftyOneTicksAfterTheLast)
{
    stand(1);
    tickCounter = 50;
    level.updateScore();
    EXPECT_EQ(level.secondsPlayed, 0);

    tickCounter = 51;
    level.updateScore();
    EXPECT_EQ(level.secondsPlayed, 1);
    EXPECT_EQ(level.score, 1);
    EXPECT_EQ(level.lastScoreTick, 51);

    tickCounter = 101;
    level.updateScore();
    EXPECT_EQ(level.secondsPlayed, 1);
    tickCounter = 102;
    level.updateScore();
    EXPECT_EQ(level.secondsPlayed, 2);
    EXPECT_EQ(level.score, 2);
}

TEST_F(ScoreTest, EachStandingDomeScoresAPoint)
{
    stand(3);
    tickCounter = 60;
    level.updateScore();
    EXPECT_EQ(level.score, 3);
    EXPECT_EQ(level.secondsPlayed, 1);

    for (Dome* dome : level.domes) {
        dome->sprite->active = false;
    }
    tickCounter = 120;
    level.updateScore();
    EXPECT_EQ(level.score, 3) << "fallen domes score nothing";
    EXPECT_EQ(level.secondsPlayed, 2) << "but the time goes on";
}

TEST_F(ScoreTest, ALongPauseYieldsOneStepOnly)
{
    stand(1);
    tickCounter = 2000;  // back from the help screen
    level.updateScore();
    level.updateScore();
    EXPECT_EQ(level.secondsPlayed, 1);
}

TEST_F(ScoreTest, AClockResetBelowTheLastStepScoresAtOnce)
{
    stand(1);
    level.lastScoreTick = 4000;
    tickCounter = 0;
    level.updateScore();
    EXPECT_EQ(level.secondsPlayed, 1);
    EXPECT_EQ(level.lastScoreTick, 0);
}

class DomesStandingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        startHeadless();
        testworld::writeGamePictures(folder.path());
        tickCounter = 0;
    }

    TempDir folder;
    ScopedChdir inFolder{folder.path()};
    BareLevel world;
    Level& level = world.level;
};

TEST_F(DomesStandingTest, EveryStandingDomeIsAnimatedAndAnyOneIsEnough)
{
    EXPECT_FALSE(level.anyDomeStanding()) << "constructed domes are down";

    level.domes[1]->init(0, 0);
    level.domes[3]->init(200, 0);
    tickCounter = 21;
    EXPECT_TRUE(level.anyDomeStanding());
    EXPECT_EQ(level.domes[1]->sprite->frame, 1);
    EXPECT_EQ(level.domes[3]->sprite->frame, 1) << "the loop does not stop at the first";

    level.domes[1]->sprite->active = false;
    EXPECT_TRUE(level.anyDomeStanding());
    level.domes[3]->sprite->active = false;
    EXPECT_FALSE(level.anyDomeStanding());
}

}  // namespace
