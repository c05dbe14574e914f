#include "base/scaled_screen.h"

#include <allegro.h>

#include <cstdlib>

#include "base/enlarge.h"
#include "base/fatal.h"

namespace {
constexpr int kPictureW = 640;
constexpr int kPictureH = 480;

BITMAP* libraryScreen = nullptr;  // the real screen while a memory picture stands in
BITMAP* picture = nullptr;        // the memory picture, kept while a mode is set
int placeX = 0;
int placeY = 0;
Enlarger enlarger;

void registerExitHandler()
{
    // Registered after the library's own handler, so it runs first: every
    // exit() leaves the real screen to allegro_exit.
    static bool registered = false;
    if (!registered) {
        std::atexit(restoreLibraryScreen);
        registered = true;
    }
}
}  // namespace

void placeScaledScreen(int width, int height)
{
    if (libraryScreen != nullptr) {
        return;
    }
    // Made before the swap: should it fail, the message goes to the real
    // screen as it stands.
    if (picture == nullptr) {
        picture = createBitmapOrExit(kPictureW, kPictureH);
        clear_bitmap(picture);
    }
    libraryScreen = screen;
    screen = picture;
    placeX = (libraryScreen->w - width) / 2;
    placeY = (libraryScreen->h - height) / 2;
    enlarger.prepare(kPictureW, kPictureH, width, height);
    clear_bitmap(libraryScreen);
    registerExitHandler();
}

void lendLibraryScreen()
{
    if (libraryScreen != nullptr) {
        screen = libraryScreen;
        libraryScreen = nullptr;
    }
}

void presentScreen()
{
    if (libraryScreen != nullptr) {
        enlarger.enlarge(picture, libraryScreen, placeX, placeY);
    }
}

void restoreLibraryScreen()
{
    lendLibraryScreen();
    if (picture != nullptr) {
        destroy_bitmap(picture);
        picture = nullptr;
    }
}
