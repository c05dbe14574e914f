#include "level/level.h"

// Scaffolding: replaced by the monsters' update.
void Level::updateAliens() {}
