// rotate_sprite for positions left of or above the target: the library's
// inline version shifts the position left by 16 bits, which is undefined for
// a negative int; the same call with the position scaled by multiplication.
#pragma once

#include <allegro.h>

inline void drawRotatedSprite(BITMAP* target, BITMAP* sprite, int x, int y, fixed angle)
{
    constexpr fixed kOne = 0x10000;  // 1.0 in the library's 16.16 fixed point
    target->vtable->pivot_scaled_sprite_flip(target, sprite, x * kOne + (sprite->w * kOne) / 2,
                                             y * kOne + (sprite->h * kOne) / 2,
                                             sprite->w * (kOne / 2), sprite->h * (kOne / 2),
                                             angle, kOne, FALSE);
}
