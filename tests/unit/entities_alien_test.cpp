// Monsters: the course they take to a dome, where they enter, how they stand
// at a dome and strike it, and how they fall to orbs.
#include "entities/alien.h"
#include "entities/dome.h"
#include "entities/sprite.h"
#include "shell/colors.h"
#include "shell/counters.h"
#include "tests/unit/entities_alien_strips.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>

namespace {

constexpr int kFrame = 128;

class AlienTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tickCounter = 0;
        for (Dome*& dome : domes) {
            dome = new Dome;
        }
    }
    void TearDown() override
    {
        for (Dome* dome : domes) {
            delete dome;
        }
    }

    // A monster on the field at (x, y) without graphics: movement, contact
    // and aiming need only its frame size.
    static void putOnField(Alien& alien, float x, float y, int heading = 0)
    {
        delete alien.sprite;
        alien.sprite = new Sprite;
        alien.sprite->frameWidth = kFrame;
        alien.sprite->frameHeight = kFrame;
        alien.sprite->speedX = 3;
        alien.sprite->speedY = 3;
        alien.sprite->frameDelay = 4;
        alien.sprite->active = true;
        alien.x = x;
        alien.y = y;
        alien.heading = heading;
        alien.attackInterval = 50;
        alien.damage = 1;
        alien.health = 10;
        alien.maxHealth = 10;
    }

    StandInStrips strips;
    Dome* domes[5] = {};
};

// ---- Aiming -------------------------------------------------------------

TEST_F(AlienTest, StraightLinesToTheDomeGetTheirHeadingsPlusOneDegree)
{
    domes[0]->init(1000, 1000);
    struct Case {
        float x, y;
        int heading;
    };
    // Above: straight down is 0, plus one gives 361. Below: 181. From the
    // right: 90 + 1. From the left: 360 - 90.00000014 + 1 truncates to 270.
    const Case cases[] = {{1000, 500, 361}, {1000, 1500, 181}, {1500, 1000, 91}, {500, 1000, 270}};
    for (const Case& c : cases) {
        Alien alien;
        putOnField(alien, c.x, c.y);
        alien.chooseTarget(domes);
        EXPECT_EQ(alien.heading, c.heading) << "from " << c.x << "," << c.y;
    }
}

TEST_F(AlienTest, DiagonalsLoseADegreeWhereTheFormulaSubtracts)
{
    domes[0]->init(1000, 1000);
    struct Case {
        float x, y;
        int heading;
    };
    // 45 degrees is 32 library units; 32 / 0.71111111 is a hair above 45,
    // so 180 - a + 1 and 360 - a + 1 fall just short of 136 and 316.
    const Case cases[] = {
        {1300, 1300, 135},  // below and right
        {700, 700, 315},    // above and left
        {1300, 700, 46},    // above and right
        {700, 1300, 226},   // below and left
    };
    for (const Case& c : cases) {
        Alien alien;
        putOnField(alien, c.x, c.y);
        alien.chooseTarget(domes);
        EXPECT_EQ(alien.heading, c.heading) << "from " << c.x << "," << c.y;
    }
}

TEST_F(AlienTest, NearestStandingDomeWinsAndTiesKeepTheLowerSlot)
{
    // Slot 0 is nearest but has fallen; slots 1 and 3 are both 500 away.
    domes[0]->init(100, 100);
    domes[0]->sprite->active = false;
    domes[1]->init(300, 400);
    domes[3]->init(400, 300);
    Alien alien;
    putOnField(alien, 0, 0);
    alien.chooseTarget(domes);
    // Towards (300, 400): cos = 0.8, 26 units, 360 - 36.56 + 1. Towards
    // (400, 300) it would be 38 units and 307.
    EXPECT_EQ(alien.heading, 324);

    domes[3]->x = 399;  // now a pixel nearer than slot 1
    alien.chooseTarget(domes);
    EXPECT_EQ(alien.heading, 307);
}

TEST_F(AlienTest, OnTheDomesCornerTheHeadingIsKept)
{
    domes[0]->init(640, 480);
    Alien alien;
    putOnField(alien, 640, 480, 77);
    alien.chooseTarget(domes);
    EXPECT_EQ(alien.heading, 77);
}

TEST_F(AlienTest, WithNoDomeStandingSlotZeroIsStillAimedAt)
{
    domes[0]->init(1000, 1000);
    domes[0]->sprite->active = false;
    Alien alien;
    putOnField(alien, 1000, 500);
    alien.chooseTarget(domes);
    EXPECT_EQ(alien.heading, 361);
}

// ---- Entering the field ---------------------------------------------------

TEST_F(AlienTest, EdgePositionsStayWithinTheirEdgesRanges)
{
    const int W = StandInStrips::kMapPixelWidth;
    const int H = StandInStrips::kMapPixelHeight;
    std::set<int> edgesSeen;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        srand(seed);
        Alien alien;
        putOnField(alien, 0, 0);
        alien.placeAtEdge();
        const int sx = alien.sprite->x;
        const int sy = alien.sprite->y;
        EXPECT_EQ(alien.x, static_cast<float>(sx));
        EXPECT_EQ(alien.y, static_cast<float>(sy));
        if (sx == 0 && sy >= -kFrame && sy <= H - kFrame - 1) {
            edgesSeen.insert(0);
        } else if (sx == W && sy >= kFrame && sy <= H + kFrame - 1) {
            edgesSeen.insert(1);
        } else if (sy == 0 && sx >= -kFrame && sx <= W - kFrame - 1) {
            edgesSeen.insert(2);
        } else if (sy == H && sx >= kFrame && sx <= W + kFrame - 1) {
            edgesSeen.insert(3);
        } else {
            ADD_FAILURE() << "seed " << seed << " put the monster at " << sx << "," << sy;
        }
    }
    EXPECT_EQ(edgesSeen.size(), 4u);
}

TEST_F(AlienTest, EdgeRollsAreTakenSideThenNearThenPosition)
{
    const int W = StandInStrips::kMapPixelWidth;
    const int H = StandInStrips::kMapPixelHeight;
    for (unsigned seed = 1; seed <= 50; ++seed) {
        srand(seed);
        const bool side = rand() % 10 + 1 <= 5;
        const bool near = rand() % 10 + 1 <= 5;
        const int position = rand();
        const int alongWest = position % H - kFrame;
        const int alongEast = position % H + kFrame;
        const int alongNorth = position % W - kFrame;
        const int alongSouth = position % W + kFrame;

        srand(seed);
        Alien alien;
        putOnField(alien, 0, 0);
        alien.placeAtEdge();
        if (side) {
            EXPECT_EQ(alien.sprite->x, near ? 0 : W) << seed;
            EXPECT_EQ(alien.sprite->y, near ? alongWest : alongEast) << seed;
        } else {
            EXPECT_EQ(alien.sprite->y, near ? 0 : H) << seed;
            EXPECT_EQ(alien.sprite->x, near ? alongNorth : alongSouth) << seed;
        }
    }
}

TEST_F(AlienTest, SpawningGivesFullHealthFreshGraphicsAndACourse)
{
    domes[0]->init(600, 400);
    srand(7);
    Alien alien;
    alien.health = 0;
    alien.spawn(domes);
    ASSERT_NE(alien.sprite, nullptr);
    EXPECT_TRUE(alien.sprite->active);
    EXPECT_NE(alien.sprite->frameBitmap, nullptr);
    EXPECT_EQ(alien.health, 10);
    EXPECT_EQ(alien.maxHealth, 10);
    EXPECT_EQ(alien.lastAttackTick, 0);
    EXPECT_GE(alien.heading, 1);
    EXPECT_LE(alien.heading, 361);

    // A second entry replaces the sprite; the old one must not leak.
    alien.sprite->active = false;
    alien.spawn(domes);
    EXPECT_TRUE(alien.sprite->active);
    EXPECT_EQ(alien.sprite->frame, 0);
}

// ---- At a dome --------------------------------------------------------------

TEST_F(AlienTest, AMonsterAtADomeStandsStillAndStrikesOncePer51Ticks)
{
    domes[0]->init(1000, 1000);
    Alien alien;
    // Walking right into the dome's left side, its top corner inside.
    putOnField(alien, 1000 - kFrame - 1, 1010);
    alien.chooseTarget(domes);
    const float startX = alien.x;
    const float startY = alien.y;

    int blows = 0;
    for (int tick = 100; tick <= 100 + 51 * 4; ++tick) {
        tickCounter = tick;
        const int before = domes[0]->health;
        alien.update(domes);
        if (domes[0]->health != before) {
            ++blows;
            EXPECT_EQ((tick - 100) % 51, 0) << "blow at tick " << tick;
        }
        EXPECT_EQ(alien.x, startX);
        EXPECT_EQ(alien.y, startY);
    }
    EXPECT_EQ(blows, 5);
    EXPECT_EQ(domes[0]->health, 45);
}

TEST_F(AlienTest, TheFirstBlowNeedsMoreThan50TicksFromTheClocksStart)
{
    domes[0]->init(1000, 1000);
    Alien alien;
    putOnField(alien, 1000 - kFrame - 1, 1010);
    alien.chooseTarget(domes);
    tickCounter = 50;
    alien.update(domes);
    EXPECT_EQ(domes[0]->health, 50);
    tickCounter = 51;
    alien.update(domes);
    EXPECT_EQ(domes[0]->health, 49);
}

TEST_F(AlienTest, ADomeFallsAfter50BlowsAndOnlyTheFellingMonsterReAims)
{
    domes[0]->init(1000, 1000);
    domes[1]->init(2000, 1000);
    Alien feller;
    putOnField(feller, 1000 - kFrame - 1, 1010);
    feller.chooseTarget(domes);
    Alien bystander;  // at the dome's top, walking straight down
    putOnField(bystander, 1010, 1000 - kFrame - 1, 361);

    int blows = 0;
    int tick = 51;
    int bystanderHeading = 0;
    while (domes[0]->sprite->active && blows < 60) {
        tickCounter = tick;
        // The bystander struck just now, so it never lands the last blow.
        bystander.lastAttackTick = tick;
        bystanderHeading = bystander.heading;
        const int before = domes[0]->health;
        feller.update(domes);
        bystander.update(domes);
        blows += before - domes[0]->health;
        tick += 51;
    }
    EXPECT_EQ(blows, 50);
    EXPECT_FALSE(domes[0]->sprite->active);
    EXPECT_TRUE(domes[1]->sprite->active);
    // The feller turns to the dome still standing, far to its right and 10
    // pixels higher: 64 units, the below-and-not-right formula, 90 + 181.
    EXPECT_EQ(feller.heading, 271);
    // The bystander no longer touches the fallen dome: it keeps the heading
    // it had and walks on, 3 pixels a step.
    EXPECT_EQ(bystander.heading, bystanderHeading);
    const float beforeX = bystander.x;
    const float beforeY = bystander.y;
    bystander.update(domes);
    EXPECT_NEAR(Alien::distance(beforeX, beforeY, bystander.x, bystander.y), 3.0f, 1e-3);
    EXPECT_EQ(bystander.heading, bystanderHeading);
}

TEST_F(AlienTest, EqualLeftOrTopEdgesMakeNoContact)
{
    domes[0]->init(1000, 1000);
    Alien down;
    putOnField(down, 1000, 1050, 361);  // left edges equal, overlapping rows
    tickCounter = 500;
    down.update(domes);
    EXPECT_EQ(domes[0]->health, 50);
    EXPECT_EQ(down.x, 1000.0f);
    EXPECT_FLOAT_EQ(down.y, 1053);

    Alien right;
    putOnField(right, 1050, 1000, 270);  // top edges equal, overlapping columns
    right.update(domes);
    EXPECT_EQ(domes[0]->health, 50);
    EXPECT_FLOAT_EQ(right.x, 1053);
    EXPECT_EQ(right.y, 1000.0f);
}

TEST_F(AlienTest, TheStepIsThreePixelsAlongTheHeadingUnrounded)
{
    Alien alien;
    putOnField(alien, 500, 500, 46);  // down and to the left, 32 units
    alien.update(domes);
    EXPECT_NEAR(alien.x, 500 - 3 * std::sqrt(0.5), 1e-3);
    EXPECT_NEAR(alien.y, 500 + 3 * std::sqrt(0.5), 1e-3);
}

// ---- Orb hits -------------------------------------------------------------

TEST_F(AlienTest, TenHitsTakeTheMonsterOffTheFieldForUpTo2000Ticks)
{
    Alien alien;
    putOnField(alien, 300, 300);
    tickCounter = 1234;
    for (int hit = 1; hit <= 9; ++hit) {
        alien.hit();
        EXPECT_TRUE(alien.sprite->active);
    }
    EXPECT_EQ(alien.health, 1);
    alien.hit();
    EXPECT_FALSE(alien.sprite->active);
    EXPECT_GE(alien.spawnTime, 1234);
    EXPECT_LT(alien.spawnTime, 1234 + 2000);
}

// ---- Health bar -------------------------------------------------------------

TEST_F(AlienTest, HealthBarSitsOnTheSpritesTopRowWithItsGreenShare)
{
    BITMAP* canvas = create_bitmap(640, 480);
    clear_to_color(canvas, colorMagenta);
    Alien alien;
    putOnField(alien, 150.7f, 220.2f);
    alien.health = 5;
    alien.drawHealth(canvas, 50, 20);
    // Map (150.7, 210.2)-(278.7, 220.2) less the camera, truncated:
    // columns 100..228, rows 190..200; green up to 64 + 100.7 -> 164.
    EXPECT_EQ(getpixel(canvas, 100, 195), colorWhite);
    EXPECT_EQ(getpixel(canvas, 228, 195), colorWhite);
    EXPECT_EQ(getpixel(canvas, 150, 190), colorWhite);
    EXPECT_EQ(getpixel(canvas, 150, 200), colorWhite);
    EXPECT_EQ(getpixel(canvas, 101, 195), colorGreen);
    EXPECT_EQ(getpixel(canvas, 164, 195), colorGreen);
    EXPECT_EQ(getpixel(canvas, 165, 195), colorBlack);
    EXPECT_EQ(getpixel(canvas, 227, 199), colorBlack);
    EXPECT_EQ(getpixel(canvas, 150, 189), colorMagenta);
    EXPECT_EQ(getpixel(canvas, 229, 195), colorMagenta);

    clear_to_color(canvas, colorMagenta);
    alien.health = 0;
    alien.drawHealth(canvas, 50, 20);
    EXPECT_EQ(getpixel(canvas, 100, 195), colorMagenta);
    destroy_bitmap(canvas);
}

TEST_F(AlienTest, DistanceIsEuclideanInSinglePrecision)
{
    EXPECT_EQ(Alien::distance(0, 0, 3, 4), 5.0f);
    EXPECT_EQ(Alien::distance(10, 10, 10, 10), 0.0f);
    EXPECT_EQ(Alien::distance(0, 0, -5, -12), 13.0f);
    // 0.1f squared and rooted in single precision comes back as 0.1f.
    EXPECT_EQ(Alien::distance(0, 0, 0.1f, 0), 0.1f);
}

}  // namespace
