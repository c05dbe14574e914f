// Monsters: their course to a dome, where they enter, their blows at a dome,
// and their return after being shot down.
#include "tests/unit/entities_alien_strips.h"

#include <cstdlib>
#include <set>

namespace {

using AliensTest = FieldTest;

TEST_F(AliensTest, HeadingsToTheDomeCarryTheFormulasPlusOne)
{
    level.domes[0]->init(1000, 1000);
    // Straight lines: down is 0 + 1 = 361; from the left 360 - 90.0000001 + 1
    // truncates to 270. Diagonals are 32 library units, a hair above 45
    // degrees, so the formulas that subtract it fall short of 136 and 316.
    // On the dome's very corner there is no direction: the heading is kept.
    const struct { float x, y; int heading; } cases[] = {
        {1000, 500, 361}, {1000, 1500, 181}, {500, 1000, 270}, {1500, 1000, 91},
        {1300, 1300, 135}, {700, 700, 315},  {1300, 700, 46},  {700, 1300, 226},
        {1000, 1000, 77},
    };
    for (const auto& c : cases) {
        Alien& alien = place(0, c.x, c.y, 77);
        alien.chooseTarget(level.domes);
        EXPECT_EQ(alien.heading, c.heading) << "from " << c.x << "," << c.y;
    }
}

TEST_F(AliensTest, EntriesLieOnTheEdgesRolledSideThenNearThenPosition)
{
    std::set<int> edgesSeen;
    for (unsigned seed = 1; seed <= 200; ++seed) {
        srand(seed);
        const bool side = rand() % 10 < 5;
        const bool near = rand() % 10 < 5;
        const int roll = rand();
        Alien& alien = place(0, 0, 0);
        srand(seed);
        alien.placeAtEdge();
        const int across = side ? alien.sprite->x : alien.sprite->y;
        const int along = side ? alien.sprite->y : alien.sprite->x;
        const int length = side ? kMapH : kMapW;
        // Left and top edges run a frame before their corner, the others a
        // frame past it.
        const int first = near ? -kAlienFrame : kAlienFrame;
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        EXPECT_EQ(across, near ? 0 : (side ? kMapW : kMapH));
        EXPECT_GE(along, first);
        EXPECT_LT(along, first + length);
        EXPECT_EQ(along, roll % length + first);
        EXPECT_EQ(alien.x, static_cast<float>(alien.sprite->x));
        EXPECT_EQ(alien.y, static_cast<float>(alien.sprite->y));
        edgesSeen.insert(side * 2 + near);
    }
    EXPECT_EQ(edgesSeen.size(), 4u);
}

TEST_F(AliensTest, AMonsterAtADomeStandsStillAndStrikesOncePer51Ticks)
{
    level.domes[0]->init(1000, 1000);
    // Walking right into the dome's left side, its top corner inside.
    Alien& alien = place(0, 1000 - kAlienFrame - 1, 1010);
    alien.chooseTarget(level.domes);
    int blows = 0;
    for (int tick = 0; tick <= 51 * 4; ++tick) {
        tickCounter = tick;
        const int before = level.domes[0]->health;
        alien.update(level.domes);
        if (level.domes[0]->health != before) {
            ++blows;
            EXPECT_EQ(tick % 51, 0) << "blow at tick " << tick;
        }
        EXPECT_EQ(alien.x, 1000 - kAlienFrame - 1);
        EXPECT_EQ(alien.y, 1010);
    }
    EXPECT_EQ(blows, 4);
    EXPECT_EQ(level.domes[0]->health, 46);
}

TEST_F(AliensTest, ADomeFallsAfter50BlowsAndOnlyTheFellingMonsterReAims)
{
    level.domes[0]->init(1000, 1000);
    level.domes[1]->init(2000, 1000);
    Alien& feller = place(0, 1000 - kAlienFrame - 1, 1010);
    feller.chooseTarget(level.domes);
    Alien& bystander = place(1, 1010, 1000 - kAlienFrame - 1, 361);  // on the dome's top
    int blows = 0;
    int heading = 0;
    float lastX = 0;
    float lastY = 0;
    for (int tick = 51; level.domes[0]->sprite->active && blows < 60; tick += 51) {
        tickCounter = tick;
        bystander.lastAttackTick = tick;  // it just struck: the last blow is the feller's
        heading = bystander.heading;
        lastX = bystander.x;
        lastY = bystander.y;
        const int before = level.domes[0]->health;
        feller.update(level.domes);
        bystander.update(level.domes);
        blows += before - level.domes[0]->health;
    }
    EXPECT_EQ(blows, 50);
    EXPECT_FALSE(level.domes[0]->sprite->active);
    // To the standing dome, far right and 10 pixels up: 64 units, 90 + 181.
    EXPECT_EQ(feller.heading, 271);
    // In that pass the bystander kept its heading and walked on, 3 pixels.
    EXPECT_EQ(bystander.heading, heading);
    EXPECT_NEAR(Alien::distance(lastX, lastY, bystander.x, bystander.y), 3.0f, 1e-3);
}

TEST_F(AliensTest, EqualLeftOrTopEdgesMakeNoContact)
{
    level.domes[0]->init(1000, 1000);
    tickCounter = 500;
    Alien& down = place(0, 1000, 1050, 361);  // left edges equal, rows overlapping
    down.update(level.domes);
    Alien& right = place(1, 1050, 1000, 270);  // top edges equal, columns overlapping
    right.update(level.domes);
    EXPECT_EQ(level.domes[0]->health, 50);
    EXPECT_FLOAT_EQ(down.y, 1053);
    EXPECT_FLOAT_EQ(right.x, 1053);
}

TEST_F(AliensTest, TenHitsSendAMonsterBackWithFullHealthWithin2000Ticks)
{
    level.domes[0]->init(576, 416);
    Alien& alien = place(0, 100, 100);
    alien.lastAttackTick = 250;
    tickCounter = 300;
    for (int hit = 1; hit <= 10; ++hit) {
        ASSERT_TRUE(alien.sprite->active) << "down after " << hit - 1 << " hits";
        alien.hit();
    }
    ASSERT_FALSE(alien.sprite->active);
    const int comeBack = alien.spawnTime;
    ASSERT_GE(comeBack, 300);
    ASSERT_LT(comeBack, 2300);
    // The clock must be past the moment, not on it.
    tickCounter = comeBack;
    level.updateAliens();
    EXPECT_FALSE(alien.sprite->active);
    tickCounter = comeBack + 1;
    level.updateAliens();
    EXPECT_TRUE(alien.sprite->active);
    EXPECT_EQ(alien.health, 10);
    EXPECT_EQ(alien.lastAttackTick, 0);
}

}  // namespace
