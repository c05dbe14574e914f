// The cart's speed steps behind the shared two-tick gate, driving on hand-drawn
// tracks (closed sides, dead ends), the turret keys, and the scoring step.
#include "tests/unit/level_test_world.h"

#include <iterator>
#include <utility>

namespace {

class DriveTest : public testworld::WorldTest {
protected:
    // On a cell of the track, cruising on one set of engines with its key
    // held; the speed holds while the clock stands still.
    void start(const std::vector<std::string>& rows, int column, int row, int facing, float speed, bool front)
    {
        useTrack(rows);
        placeCart(column, row, facing);
        craft.speed = speed;
        craft.lastSpeedTick = tickCounter;
        level.frontEnginesOn = front;
        level.backEnginesOn = !front;
        testworld::releaseAllKeys();
        key[front ? KEY_LCONTROL : KEY_ALT] = 1;
    }
    void frame(int ticks)
    {
        tickCounter += ticks;
        level.driveCraft();
    }
};

TEST_F(DriveTest, AllThreeShareAGateThatNeedsMoreThanOneTickEitherWayAndDragStopsInTheBand)
{
    // At each tick speedUp(0.2), slowDown(0.5) and drag: only the first to
    // pass the gate acts. A new level resets the clock below the last tick.
    const std::pair<int, float> steps[] = {{10, 0.2f}, {11, 0.2f}, {4000, 0.4f}, {0, 0.6f}};
    for (const auto& step : steps) {
        tickCounter = step.first;
        craft.speedUp(0.2);
        craft.slowDown(0.5);
        craft.applyDrag();
        EXPECT_FLOAT_EQ(craft.speed, step.second) << "tick " << step.first;
    }
    // Drag: start -> after one period; 0.65 is still outside (-0.6, 0.6).
    const float cases[][2] = {{3.0f, 2.95f}, {-3.0f, -2.95f}, {0.7f, 0.65f}, {-0.7f, -0.65f},
                              {0.65f, 0.0f}, {-0.64f, 0.0f}, {0.0f, 0.0f}};
    for (const auto& c : cases) {
        craft.speed = c[0];
        tickCounter += 2;
        craft.applyDrag();
        EXPECT_FLOAT_EQ(craft.speed, c[1]) << "from " << c[0];
    }
}

TEST_F(DriveTest, AtAClosedSideTheCartTurnsUnderFrontAndBackEngines)
{
    // The middle row runs left into a cell whose other way is up, or both
    // up and down: up comes first. Front engines turn the front into the open
    // side; back engines turn it away, so that the cart backs up into it.
    for (const auto& rows : {std::vector<std::string>{"#....", "#####"}, {"#....", "#####", "#...."}}) {
        for (bool front : {true, false}) {
            SCOPED_TRACE((front ? "front engines, rows " : "back engines, rows ") + std::to_string(rows.size()));
            start(rows, 4, 1, front ? kDirectionLeft : kDirectionRight, 3.0f, front);
            for (int i = 0; i < 100 && craft.facingAxis == 0; ++i) {
                frame(0);
                ASSERT_EQ(craft.y, 32) << "moving left the cart stays on its row";
            }
            EXPECT_EQ(std::make_pair(level.cellX, craft.x), std::make_pair(0, 0)) << "set back exactly onto the cell";
            EXPECT_EQ(craft.facing, front ? kDirectionUp : kDirectionDown);
            frame(0);
            EXPECT_EQ(craft.moveDirection, kDirectionUp);
            EXPECT_EQ(std::make_pair(craft.x, craft.y), std::make_pair(0, 32 - 3));
        }
    }
}

TEST_F(DriveTest, ADeadEndSendsTheCartBackAlongTheTrack)
{
    for (bool front : {true, false}) {
        SCOPED_TRACE(front ? "front engines" : "back engines");
        start({"#####"}, 0, 0, front ? kDirectionRight : kDirectionLeft, 5.0f, front);
        int reversals = 0;  // on a straight row every change of direction is one
        for (int i = 0, last = kDirectionRight; i < 200; ++i, last = craft.moveDirection) {
            frame(0);
            reversals += craft.moveDirection != last;
            ASSERT_TRUE(craft.x >= 0 && craft.x <= 4 * 32 && craft.y == 0) << craft.x << "," << craft.y;
        }
        EXPECT_GE(reversals, 3);
    }
}

TEST_F(DriveTest, TheTurretFollowsTheArrowKeysLaterRowsWinning)
{
    const std::pair<std::vector<int>, int> cases[] = {
        {{KEY_LEFT}, 90}, {{KEY_RIGHT}, 270}, {{KEY_UP}, 180}, {{KEY_DOWN}, 0},
        {{KEY_LEFT, KEY_UP}, 135}, {{KEY_LEFT, KEY_DOWN}, 45}, {{KEY_RIGHT, KEY_UP}, 225},
        {{KEY_RIGHT, KEY_DOWN}, 315}, {{KEY_UP, KEY_DOWN}, 0}, {{KEY_LEFT, KEY_RIGHT}, 270},
        {{KEY_LEFT, KEY_RIGHT, KEY_UP}, 225}, {{}, 225}};  // no arrow keeps the angle
    for (size_t i = 0; i < std::size(cases); ++i) {
        testworld::releaseAllKeys();
        for (int k : cases[i].first) key[k] = 1;
        level.aimTurret();
        EXPECT_EQ(craft.turretAngle, cases[i].second) << "case " << i;
    }
}

TEST_F(DriveTest, ScoringStepsFiftyOneTicksAfterTheLastWithAPointPerStandingDome)
{
    level.domes[0]->sprite->active = level.domes[3]->sprite->active = true;
    // tick -> seconds, score; a clock reset below the last step scores at once.
    const int steps[][3] = {{50, 0, 0}, {51, 1, 2}, {101, 1, 2}, {102, 2, 4}, {5000, 3, 6}, {0, 4, 8}};
    for (const auto& step : steps) {
        tickCounter = step[0];
        level.updateScore();
        EXPECT_EQ(std::make_pair(level.secondsPlayed, level.score), std::make_pair(step[1], step[2])) << step[0];
    }
}

}  // namespace
