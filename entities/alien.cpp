#include "entities/alien.h"

#include "entities/angles.h"
#include "entities/contact.h"
#include "entities/dome.h"
#include "entities/in_play.h"
#include "entities/sprite.h"
#include "base/colors.h"
#include "base/game_input.h"
#include "tilemap/tilemap.h"

#include <allegro.h>

#include <cmath>
#include <cstdlib>

namespace {
// Monster kind 0, the Balrog.
constexpr int32_t kBalrogKind = 0;
constexpr const char* kBalrogStrip = "alien.bmp";
constexpr int32_t kBalrogFrameSize = 128;
constexpr int32_t kBalrogFrameCount = 5;
constexpr int32_t kBalrogFrameDelay = 4;
constexpr int32_t kBalrogSpeed = 3;
constexpr int32_t kBalrogAttackInterval = 50;
constexpr int32_t kBalrogDamage = 1;
constexpr int32_t kBalrogHealth = 10;

constexpr int kDomeSlotCount = 5;

// Edge choice: two rolls of 1..10, the low half picking the side edges and
// then the left or top edge.
constexpr int kEdgeRollSides = 10;
constexpr int kEdgeRollLowHalf = 5;

// Ticks within which a fallen monster comes back.
constexpr int kRespawnTicks = 2000;

// Farther than any dome on a map, so the first standing dome always wins.
constexpr int32_t kNoDomeYet = 9999999;

// Turns the library's angle units into degrees. Written to eight places,
// it is a hair below 256 / 360, so the result comes out a hair above the
// exact degrees; headings that subtract it land one degree lower.
constexpr double kLibraryUnitsPerDegree = 0.71111111;

// The heading formulas each add one degree on top of the course.
constexpr double kHeadingNudge = 1.0;
constexpr double kHalfTurn = 180.0;
constexpr double kFullTurn = 360.0;

// Health bar: 10 pixels tall, its last row on the sprite's top row.
constexpr float kHealthBarHeight = 10.0f;

// rand() % n, still consuming one roll when n is not positive so that the
// rolls after it stay where they are.
int32_t randomBelow(int32_t n)
{
    const int roll = rand();
    return n > 0 ? roll % n : 0;
}

Box boxOf(const Dome& dome)
{
    return {static_cast<float>(dome.x), static_cast<float>(dome.y),
            static_cast<float>(dome.sprite->frameWidth), static_cast<float>(dome.sprite->frameHeight)};
}
}  // namespace

Alien::Alien()
    : sprite(nullptr), kind(kBalrogKind), heading(0), x(0), y(0), spawnTime(0), lastAttackTick(0),
      attackInterval(0), damage(0), health(1), maxHealth(0)
{
}

Alien::~Alien()
{
    delete sprite;
}

void Alien::spawn(Dome* const* domes)
{
    // Every entry starts from fresh graphics; the old sprite goes with its
    // bitmaps.
    delete sprite;
    sprite = new Sprite;
    if (kind == kBalrogKind) {
        sprite->load(kBalrogStrip, kBalrogFrameSize, kBalrogFrameSize, kBalrogFrameCount);
        sprite->speedX = kBalrogSpeed;
        sprite->speedY = kBalrogSpeed;
        sprite->frameDelay = kBalrogFrameDelay;
        damage = kBalrogDamage;
        lastAttackTick = 0;
        attackInterval = kBalrogAttackInterval;
        health = kBalrogHealth;
        maxHealth = kBalrogHealth;
    }
    placeAtEdge();
    chooseTarget(domes);
    sprite->active = true;
}

void Alien::placeAtEdge()
{
    const int32_t mapWidth = int32_t{tileMap.blockWidth} * tileMap.mapWidth;
    const int32_t mapHeight = int32_t{tileMap.blockHeight} * tileMap.mapHeight;

    const bool sideEdge = rand() % kEdgeRollSides + 1 <= kEdgeRollLowHalf;
    const bool nearEdge = rand() % kEdgeRollSides + 1 <= kEdgeRollLowHalf;

    // Across the edge the monster sits on it (0, or the map's width or
    // height); along it, the random spot is shifted by one frame, towards the
    // near corner on the left and top edges and away from it on the others.
    int32_t& across = sideEdge ? sprite->x : sprite->y;
    int32_t& along = sideEdge ? sprite->y : sprite->x;
    int32_t offset;
    if (nearEdge) {
        across = 0;
        offset = -sprite->frameHeight;
    } else {
        across = sideEdge ? mapWidth : mapHeight;
        offset = sprite->frameHeight;
    }
    along = randomBelow(sideEdge ? mapHeight : mapWidth) + offset;

    x = static_cast<float>(sprite->x);
    y = static_cast<float>(sprite->y);
}

void Alien::chooseTarget(Dome* const* domes)
{
    int32_t best = kNoDomeYet;
    int target = 0;
    for (int slot = 0; slot < kDomeSlotCount; ++slot) {
        const Dome* dome = domes[slot];
        if (!inPlay(dome)) {
            continue;
        }
        const auto d = static_cast<int32_t>(
            distance(x, y, static_cast<float>(dome->x), static_cast<float>(dome->y)));
        if (d < best) {
            best = d;
            target = slot;
        }
    }
    const Dome* dome = domes[target];
    if (!dome) {
        return;
    }
    const auto tx = static_cast<float>(dome->x);
    const auto ty = static_cast<float>(dome->y);
    const float length = distance(x, y, tx, ty);
    if (length == 0.0f) {
        // Already on the dome's corner: there is no course to take, so the
        // monster keeps the one it has.
        return;
    }
    const float ratio = std::fabs(y - ty) / length;
    const int32_t units = fixtoi(fixacos(ftofix(ratio)));
    const double a = units / kLibraryUnitsPerDegree;

    double degrees;
    if (ty < y) {
        degrees = tx < x ? kHalfTurn - a + kHeadingNudge : a + kHalfTurn + kHeadingNudge;
    } else {
        degrees = x > tx ? a + kHeadingNudge : kFullTurn - a + kHeadingNudge;
    }
    heading = static_cast<int32_t>(degrees);
}

void Alien::update(Dome* const* domes)
{
    const float keptX = x;
    const float keptY = y;
    const fixed turn = itofix(degreesToLibraryUnits(heading));
    y += fixtof(fixcos(turn)) * sprite->speedY;
    x -= fixtof(fixsin(turn)) * sprite->speedX;

    for (int slot = 0; slot < kDomeSlotCount; ++slot) {
        Dome* dome = domes[slot];
        // Tested from where the monster is now: after a contact it is back
        // where it stood, and the next dome is tested from there.
        const Box body{x, y, static_cast<float>(sprite->frameWidth),
                       static_cast<float>(sprite->frameHeight)};
        if (!inPlay(dome) || !anyCornerInside(body, boxOf(*dome))) {
            continue;
        }
        // A monster at a dome holds its ground and strikes; only the one
        // whose blow brings the dome down looks for a new one.
        x = keptX;
        y = keptY;
        attack(dome);
        if (dome->health <= 0) {
            dome->sprite->active = false;
        }
        chooseTarget(domes);
    }
    sprite->animate();
}

void Alien::attack(Dome* dome)
{
    const int32_t now = playTick();
    if (std::llabs(int64_t{now} - lastAttackTick) > attackInterval) {
        dome->health -= damage;
        lastAttackTick = now;
    }
}

void Alien::hit()
{
    health -= 1;
    if (health <= 0) {
        sprite->active = false;
        spawnTime = rand() % kRespawnTicks + playTick();
    }
}

void Alien::drawHealth(BITMAP* bitmap, int32_t cameraX, int32_t cameraY)
{
    if (health <= 0 || !sprite || maxHealth <= 0) {
        return;
    }
    const float width = static_cast<float>(sprite->frameWidth);
    const auto left = static_cast<int>(x - cameraX);
    const auto top = static_cast<int>(y - kHealthBarHeight - cameraY);
    const auto right = static_cast<int>(width + x - cameraX);
    const auto bottom = static_cast<int>(y - cameraY);
    const double share = static_cast<double>(health) / maxHealth;
    const auto greenRight = static_cast<int>(width * share + x - cameraX);

    rectfill(bitmap, left, top, right, bottom, colorBlack);
    rectfill(bitmap, left, top, greenRight, bottom, colorGreen);
    rect(bitmap, left, top, right, bottom, colorWhite);
}

float Alien::distance(float x1, float y1, float x2, float y2)
{
    const float dx = x2 - x1;
    const float dy = y2 - y1;
    return std::sqrt(dx * dx + dy * dy);
}
