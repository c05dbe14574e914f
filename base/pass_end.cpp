#include "base/pass_end.h"

#include <allegro.h>

#include <ctime>

#include "base/pacer.h"
#include "base/scaled_screen.h"
#include "base/screenshot.h"

namespace {
constexpr int kWaitRestMs = 1;

QuitHandler quitHandler = nullptr;
bool screenshotKeyHeld = false;
bool screenshotsAllowed = false;

// One shot per press of F12, however long it is held.
void screenshotOnF12()
{
    if (!screenshotsAllowed || !key[KEY_F12]) {
        screenshotKeyHeld = false;
        return;
    }
    if (screenshotKeyHeld) {
        return;
    }
    screenshotKeyHeld = true;
    saveScreenshot(screen, screenshotFolder(), std::time(nullptr));
}

void quitIfAsked()
{
    const int status = requestedQuitStatus();
    if (status != kNoQuitRequested && quitHandler != nullptr) {
        quitHandler(status);
    }
}
}  // namespace

void allowScreenshots(bool allowed)
{
    screenshotsAllowed = allowed;
}

void setQuitHandler(QuitHandler quit)
{
    quitHandler = quit;
}

Pacer& passPacer()
{
    static Pacer pacer;
    return pacer;
}

void endPass()
{
    presentScreen();
    screenshotOnF12();
    passPacer().endPass();
    quitIfAsked();
}

void idleWhileWaiting()
{
    screenshotOnF12();
    quitIfAsked();
    rest(kWaitRestMs);
}
