#include "entities/alien.h"

// Scaffolding: replaced by the monsters.
Alien::Alien()
    : sprite(nullptr), kind(0), heading(0), x(0), y(0), spawnTime(0), lastAttackTick(0),
      attackInterval(0), damage(0), health(1), maxHealth(0)
{
}
Alien::~Alien() = default;
void Alien::spawn(Dome* const*) {}
void Alien::placeAtEdge() {}
void Alien::chooseTarget(Dome* const*) {}
void Alien::update(Dome* const*) {}
void Alien::attack(Dome*) {}
void Alien::hit() {}
void Alien::drawHealth(BITMAP*, int32_t, int32_t) {}
float Alien::distance(float, float, float, float) { return 0; }
