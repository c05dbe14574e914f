// Driving the cart: engines and the hand-over between them, movement on the
// block grid of hand-made tracks, turning at closed sides, the camera, and
// aiming the turret.
#include "entities/player_craft.h"
#include "level/level.h"
#include "shell/counters.h"
#include "tests/support/headless.h"
#include "tests/unit/level_test_world.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using testworld::BareLevel;
using testworld::HandMadeTrack;

class DriveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        testworld::releaseAllKeys();
        tickCounter = 0;
    }
    void TearDown() override { testworld::releaseAllKeys(); }

    // One frame's driving with the clock moved on by `ticks`.
    void frame(int ticks = 2)
    {
        tickCounter += ticks;
        level.driveCraft();
    }

    // Sets a speed that the engines will hold: the clock is not moved, so no
    // speed operation passes its gate.
    void cruise(float speed, bool front)
    {
        craft().speed = speed;
        craft().lastSpeedTick = tickCounter;
        level.frontEnginesOn = front;
        level.backEnginesOn = !front;
    }

    PlayerCraft& craft() { return *level.craft; }

    BareLevel world;
    Level& level = world.level;
};

// A long straight vertical track for the engine tests.
const std::vector<std::string> kColumn = {"#", "#", "#", "#", "#", "#", "#", "#", "#", "#"};

TEST_F(DriveTest, LeftControlFromRestStartsTheFrontEnginesAndMovesOnTheFifthStep)
{
    HandMadeTrack track(kColumn);
    world.placeCart(0, 0, kDirectionDown);
    key[KEY_LCONTROL] = 1;

    frame();
    EXPECT_TRUE(level.frontEnginesOn);
    EXPECT_FALSE(level.backEnginesOn);
    EXPECT_FLOAT_EQ(craft().speed, 0.2f);
    EXPECT_EQ(craft().moveDirection, kDirectionDown);
    for (int step = 2; step <= 4; ++step) {
        frame();
        EXPECT_EQ(craft().y, 0) << "step " << step;
    }
    frame();
    EXPECT_EQ(craft().y, 1);
    frame(1);  // inside the gate period: same speed, one more pixel
    EXPECT_EQ(craft().y, 2);
    EXPECT_FLOAT_EQ(craft().speed, 1.0f);
}

TEST_F(DriveTest, BrakingBelowPointFourHandsOverToTheOtherEngines)
{
    HandMadeTrack track(kColumn);
    world.placeCart(0, 5, kDirectionDown);
    cruise(0.9f, true);
    key[KEY_LSHIFT] = 1;

    frame();
    EXPECT_FLOAT_EQ(craft().speed, 0.7f);
    EXPECT_TRUE(level.frontEnginesOn) << "still braking at 0.7";
    EXPECT_EQ(craft().moveDirection, kDirectionDown);

    frame();
    EXPECT_FLOAT_EQ(craft().speed, 0.5f);
    frame();
    EXPECT_FLOAT_EQ(craft().speed, 0.3f);
    EXPECT_FALSE(level.frontEnginesOn);
    EXPECT_TRUE(level.backEnginesOn);
    EXPECT_EQ(craft().moveDirection, kDirectionUp) << "the back engines drive the other way";
    EXPECT_EQ(craft().facing, kDirectionDown) << "the front keeps pointing down";

    frame();
    EXPECT_FLOAT_EQ(craft().speed, 0.5f) << "from now on the back engines speed it up";
    EXPECT_EQ(craft().moveDirection, kDirectionUp);
}

TEST_F(DriveTest, AltDrivesBackwardLikeShift)
{
    HandMadeTrack track(kColumn);
    world.placeCart(0, 5, kDirectionDown);
    key[KEY_ALT] = 1;
    for (int i = 0; i < 6; ++i) {
        frame();
    }
    EXPECT_TRUE(level.backEnginesOn);
    EXPECT_FALSE(level.frontEnginesOn);
    EXPECT_EQ(craft().y, 5 * 32 - 2) << "the fifth and sixth steps move a pixel each, backwards";
}

TEST_F(DriveTest, LeftControlWinsOverTheBackwardKeys)
{
    HandMadeTrack track(kColumn);
    world.placeCart(0, 5, kDirectionDown);
    cruise(2.0f, false);
    key[KEY_LCONTROL] = 1;
    key[KEY_ALT] = 1;
    key[KEY_LSHIFT] = 1;

    frame();
    EXPECT_FLOAT_EQ(craft().speed, 1.8f) << "left control brakes the back engines";
    EXPECT_TRUE(level.backEnginesOn);
    EXPECT_EQ(craft().moveDirection, kDirectionUp);

    cruise(0.3f, false);
    frame();
    EXPECT_TRUE(level.frontEnginesOn);
    EXPECT_FALSE(level.backEnginesOn);
    EXPECT_EQ(craft().moveDirection, kDirectionDown);
}

TEST_F(DriveTest, WithoutADriveKeyTheCartCoastsUnderDrag)
{
    HandMadeTrack track(kColumn);
    world.placeCart(0, 2, kDirectionDown);
    cruise(3.0f, true);
    frame();
    EXPECT_FLOAT_EQ(craft().speed, 2.95f);
    EXPECT_EQ(craft().y, 2 * 32 + 2);
}

TEST_F(DriveTest, WithNeitherEngineOnTheCartDoesNotMove)
{
    HandMadeTrack track(kColumn);
    world.placeCart(0, 2, kDirectionDown);
    craft().speed = 5.0f;
    frame();
    EXPECT_EQ(craft().y, 64);
    EXPECT_EQ(craft().moveDirection, kDirectionNone);
}

TEST_F(DriveTest, TheCameraKeepsTheCartsCentreAt310By230)
{
    HandMadeTrack track(kColumn);
    world.placeCart(0, 3, kDirectionDown);
    frame();
    EXPECT_EQ(level.cameraX, 0 + 16 - 310);
    EXPECT_EQ(level.cameraY, 96 + 16 - 230);
}

// A corner: the bottom row runs left into a cell whose only other way is up.
const std::vector<std::string> kCorner = {
    "#....",
    "#####",
};

TEST_F(DriveTest, TheFrontEnginesTurnIntoTheOpenSideAtAClosedOne)
{
    HandMadeTrack track(kCorner);
    world.placeCart(4, 1, kDirectionLeft);
    cruise(3.0f, true);
    key[KEY_LCONTROL] = 1;

    int frames = 0;
    while (craft().facing == kDirectionLeft && frames < 100) {
        frame(0);
        ++frames;
        EXPECT_EQ(craft().y, 32) << "moving left, y stays on the row";
    }
    EXPECT_EQ(level.cellX, 0);
    EXPECT_EQ(craft().x, 0) << "set back exactly onto the cell";
    EXPECT_EQ(craft().facing, kDirectionUp);
    EXPECT_EQ(craft().facingAxis, 1);
    EXPECT_EQ(craft().moveDirection, kDirectionLeft) << "the turn shows from the next frame";

    frame(0);
    EXPECT_EQ(craft().moveDirection, kDirectionUp);
    EXPECT_EQ(craft().y, 32 - 3);
    EXPECT_EQ(craft().x, 0);
}

TEST_F(DriveTest, TheBackEnginesTurnTheFrontAwayFromTheOpenSide)
{
    HandMadeTrack track(kCorner);
    world.placeCart(4, 1, kDirectionRight);
    cruise(3.0f, false);
    key[KEY_ALT] = 1;

    int frames = 0;
    while (craft().facing == kDirectionRight && frames < 100) {
        frame(0);
        ++frames;
    }
    EXPECT_EQ(craft().x, 0);
    EXPECT_EQ(craft().facing, kDirectionDown);
    EXPECT_EQ(craft().facingAxis, 1);

    frame(0);
    EXPECT_EQ(craft().moveDirection, kDirectionUp) << "back first, into the open side";
    EXPECT_EQ(craft().y, 32 - 3);
}

TEST_F(DriveTest, AnOvershootPastTheCentreIsTakenBack)
{
    HandMadeTrack track(kCorner);
    world.placeCart(2, 1, kDirectionLeft);
    cruise(10.0f, true);
    key[KEY_LCONTROL] = 1;
    // 64 -> 54, 44, 34, 24 (cell 1), 14, 4, -6: that is 38 past the centre
    // of cell 0, so the cart goes back to x 0.
    const int expected[] = {54, 44, 34, 24, 14, 4, 0};
    for (int x : expected) {
        frame(0);
        EXPECT_EQ(craft().x, x);
    }
    EXPECT_EQ(level.cellX, 0);
    EXPECT_EQ(level.cellCentreX, 16);
    EXPECT_EQ(craft().facing, kDirectionUp);
}

TEST_F(DriveTest, TurnsPreferUpThenDownAcrossAHorizontalRun)
{
    // Cell (0,1) is open up and down; moving left the cart takes up.
    HandMadeTrack track({"#..", "###", "#.."});
    world.placeCart(2, 1, kDirectionLeft);
    cruise(4.0f, true);
    key[KEY_LCONTROL] = 1;
    for (int i = 0; i < 30 && craft().facing == kDirectionLeft; ++i) {
        frame(0);
    }
    EXPECT_EQ(craft().facing, kDirectionUp);
}

TEST_F(DriveTest, TurnsPreferLeftThenRightAcrossAVerticalRun)
{
    HandMadeTrack track({"###", ".#.", ".#."});
    world.placeCart(1, 2, kDirectionUp);
    cruise(4.0f, true);
    key[KEY_LCONTROL] = 1;
    for (int i = 0; i < 30 && craft().facing == kDirectionUp; ++i) {
        frame(0);
    }
    EXPECT_EQ(level.cellY, 0);
    EXPECT_EQ(craft().y, 0);
    EXPECT_EQ(craft().facing, kDirectionLeft);
}

TEST_F(DriveTest, ADeadEndSendsTheCartBackAlongTheTrack)
{
    HandMadeTrack track({"#####"});
    for (bool front : {true, false}) {
        world.placeCart(0, 0, front ? kDirectionRight : kDirectionLeft);
        cruise(5.0f, front);
        key[KEY_LCONTROL] = front;
        key[KEY_ALT] = !front;
        std::vector<int> directions;
        for (int i = 0; i < 200; ++i) {
            frame(0);
            if (directions.empty() || directions.back() != craft().moveDirection) {
                directions.push_back(craft().moveDirection);
            }
            ASSERT_GE(craft().x, 0);
            ASSERT_LE(craft().x, 4 * 32);
            ASSERT_EQ(craft().y, 0);
        }
        ASSERT_GE(directions.size(), 4u) << (front ? "front" : "back") << " engines";
        for (size_t i = 0; i < directions.size(); ++i) {
            EXPECT_EQ(directions[i], i % 2 == 0 ? kDirectionRight : kDirectionLeft);
        }
    }
}

// A loop with a junction in the middle of each long side, so the cart meets
// every kind of corner and runs straight through open junctions.
const std::vector<std::string> kLoop = {
    "........",
    ".######.",
    ".#..#.#.",
    ".######.",
    "........",
};

TEST_F(DriveTest, OnALoopTheCartStaysOnTheTrackAndOnItsCellAcrossItsWay)
{
    HandMadeTrack track(kLoop);
    for (float speed : {1.0f, 3.0f, 7.0f, 10.0f}) {
        for (bool front : {true, false}) {
            world.placeCart(1, 1, front ? kDirectionRight : kDirectionLeft);
            cruise(speed, front);
            key[KEY_LCONTROL] = front;
            key[KEY_LSHIFT] = !front;
            std::set<std::pair<int, int>> visited;
            for (int i = 0; i < 2000; ++i) {
                frame(0);
                const int column = level.cellX;
                const int row = level.cellY;
                ASSERT_NE(track.flagsAt(column, row), 0)
                    << "speed " << speed << ", frame " << i << ": off the track at " << column << "," << row;
                const int direction = craft().moveDirection;
                if (direction == kDirectionLeft || direction == kDirectionRight) {
                    ASSERT_EQ(craft().y, row * 32) << "speed " << speed << ", frame " << i;
                } else {
                    ASSERT_EQ(craft().x, column * 32) << "speed " << speed << ", frame " << i;
                }
                ASSERT_LT(std::abs(craft().x - column * 32), 32);
                ASSERT_LT(std::abs(craft().y - row * 32), 32);
                visited.insert({column, row});
            }
            // The outer ring has 14 cells; the cart goes all the way round.
            EXPECT_GE(visited.size(), 14u) << "speed " << speed;
        }
    }
}

TEST_F(DriveTest, TheTurretFollowsTheArrowKeysLaterRowsWinning)
{
    struct Case {
        std::vector<int> keys;
        int angle;
    };
    const Case cases[] = {
        {{KEY_LEFT}, 90},
        {{KEY_RIGHT}, 270},
        {{KEY_UP}, 180},
        {{KEY_DOWN}, 0},
        {{KEY_LEFT, KEY_UP}, 135},
        {{KEY_LEFT, KEY_DOWN}, 45},
        {{KEY_RIGHT, KEY_UP}, 225},
        {{KEY_RIGHT, KEY_DOWN}, 315},
        {{KEY_LEFT, KEY_RIGHT}, 270},
        {{KEY_LEFT, KEY_RIGHT, KEY_UP}, 225},
        {{KEY_UP, KEY_DOWN}, 0},
        {{KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN}, 315},
    };
    for (const Case& c : cases) {
        testworld::releaseAllKeys();
        craft().turretAngle = 12345;
        for (int k : c.keys) {
            key[k] = 1;
        }
        level.aimTurret();
        EXPECT_EQ(craft().turretAngle, c.angle) << "case with first key " << c.keys[0];
    }
    testworld::releaseAllKeys();
    level.aimTurret();
    EXPECT_EQ(craft().turretAngle, 315) << "no arrow key keeps the angle";
}

}  // namespace
