// A monster: enters at a random map edge, walks straight to the nearest
// standing dome, strikes it at most once every 51 ticks, and comes back from
// a new edge some time after its tenth orb hit.
#pragma once

#include <cstdint>

struct BITMAP;
class Sprite;
class Dome;

class Alien {
public:
    Alien();
    ~Alien();  // releases its sprite

    void spawn(Dome* const* domes);
    void placeAtEdge();
    void chooseTarget(Dome* const* domes);
    void update(Dome* const* domes);
    void attack(Dome* dome);
    void hit();
    void drawHealth(BITMAP* bitmap, int32_t cameraX, int32_t cameraY);
    static float distance(float x1, float y1, float x2, float y2);

    Sprite* sprite;
    int32_t kind;
    int32_t heading;  // whole degrees, clockwise from straight down
    float x;
    float y;
    int32_t spawnTime;
    int32_t lastAttackTick;
    int32_t attackInterval;
    int32_t damage;
    int32_t health;
    int32_t maxHealth;
};
