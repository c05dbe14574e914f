#include "entities/sprite.h"
