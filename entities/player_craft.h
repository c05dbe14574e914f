// The player's cart: body, turret and gun composed into one 32 x 32 image,
// and its speed with the shared two-tick gate. Driving it along the track is
// the Level's driveCraft / turnCraft; aiming is the Level's aimTurret.
#pragma once

#include <cstdint>

struct BITMAP;
class Sprite;

// Direction codes of facing and moveDirection (y grows downwards).
enum Direction : int32_t {
    kDirectionNone = 0,
    kDirectionLeft = 1,
    kDirectionRight = 2,
    kDirectionDown = 3,
    kDirectionUp = 4,
};

class PlayerCraft {
public:
    PlayerCraft();
    ~PlayerCraft();  // releases the three sprites and the image

    void loadSprites();
    void renderImage();
    void speedUp(double step);
    void slowDown(double step);
    void applyDrag();

    Sprite* cart;
    Sprite* turret;
    Sprite* gun;
    BITMAP* image;
    int32_t x;
    int32_t y;
    int32_t lastSpeedTick;
    float speed;
    int32_t maxSpeed;
    int32_t turretAngle;
    int32_t turretLocked;
    int32_t facingAxis;  // 0 horizontal, 1 vertical
    int32_t facing;
    int32_t moveDirection;
};
