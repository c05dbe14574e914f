#include "base/scaled_screen.h"

#include <allegro.h>

#include "base/fatal.h"

#include <cstdlib>

namespace {
BITMAP* libraryScreen = nullptr;  // the real screen while a memory picture stands in
int scale = kMinScale;
}  // namespace

void beginScaledScreen(int newScale)
{
    if (newScale <= kMinScale || libraryScreen != nullptr) {
        return;
    }
    // Made before the swap: should it fail, the message goes to the real
    // screen as it stands.
    BITMAP* picture = createBitmapOrExit(screen->w / newScale, screen->h / newScale);
    scale = newScale;
    libraryScreen = screen;
    screen = picture;
    clear_bitmap(screen);
    // Registered after the library's own handler, so it runs first: every
    // exit() leaves the real screen to allegro_exit.
    static bool registered = false;
    if (!registered) {
        std::atexit(restoreLibraryScreen);
        registered = true;
    }
}

int screenScale()
{
    return scale;
}

void presentScreen()
{
    if (libraryScreen != nullptr) {
        enlargeInto(screen, libraryScreen, scale);
    }
}

void restoreLibraryScreen()
{
    if (libraryScreen == nullptr) {
        return;
    }
    destroy_bitmap(screen);
    screen = libraryScreen;
    libraryScreen = nullptr;
    scale = kMinScale;
}

void enlargeInto(BITMAP* from, BITMAP* to, int factor)
{
    // The library's stretch steps through the source in exact fractions of
    // a whole factor: nearest neighbour, no smoothing.
    stretch_blit(from, to, 0, 0, from->w, from->h, 0, 0, from->w * factor, from->h * factor);
}
