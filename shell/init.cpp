#include "shell/init.h"

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "base/colors.h"
#include "base/counters.h"
#include "base/desktop_display.h"

namespace {

constexpr int kLeaveDriverAlone = -1;  // reserve_voices: the driver decides
constexpr int kReleaseVoices = -1;

int realInitLibrary() { return allegro_init(); }
int realInstallSound(int digi, int midi, const char* configPath) { return install_sound(digi, midi, configPath); }
void realSeedRandom(unsigned seed) { std::srand(seed); }
int realInstallInt(TimerCallback callback, int milliseconds) { return install_int(callback, milliseconds); }
int realInstallIntEx(TimerCallback callback, long speed) { return install_int_ex(callback, speed); }
void realShowMessage(const char* text) { allegro_message("%s", text); }
const char* realErrorText() { return allegro_error; }
void realExitProcess(int status) { std::exit(status); }
void realSetTextMode(int colour) { text_mode(colour); }

const SystemCalls kLibraryCalls = {
    realInitLibrary, set_color_depth, set_gfx_mode, install_timer, install_keyboard, install_mouse,
    realSetTextMode, reserve_voices, realInstallSound, realSeedRandom, realInstallInt, realInstallIntEx,
    realShowMessage, realErrorText, realExitProcess,
};

enum class Graphics { Keep, Leave };

// Shows the message and the library's reason. The fatal paths then end the
// process; nothing is freed beyond what exit and the library's own atexit
// handler do.
void report(const SystemCalls& calls, const char* message, Graphics graphics)
{
    if (graphics == Graphics::Leave) {
        calls.setGfxMode(GFX_TEXT, 0, 0, 0, 0);
    }
    calls.showMessage(message);
    char reportText[ALLEGRO_ERROR_SIZE + 16];
    std::snprintf(reportText, sizeof reportText, kReportFormat, calls.errorText());
    calls.showMessage(reportText);
}

void terminate(const SystemCalls& calls, const char* message, Graphics graphics)
{
    report(calls, message, graphics);
    calls.exitProcess(0);
}

}  // namespace

const SystemCalls& librarySystemCalls()
{
    return kLibraryCalls;
}

void initSystem(const DisplayRequest& display)
{
    initSystem(kLibraryCalls, display);
}

void initSystem(const SystemCalls& calls, const DisplayRequest& display)
{
    // exitProcess does not return in the game; a test's stand-in may, and
    // start-up must then stop just the same.
    if (calls.initLibrary() != 0) {
        return terminate(calls, kLibraryFailedMessage, Graphics::Keep);
    }
    calls.setColorDepth(kColorDepth);
    const int card = display.windowed ? GFX_AUTODETECT_WINDOWED : GFX_AUTODETECT_FULLSCREEN;
    const int modeSet = display.desktop
                            ? openDesktopDisplay(display.windowed, display.scale)
                            : calls.setGfxMode(card, kScreenWidth * display.scale, kScreenHeight * display.scale, 0, 0);
    if (modeSet < 0) {
        return terminate(calls, kVideoFailedMessage, Graphics::Leave);
    }
    if (calls.installTimer() != 0) {
        return terminate(calls, kTimerFailedMessage, Graphics::Leave);
    }
    if (calls.installKeyboard() != 0) {
        return terminate(calls, kKeyboardFailedMessage, Graphics::Leave);
    }
    if (calls.installMouse() < 0) {
        return terminate(calls, kMouseFailedMessage, Graphics::Leave);
    }
    calls.setTextMode(colorMagenta);
    calls.reserveVoices(kDigitalVoices, kLeaveDriverAlone);
    if (calls.installSound(DIGI_AUTODETECT, MIDI_NONE, nullptr) != 0) {
        report(calls, kSoundFallbackMessage, Graphics::Keep);
        // The null driver has no voices: with 32 still reserved it refuses
        // to start, and the game would end instead of playing silently.
        calls.reserveVoices(kReleaseVoices, kReleaseVoices);
        if (calls.installSound(DIGI_NONE, MIDI_NONE, nullptr) != 0) {
            return terminate(calls, kSoundFailedMessage, Graphics::Keep);
        }
    }
    calls.seedRandom(static_cast<unsigned>(std::time(nullptr)));

    LOCK_VARIABLE(tickCounter);
    LOCK_VARIABLE(frameCounter);
    LOCK_VARIABLE(framesPerSecond);
    LOCK_FUNCTION(tickTimer);
    LOCK_FUNCTION(secondTimer);
    calls.installInt(secondTimer, kSecondPeriodMs);
    calls.installIntEx(tickTimer, MSEC_TO_TIMER(kTickPeriodMs));
}
