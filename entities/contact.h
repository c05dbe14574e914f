// Contact between boxes as the game tests it, in floating point: a box
// touches another when one of its four corners lies strictly inside the
// other. Boxes that only share an edge, or line up exactly on one side, do
// not touch. Used for orbs against monsters and monsters against domes.
#pragma once

struct Box {
    float left;
    float top;
    float width;
    float height;
};

inline bool strictlyInside(float x, float y, const Box& box)
{
    return box.left < x && x < box.left + box.width && box.top < y && y < box.top + box.height;
}

inline bool anyCornerInside(const Box& mover, const Box& target)
{
    const float right = mover.left + mover.width;
    const float bottom = mover.top + mover.height;
    return strictlyInside(mover.left, mover.top, target) || strictlyInside(right, mover.top, target) ||
           strictlyInside(mover.left, bottom, target) || strictlyInside(right, bottom, target);
}
