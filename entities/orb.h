// The player's projectile: fired from the cart's centre along the turret's
// angle, it flies 5 pixels per step on each moving axis until its range.
#pragma once

#include <cstdint>

class Sprite;

class Orb {
public:
    Orb();
    ~Orb();  // releases its sprite

    void fire(int32_t angle, int32_t x, int32_t y);
    void move();

    Sprite* sprite;  // position, flight flag and graphics
    int32_t angle;
    int32_t kind;
    int32_t range;
    int32_t startX;
    int32_t startY;
};
