// One complete frame: the map view, then domes, orbs, the cart, the monsters
// and the panel, each group over the one before, and the frame to the screen.
#include "level/level.h"

#include "entities/alien.h"
#include "entities/angles.h"
#include "entities/dome.h"
#include "entities/orb.h"
#include "entities/player_craft.h"
#include "entities/sprite.h"
#include "level/rotated_sprite.h"
#include "entities/in_play.h"
#include "base/counters.h"
#include "tilemap/view.h"
#include "tilemap/view_masked.h"

#include <allegro.h>

void Level::drawScene()
{
    drawMapView(backBuffer, &cameraX, &cameraY);

    for (Dome* dome : domes) {
        if (inPlay(dome)) {
            dome->drawHealth(backBuffer, cameraX, cameraY);
            draw_sprite(backBuffer, dome->sprite->frameBitmap, dome->x - cameraX, dome->y - cameraY);
        }
    }

    for (Orb* orb : orbs) {
        if (inPlay(orb)) {
            draw_sprite(backBuffer, orb->sprite->frameBitmap, orb->sprite->x - cameraX,
                        orb->sprite->y - cameraY);
        }
    }

    craft->renderImage();
    draw_sprite(backBuffer, craft->image, craft->x - cameraX, craft->y - cameraY);

    for (Alien* alien : aliens) {
        if (inPlay(alien)) {
            alien->drawHealth(backBuffer, cameraX, cameraY);
            // Aliens keep fractional positions; the screen position is
            // truncated toward zero.
            const int screenX = static_cast<int>(alien->x - cameraX);
            const int screenY = static_cast<int>(alien->y - cameraY);
            // Aliens enter beyond the map's edges, often left of the view.
            drawRotatedSprite(backBuffer, alien->sprite->frameBitmap, screenX, screenY,
                              itofix(degreesToLibraryUnits(alien->heading)));
        }
    }

    drawPanel();

    // Masked: wherever the frame is magenta the screen keeps its old picture.
    // The same as draw_sprite(screen, backBuffer, 0, 0), several pixels at
    // a time when the screen is a 32-bit memory bitmap.
    maskedCopy(backBuffer, screen, 0, 0, 0, 0, backBuffer->w, backBuffer->h);
}
