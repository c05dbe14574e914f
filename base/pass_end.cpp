#include "base/pass_end.h"

#include <allegro.h>

#include <atomic>
#include <ctime>

#include "base/game_pad.h"
#include "base/pacer.h"
#include "base/scaled_screen.h"
#include "base/screenshot.h"

namespace {
constexpr int kWaitRestMs = 1;

std::atomic<bool> closeClicked{false};
QuitHandler quitHandler = nullptr;
bool screenshotKeyHeld = false;
bool screenshotsAllowed = false;
MuteKeyHandler muteKeyHandler = nullptr;
bool muteKeyHeld = false;

// True when the key has gone down since the last look, so a press counts
// once however long it is held.
bool newPress(int scancode, bool& held)
{
    const bool wasHeld = held;
    held = key[scancode] != 0;
    return held && !wasHeld;
}

void screenshotOnF12()
{
    if (newPress(KEY_F12, screenshotKeyHeld) && screenshotsAllowed) {
        saveScreenshot(screen, screenshotFolder(), std::time(nullptr));
    }
}

void muteOnM()
{
    if (newPress(KEY_M, muteKeyHeld) && muteKeyHandler != nullptr) {
        muteKeyHandler();
    }
}

void quitOnClose()
{
    if (closeClicked.load() && quitHandler != nullptr) {
        quitHandler();
    }
}
}  // namespace

void allowScreenshots(bool allowed)
{
    screenshotsAllowed = allowed;
}

void setMuteKeyHandler(MuteKeyHandler handler)
{
    muteKeyHandler = handler;
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
    pollGamePads();
    screenshotOnF12();
    muteOnM();
    quitOnClose();
    passPacer().endPass();
}

void idleWhileWaiting()
{
    pollGamePads();
    screenshotOnF12();
    muteOnM();
    quitOnClose();
    rest(kWaitRestMs);
}
