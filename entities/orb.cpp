#include "entities/orb.h"

// Scaffolding: replaced by the orbs.
Orb::Orb() : sprite(nullptr), angle(0), kind(0), range(0), startX(0), startY(0) {}
Orb::~Orb() = default;
void Orb::fire(int32_t, int32_t, int32_t) {}
void Orb::move() {}
