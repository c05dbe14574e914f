#include "base/pass_end.h"

#include <allegro.h>

#include <ctime>

#include "base/game_pad.h"
#include "base/pacer.h"
#include "base/scaled_screen.h"
#include "base/screenshot.h"

namespace {
constexpr int kWaitRestMs = 1;

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

void setMuteKeyHandler(MuteKeyHandler handler)
{
    muteKeyHandler = handler;
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
    pollGamePads();
    screenshotOnF12();
    muteOnM();
    passPacer().endPass();
    quitIfAsked();
}

void idleWhileWaiting()
{
    pollGamePads();
    screenshotOnF12();
    muteOnM();
    quitIfAsked();
    rest(kWaitRestMs);
}
