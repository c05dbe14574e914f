#include "base/pass_end.h"

#include <allegro.h>

#include <ctime>

#include "base/desktop_display.h"
#include "base/game_pad.h"
#include "base/input_thread.h"
#include "base/pacer.h"
#include "base/scaled_screen.h"
#include "base/screenshot.h"

namespace {
constexpr int kWaitRestMs = 1;
// A pause looks at its keys less often: quick enough for a person, and the
// game then uses next to nothing of the processor.
constexpr int kPausedRestMs = 20;

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
        // The library's shutdown waits for its input thread, so a pause's
        // hold on it ends first.
        releaseInputThread();
        quitHandler(status);
    }
}
// What every pass, wait and pause answers: the pads, F12, M, Alt+Enter.
void answerPassKeys()
{
    pollGamePads();
    screenshotOnF12();
    muteOnM();
    toggleOnAltEnter();
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
    releaseInputThread();
    presentScreen();
    answerPassKeys();
    passPacer().endPass();
    quitIfAsked();
}

void idleWhileWaiting()
{
    releaseInputThread();
    answerPassKeys();
    quitIfAsked();
    rest(kWaitRestMs);
}

void idleWhilePaused()
{
    // The input thread sleeps through a pause (base/input_thread.h); the
    // keys are read here instead, twenty milliseconds apart.
    readInputWhileHeld();
    answerPassKeys();
    quitIfAsked();
    holdInputThread();
    rest(kPausedRestMs);
}
