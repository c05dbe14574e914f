#include "base/fatal.h"

#include <allegro.h>

#include "base/scaled_screen.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {
int fatalStatus = 0;
}  // namespace

void setFatalStatus(int status)
{
    fatalStatus = status;
}

void leaveWithMessage(const char* format, ...)
{
    char message[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);

    restoreLibraryScreen();
    set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
    allegro_message("%s", message);
    std::exit(fatalStatus);
}

BITMAP* createBitmapOrExit(int w, int h)
{
    BITMAP* picture = create_bitmap(w, h);
    if (picture == nullptr) {
        leaveWithMessage(kPictureNotMadeMessage, w, h);
    }
    return picture;
}
