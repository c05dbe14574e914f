// A dome the player defends: it stands while its sprite is active and falls
// when the monsters' blows bring its health to 0.
#pragma once

#include <cstdint>

struct BITMAP;
class Sprite;

class Dome {
public:
    Dome();
    ~Dome();  // releases its sprite

    void init(int32_t x, int32_t y);
    void animate();
    void drawHealth(BITMAP* bitmap, int32_t cameraX, int32_t cameraY);

    Sprite* sprite;
    int32_t health;
    int32_t maxHealth;
    int32_t x;
    int32_t y;
};
