#include "base/pass_end.h"

#include <allegro.h>

#include <atomic>
#include <ctime>

#include "base/desktop_display.h"
#include "base/pacer.h"
#include "base/scaled_screen.h"
#include "base/screenshot.h"

namespace {
constexpr int kWaitRestMs = 1;
// A pause looks at its keys less often: quick enough for a person, and the
// game then uses next to nothing of the processor.
constexpr int kPausedRestMs = 20;

std::atomic<bool> closeClicked{false};
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

void quitOnClose()
{
    if (closeClicked.load() && quitHandler != nullptr) {
        quitHandler();
    }
}
// What every pass and wait answers: F12, Alt+Enter, the close button.
void answerPassKeys()
{
    screenshotOnF12();
    toggleOnAltEnter();
    quitOnClose();
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

void requestClose()
{
    closeClicked.store(true);
}
END_OF_FUNCTION(requestClose)

bool closeRequested()
{
    return closeClicked.load();
}

Pacer& passPacer()
{
    static Pacer pacer;
    return pacer;
}

void endPass()
{
    presentScreen();
    answerPassKeys();
    passPacer().endPass();
}

void idleWhileWaiting()
{
    answerPassKeys();
    rest(kWaitRestMs);
}

void idleWhilePaused()
{
    answerPassKeys();
    rest(kPausedRestMs);
}
