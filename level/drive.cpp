// The cart on its track: engines and speed from the drive keys, movement on
// the block grid, turning where the block under it is closed, the camera that
// follows it, and the turret aimed with the arrow keys.
#include "level/level.h"

#include "base/game_input.h"
#include "entities/player_craft.h"
#include "entities/sprite.h"
#include "tilemap/lookup.h"
#include "tilemap/tilemap.h"

#include <allegro.h>

#include <cstdlib>

namespace {

constexpr int32_t kCellSize = 32;       // the track grid, in pixels, both ways
constexpr double kEngineStep = 0.2;     // speed change per gate period
constexpr double kHandOverSpeed = 0.4; // below it the other engines take over

// The view keeps the cart's centre at this point of the screen.
constexpr int32_t kCameraCentreX = 310;
constexpr int32_t kCameraCentreY = 230;

int32_t opposite(int32_t direction)
{
    switch (direction) {
    case kDirectionLeft: return kDirectionRight;
    case kDirectionRight: return kDirectionLeft;
    case kDirectionDown: return kDirectionUp;
    case kDirectionUp: return kDirectionDown;
    default: return direction;
    }
}

int32_t axisOf(int32_t direction)
{
    return direction == kDirectionLeft || direction == kDirectionRight ? 0 : 1;
}

// The front of the cart along its axis: on the horizontal axis only "right"
// counts as right, on the vertical only "down" as down.
int32_t frontDirection(const PlayerCraft& craft)
{
    if (craft.facingAxis == 0) {
        return craft.facing == kDirectionRight ? kDirectionRight : kDirectionLeft;
    }
    return craft.facing == kDirectionDown ? kDirectionDown : kDirectionUp;
}

bool isOpen(const BlockRecord* block, uint8_t way)
{
    return (block->flags & way) != 0;
}

// The side of the cell towards which each direction leaves it.
uint8_t exitFlag(int32_t direction)
{
    switch (direction) {
    case kDirectionLeft: return kFlagExitLeft;
    case kDirectionRight: return kFlagExitRight;
    case kDirectionDown: return kFlagExitDown;
    case kDirectionUp: return kFlagExitUp;
    default: return 0;
    }
}

// Holding a drive key: the engines it asks for (`wanted`) take over from the
// others once the cart has braked below the hand-over speed, then speed up.
void driveWith(PlayerCraft& cart, bool& wanted, bool& other)
{
    if (other) {
        cart.slowDown(kEngineStep);
    }
    if (cart.speed < kHandOverSpeed) {
        other = false;
        wanted = true;
    }
    if (wanted) {
        cart.speedUp(kEngineStep);
    }
}

}  // namespace

void Level::driveCraft()
{
    PlayerCraft& cart = *craft;
    cart.moveDirection = kDirectionNone;

    // Pressing the other drive key first brakes; once slow enough, the other
    // engines take over and drive the cart the other way.
    if (playAction(PlayAction::Forward)) {
        driveWith(cart, frontEnginesOn, backEnginesOn);
    } else if (playAction(PlayAction::Backward)) {
        driveWith(cart, backEnginesOn, frontEnginesOn);
    } else {
        cart.applyDrag();
    }

    if (cart.speed != 0.0f) {
        if (frontEnginesOn) {
            cart.moveDirection = frontDirection(cart);
        } else if (backEnginesOn) {
            cart.moveDirection = opposite(frontDirection(cart));
        }
    }

    const int32_t step = static_cast<int32_t>(cart.speed);
    switch (cart.moveDirection) {
    case kDirectionLeft: cart.x -= step; break;
    case kDirectionRight: cart.x += step; break;
    case kDirectionDown: cart.y += step; break;
    case kDirectionUp: cart.y -= step; break;
    default: break;
    }

    const int32_t halfWidth = cart.cart->frameWidth / 2;
    const int32_t halfHeight = cart.cart->frameHeight / 2;
    const int32_t dx = std::abs(cart.x + halfWidth - cellCentreX);
    const int32_t dy = std::abs(cart.y + halfHeight - cellCentreY);

    if (dx >= kCellSize) {
        if (cart.moveDirection == kDirectionLeft) {
            cellX -= 1;
        } else if (cart.moveDirection == kDirectionRight) {
            cellX += 1;
        }
        cellCentreX = cellX * kCellSize + halfWidth;
    }
    if (dy >= kCellSize) {
        if (cart.moveDirection == kDirectionUp) {
            cellY -= 1;
        } else if (cart.moveDirection == kDirectionDown) {
            cellY += 1;
        }
        cellCentreY = cellY * kCellSize + halfHeight;
    }

    // A closed side sets the cart back exactly onto its cell, whatever part
    // of the step went past the centre, and makes it turn.
    const BlockRecord* block = getBlockAt(cellX, cellY);
    const uint8_t way = exitFlag(cart.moveDirection);
    if (way != 0 && !isOpen(block, way)) {
        switch (cart.moveDirection) {
        case kDirectionLeft: cart.x = dx > kCellSize ? cart.x + dx - kCellSize : cellX * kCellSize; break;
        case kDirectionRight: cart.x = dx > kCellSize ? cart.x - (dx - kCellSize) : cellX * kCellSize; break;
        case kDirectionUp: cart.y = dy > kCellSize ? cart.y + dy - kCellSize : cellY * kCellSize; break;
        case kDirectionDown: cart.y = dy > kCellSize ? cart.y - (dy - kCellSize) : cellY * kCellSize; break;
        default: break;
        }
        turnCraft();
    }

    cameraX = cart.x + halfWidth - kCameraCentreX;
    cameraY = cart.y + halfHeight - kCameraCentreY;
}

void Level::turnCraft()
{
    PlayerCraft& cart = *craft;
    const BlockRecord* block = getBlockAt(cellX, cellY);

    // The first open side across the way the cart was going; with none, it
    // goes back the way it came.
    int32_t turned = kDirectionNone;
    switch (cart.moveDirection) {
    case kDirectionLeft:
    case kDirectionRight:
        turned = isOpen(block, kFlagExitUp)     ? kDirectionUp
                 : isOpen(block, kFlagExitDown) ? kDirectionDown
                                                : opposite(cart.moveDirection);
        break;
    case kDirectionUp:
    case kDirectionDown:
        turned = isOpen(block, kFlagExitLeft)    ? kDirectionLeft
                 : isOpen(block, kFlagExitRight) ? kDirectionRight
                                                 : opposite(cart.moveDirection);
        break;
    default:
        return;
    }

    // Running backwards, the front points away from the way out.
    if (backEnginesOn) {
        turned = opposite(turned);
    }
    cart.facing = turned;
    cart.facingAxis = axisOf(turned);
}

void Level::aimTurret()
{
    // Later rows win, so two keys together give the diagonal, and LEFT with
    // RIGHT counts as RIGHT.
    struct Aim {
        PlayAction first;
        PlayAction second;  // the first again: the first alone
        int32_t angle;
    };
    using A = PlayAction;
    static constexpr Aim kAims[] = {
        {A::AimLeft, A::AimLeft, 90},  {A::AimRight, A::AimRight, 270}, {A::AimUp, A::AimUp, 180},
        {A::AimDown, A::AimDown, 0},   {A::AimLeft, A::AimUp, 135},     {A::AimLeft, A::AimDown, 45},
        {A::AimRight, A::AimUp, 225},  {A::AimRight, A::AimDown, 315},
    };
    for (const Aim& aim : kAims) {
        if (playAction(aim.first) && playAction(aim.second)) {
            craft->turretAngle = aim.angle;
        }
    }
}
