#include "tilemap/map_memory.h"

#include <allegro.h>

#include <cstdlib>

MapMemory defaultMapMemory()
{
    return MapMemory{std::malloc, std::calloc, std::realloc, create_bitmap_ex};
}

MapMemory mapMemory = defaultMapMemory();
