// Where the map loader gets its memory and its tile bitmaps. The game never
// changes these; tests point them elsewhere to make a request fail and check
// that the load gives up cleanly. Memory from them is released with
// std::free and destroy_bitmap as usual.
#pragma once

#include <cstddef>

struct BITMAP;

struct MapMemory {
    void* (*allocate)(std::size_t bytes);
    void* (*allocateZeroed)(std::size_t count, std::size_t size);
    void* (*reallocate)(void* block, std::size_t bytes);
    BITMAP* (*createBitmap)(int depth, int width, int height);
};

extern MapMemory mapMemory;
// What the loader uses unless a test says otherwise.
MapMemory defaultMapMemory();
