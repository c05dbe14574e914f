#include "entities/player_craft.h"

#include "entities/angles.h"
#include "entities/sprite.h"
#include "base/colors.h"
#include "base/game_input.h"
#include "base/release_bitmap.h"

#include <allegro.h>

#include <cstdlib>

namespace {

constexpr int kCartFrameSize = 32;
constexpr int kCartFrames = 2;     // 0 vertical, 1 horizontal
constexpr int kTurretFrames = 8;   // only frame 0 is ever shown
constexpr int kGunFrames = 1;

constexpr int kCartFrameVertical = 0;
constexpr int kCartFrameHorizontal = 1;

// The three speed operations share one gate: at least this many ticks
// must have passed, exclusive, since the last one acted.
constexpr int kSpeedGateTicks = 1;

constexpr double kDragStep = 0.05;
// Below this speed in either direction the cart's drag brings it to rest.
constexpr double kRestBand = 0.6;

// Speeds are summed in double precision and kept as a float, which is what
// makes 51 steps of 0.2 settle at 10.199995.
float addToSpeed(float speed, double step)
{
    return static_cast<float>(static_cast<double>(speed) + step);
}

// The body, turret and gun sprites and the composed image, all owned.
void releaseParts(PlayerCraft& craft)
{
    delete craft.cart;
    delete craft.turret;
    delete craft.gun;
    craft.cart = craft.turret = craft.gun = nullptr;
    releaseBitmap(craft.image);
}

}  // namespace

PlayerCraft::PlayerCraft()
    : cart(nullptr), turret(nullptr), gun(nullptr), image(nullptr), x(0), y(0), lastSpeedTick(0),
      speed(0.0f), maxSpeed(0), turretAngle(0), turretLocked(0), facingAxis(0), facing(0),
      moveDirection(0)
{
}

PlayerCraft::~PlayerCraft()
{
    releaseParts(*this);
}

void PlayerCraft::loadSprites()
{
    // Loading twice must not strand the first set.
    releaseParts(*this);

    cart = new Sprite();
    turret = new Sprite();
    gun = new Sprite();
    cart->load("Cart.bmp", kCartFrameSize, kCartFrameSize, kCartFrames);
    turret->load("turret.bmp", kCartFrameSize, kCartFrameSize, kTurretFrames);
    gun->load("Gun.bmp", kCartFrameSize, kCartFrameSize, kGunFrames);

    image = create_bitmap(cart->frameBitmap->w, cart->frameBitmap->h);
    clear_bitmap(image);

    facingAxis = 1;
    facing = kDirectionDown;
}

void PlayerCraft::renderImage()
{
    rectfill(image, 0, 0, image->w, image->h, maskColour());

    cart->frame = facingAxis == 0 ? kCartFrameHorizontal : kCartFrameVertical;
    cart->renderFrame();

    draw_sprite(image, cart->frameBitmap, 0, 0);
    draw_sprite(image, turret->frameBitmap, 0, 0);
    rotate_sprite(image, gun->frameBitmap, 0, 0, itofix(degreesToLibraryUnits(turretAngle)));
}

namespace {

// True, and the gate taken, when enough ticks have passed since the last
// speed change; the caller acts only then.
bool passSpeedGate(int32_t& lastSpeedTick)
{
    const int32_t now = playTick();
    if (std::abs(now - lastSpeedTick) > kSpeedGateTicks) {
        lastSpeedTick = now;
        return true;
    }
    return false;
}

}  // namespace

void PlayerCraft::speedUp(double step)
{
    if (passSpeedGate(lastSpeedTick) && speed < static_cast<float>(maxSpeed)) {
        speed = addToSpeed(speed, step);
    }
}

void PlayerCraft::slowDown(double step)
{
    if (passSpeedGate(lastSpeedTick)) {
        speed = addToSpeed(speed, -step);
    }
}

void PlayerCraft::applyDrag()
{
    if (!passSpeedGate(lastSpeedTick)) {
        return;
    }
    if (speed != 0.0f) {
        speed = addToSpeed(speed, speed <= 0.0f ? kDragStep : -kDragStep);
        if (speed > -kRestBand && speed < kRestBand) {
            speed = 0.0f;
        }
    }
}
