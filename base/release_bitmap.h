// Destroys a bitmap the caller owns, if there is one, and empties the handle,
// so that a second release (or a later destructor) does nothing.
#pragma once

#include <allegro.h>

inline void releaseBitmap(BITMAP*& bitmap)
{
    if (bitmap) {
        destroy_bitmap(bitmap);
        bitmap = nullptr;
    }
}
