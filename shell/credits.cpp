#include "shell/credits.h"

#include <allegro.h>

#include "base/colors.h"
#include "base/scaled_screen.h"
#include "shell/key_wait.h"

const char* const kCreditsLines[kCreditsLineCount] = {
    "-------------------Credits------------------",
    "Glimmerfall",
    "Made by the Glimmerfall developers",
    "",
    "Built on:",
    "  Allegro 4 - graphics, input, timers, sound",
    "  libvorbis - Ogg Vorbis music",
    "",
    "Press ESC to return to the menu",
};

void drawCreditsPage(BITMAP* target)
{
    // Text goes on a page of the mask colour first so that only the glyphs
    // reach the target, white on black.
    BITMAP* page = create_bitmap(target->w, target->h);
    rectfill(page, 0, 0, page->w, page->h, colorMagenta);
    clear_bitmap(target);
    for (int line = 0; line < kCreditsLineCount; ++line) {
        textprintf(page, font, 0, line * kCreditsLineSpacing, colorWhite, "%s", kCreditsLines[line]);
    }
    draw_sprite(target, page, 0, 0);
    destroy_bitmap(page);
}

void showCredits(const KeyWaits& waits)
{
    drawCreditsPage(screen);
    presentScreen();
    // Both edges of ESC, so the press that closes the page is over before
    // the menu looks at ESC again.
    waits.whileUp(KEY_ESC);
    waits.whileDown(KEY_ESC);
}
