// Firing from the cart in a running level: the cool-down while SPACE is held,
// the lowest free slot, and nothing at all when every orb is in flight.
#include "entities/orb.h"
#include "entities/player_craft.h"
#include "entities/sprite.h"
#include "tests/unit/level_playthrough_support.h"

#include <vector>

namespace {

class FiringTest : public HeadlessPlay {
protected:
    void SetUp() override
    {
        HeadlessPlay::SetUp();
        srand(11);
        level.begin("level1.fmp");
    }
    void TearDown() override
    {
        level.end();
        HeadlessPlay::TearDown();
    }

    int inFlight() const
    {
        int count = 0;
        for (const Orb* orb : level.orbs) {
            count += orb->sprite->active ? 1 : 0;
        }
        return count;
    }
};

TEST_F(FiringTest, HoldingSpaceFiresOncePerSixTicksFromTheCartsCentre)
{
    level.lastFireTick = 0;
    key[KEY_SPACE] = 1;
    key[KEY_RIGHT] = 1;  // turret to the right: 270 degrees
    std::vector<int> shotTicks;
    for (int tick = 0; tick <= 60; ++tick) {
        tickCounter = tick;
        // Several frames in one tick: still at most one shot.
        for (int frame = 0; frame < 3; ++frame) {
            const int before = inFlight();
            level.handleInput();
            if (inFlight() != before) {
                EXPECT_EQ(inFlight(), before + 1);
                shotTicks.push_back(tick);
            }
        }
    }
    EXPECT_EQ(shotTicks, (std::vector<int>{6, 12, 18, 24, 30, 36, 42, 48, 54, 60}));
    const Orb& first = *level.orbs[0];
    EXPECT_EQ(first.angle, 270);
    EXPECT_EQ(first.startX, level.craft->x + 16);
    EXPECT_EQ(first.startY, level.craft->y + 16);
    EXPECT_EQ(level.lastFireTick, 60);
}

TEST_F(FiringTest, WithEveryOrbInFlightNothingLeavesAndTheCoolDownStands)
{
    for (Orb* orb : level.orbs) {
        orb->fire(0, 1000, 1000);
    }
    level.lastFireTick = 3;
    tickCounter = 100;
    key[KEY_SPACE] = 1;
    level.handleInput();
    EXPECT_EQ(inFlight(), kOrbSlots);
    EXPECT_EQ(level.lastFireTick, 3);
    for (const Orb* orb : level.orbs) {
        EXPECT_EQ(orb->startX, 1000);
    }

    // Two slots free up: the lower one is taken, and only one.
    level.orbs[30]->sprite->active = false;
    level.orbs[17]->sprite->active = false;
    level.handleInput();
    EXPECT_TRUE(level.orbs[17]->sprite->active);
    EXPECT_FALSE(level.orbs[30]->sprite->active);
    EXPECT_EQ(level.orbs[17]->startX, level.craft->x + 16);
    EXPECT_EQ(level.lastFireTick, 100);
}

}  // namespace
