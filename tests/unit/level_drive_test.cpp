// Driving the cart on hand-drawn tracks (engines, hand-over, closed sides,
// dead ends), aiming and locking the turret, and the scoring step.
#include "shell/counters.h"
#include "tests/support/headless.h"
#include "tests/unit/level_test_world.h"

#include <iterator>
#include <utility>
#include <vector>

namespace {

using testworld::HandMadeTrack;

const std::vector<std::string> kColumn(10, "#");
// The bottom row runs left into a cell whose only other way is up.
const std::vector<std::string> kCorner = {"#....", "#####"};

class DriveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testworld::releaseAllKeys();
        tickCounter = 0;
    }
    void TearDown() override { testworld::releaseAllKeys(); }

    void frame(int ticks = 2)
    {
        tickCounter += ticks;
        level.driveCraft();
    }
    // A speed the engines hold as long as the clock stands still.
    void cruise(float speed, bool front)
    {
        craft().speed = speed;
        craft().lastSpeedTick = tickCounter;
        level.frontEnginesOn = front;
        level.backEnginesOn = !front;
    }
    // On a cell, cruising on one set of engines with its key held.
    void driveFrom(int column, int row, int facing, float speed, bool front)
    {
        world.placeCart(column, row, facing);
        cruise(speed, front);
        key[KEY_LCONTROL] = front;
        key[KEY_ALT] = !front;
    }
    PlayerCraft& craft() { return *level.craft; }

    testworld::BareLevel world;
    Level& level = world.level;
};

TEST_F(DriveTest, LeftControlFromRestStartsTheFrontEnginesAndMovesOnTheFifthStep)
{
    HandMadeTrack track(kColumn);
    key[KEY_LCONTROL] = 1;
    frame();
    EXPECT_TRUE(level.frontEnginesOn && !level.backEnginesOn);
    EXPECT_EQ(craft().moveDirection, kDirectionDown);
    for (int step = 2; step <= 4; ++step) {
        frame();
        EXPECT_EQ(craft().y, 0) << "step " << step;
    }
    frame();
    EXPECT_EQ(craft().y, 1);
    frame(1);  // inside the gate period: one more pixel at the same speed
    EXPECT_EQ(craft().y, 2);
    EXPECT_EQ(level.cameraX, 16 - 310) << "the camera keeps the cart's centre at (310, 230)";
    EXPECT_EQ(level.cameraY, 2 + 16 - 230);
}

TEST_F(DriveTest, BrakingBelowPointFourHandsOverToTheOtherEngines)
{
    HandMadeTrack track(kColumn);
    world.placeCart(0, 5, kDirectionDown);
    cruise(0.9f, true);
    key[KEY_LSHIFT] = 1;
    const float speeds[] = {0.7f, 0.5f, 0.3f, 0.5f};
    for (int i = 0; i < 4; ++i) {
        frame();
        EXPECT_FLOAT_EQ(craft().speed, speeds[i]) << "frame " << i;
        EXPECT_EQ(level.backEnginesOn, i >= 2) << "frame " << i;
        EXPECT_EQ(craft().moveDirection, i >= 2 ? kDirectionUp : kDirectionDown) << "frame " << i;
    }
    EXPECT_EQ(craft().facing, kDirectionDown) << "the front keeps pointing down";
}

TEST_F(DriveTest, LeftControlWinsOverAltAndShift)
{
    HandMadeTrack track(kColumn);
    world.placeCart(0, 5, kDirectionDown);
    cruise(2.0f, false);
    key[KEY_LCONTROL] = key[KEY_ALT] = key[KEY_LSHIFT] = 1;
    frame();
    EXPECT_FLOAT_EQ(craft().speed, 1.8f) << "left control brakes the back engines";
    EXPECT_EQ(craft().moveDirection, kDirectionUp);
    cruise(0.3f, false);
    frame();
    EXPECT_TRUE(level.frontEnginesOn && !level.backEnginesOn);
    EXPECT_EQ(craft().moveDirection, kDirectionDown);
}

TEST_F(DriveTest, AtAClosedSideTheCartTurnsUnderFrontAndBackEngines)
{
    HandMadeTrack track(kCorner);
    // Front engines turn the front into the open side (up); back engines
    // turn it away (down), so the cart backs up into the open side.
    for (bool front : {true, false}) {
        SCOPED_TRACE(front ? "front engines" : "back engines");
        driveFrom(4, 1, front ? kDirectionLeft : kDirectionRight, 3.0f, front);
        const int before = craft().facing;
        for (int i = 0; i < 100 && craft().facing == before; ++i) {
            frame(0);
            ASSERT_EQ(craft().y, 32) << "moving left the cart stays on its row";
        }
        EXPECT_EQ(level.cellX, 0);
        EXPECT_EQ(craft().x, 0) << "set back exactly onto the cell";
        EXPECT_EQ(craft().facing, front ? kDirectionUp : kDirectionDown);
        EXPECT_EQ(craft().facingAxis, 1);
        frame(0);
        EXPECT_EQ(craft().moveDirection, kDirectionUp);
        EXPECT_EQ(craft().y, 32 - 3);
        EXPECT_EQ(craft().x, 0);
    }
}

TEST_F(DriveTest, ADeadEndSendsTheCartBackAlongTheTrack)
{
    HandMadeTrack track({"#####"});
    for (bool front : {true, false}) {
        SCOPED_TRACE(front ? "front engines" : "back engines");
        driveFrom(0, 0, front ? kDirectionRight : kDirectionLeft, 5.0f, front);
        std::vector<int> directions;
        for (int i = 0; i < 200; ++i) {
            frame(0);
            if (directions.empty() || directions.back() != craft().moveDirection)
                directions.push_back(craft().moveDirection);
            ASSERT_TRUE(craft().x >= 0 && craft().x <= 4 * 32 && craft().y == 0) << craft().x << "," << craft().y;
        }
        ASSERT_GE(directions.size(), 4u);
        for (size_t i = 0; i < directions.size(); ++i)
            EXPECT_EQ(directions[i], i % 2 == 0 ? kDirectionRight : kDirectionLeft) << i;
    }
}

TEST_F(DriveTest, TheTurretFollowsTheArrowKeysLaterRowsWinning)
{
    const std::pair<std::vector<int>, int> cases[] = {
        {{KEY_LEFT}, 90}, {{KEY_RIGHT}, 270}, {{KEY_UP}, 180}, {{KEY_DOWN}, 0},
        {{KEY_LEFT, KEY_UP}, 135}, {{KEY_LEFT, KEY_DOWN}, 45}, {{KEY_RIGHT, KEY_UP}, 225},
        {{KEY_RIGHT, KEY_DOWN}, 315}, {{KEY_LEFT, KEY_RIGHT}, 270}, {{KEY_LEFT, KEY_RIGHT, KEY_UP}, 225},
        {{KEY_UP, KEY_DOWN}, 0}, {{}, 0}};  // no arrow keeps the angle
    for (size_t i = 0; i < std::size(cases); ++i) {
        testworld::releaseAllKeys();
        for (int k : cases[i].first) key[k] = 1;
        level.aimTurret();
        EXPECT_EQ(craft().turretAngle, cases[i].second) << "case " << i;
    }
}

TEST_F(DriveTest, TTogglesTheTurretLockOncePerPressAndTheLockHoldsTheAngle)
{
    HandMadeTrack track(kColumn);
    key[KEY_T] = key[KEY_LEFT] = 1;
    for (int i = 0; i < 10; ++i) level.handleInput();
    EXPECT_EQ(craft().turretLocked, 1);
    EXPECT_EQ(craft().turretAngle, 0) << "locked from the first pass";
    key[KEY_T] = 0;
    level.handleInput();
    EXPECT_EQ(craft().turretLocked, 1);
    key[KEY_T] = 1;
    level.handleInput();
    level.handleInput();
    EXPECT_EQ(craft().turretLocked, 0);
    EXPECT_EQ(craft().turretAngle, 90);
}

TEST_F(DriveTest, ScoringStepsFiftyOneTicksAfterTheLastWithAPointPerStandingDome)
{
    level.domes[0]->sprite->active = level.domes[3]->sprite->active = true;
    // tick -> seconds, score; a clock reset below the last step scores at once.
    const int steps[][3] = {{50, 0, 0}, {51, 1, 2}, {101, 1, 2}, {102, 2, 4}, {5000, 3, 6}, {0, 4, 8}};
    for (const auto& step : steps) {
        tickCounter = step[0];
        level.updateScore();
        EXPECT_EQ(level.secondsPlayed, step[1]) << "tick " << step[0];
        EXPECT_EQ(level.score, step[2]) << "tick " << step[0];
    }
    level.domes[0]->sprite->active = level.domes[3]->sprite->active = false;
    EXPECT_FALSE(level.anyDomeStanding());
    tickCounter = 60;
    level.updateScore();
    EXPECT_EQ(level.score, 8) << "fallen domes score nothing";
    EXPECT_EQ(level.secondsPlayed, 5) << "but the time goes on";
}

}  // namespace
