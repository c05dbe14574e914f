// Start-up: the order of the library calls, the message and report of each
// failure, which failures leave the graphics mode first, and the exit status.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "shell/colors.h"
#include "shell/counters.h"
#include "shell/init.h"

namespace {

// Everything the stand-in library saw, in order, as readable lines.
std::vector<std::string> calls;

enum Step { kNone, kLibrary, kGfx, kTimer, kKeyboard, kMouse, kSound, kSilentSound };
Step failingStep = kNone;
bool silentSoundFails = false;
constexpr const char* kLibraryReason = "no driver for this test";

struct ExitCalled {
    int status;
};

void record(const std::string& line) { calls.push_back(line); }

int fakeInitLibrary()
{
    record("allegro_init");
    return failingStep == kLibrary ? -1 : 0;
}
void fakeSetColorDepth(int depth) { record("set_color_depth " + std::to_string(depth)); }
int fakeSetGfxMode(int card, int w, int h, int, int)
{
    if (card == GFX_TEXT) {
        record("leave graphics");
        return 0;
    }
    record("set_gfx_mode " + std::string(card == GFX_AUTODETECT_FULLSCREEN ? "fullscreen " : "other ") +
           std::to_string(w) + "x" + std::to_string(h));
    return failingStep == kGfx ? -1 : 0;
}
int fakeInstallTimer()
{
    record("install_timer");
    return failingStep == kTimer ? -1 : 0;
}
int fakeInstallKeyboard()
{
    record("install_keyboard");
    return failingStep == kKeyboard ? -1 : 0;
}
int fakeInstallMouse()
{
    record("install_mouse");
    // The library answers with the number of buttons when it works.
    return failingStep == kMouse ? -1 : 3;
}
void fakeSetTextMode(int colour) { record(colour == colorMagenta ? "text_mode magenta" : "text_mode other"); }
void fakeReserveVoices(int digi, int midi)
{
    record("reserve_voices " + std::to_string(digi) + " " + std::to_string(midi));
}
int fakeInstallSound(int digi, int midi, const char* configPath)
{
    const bool silent = digi == DIGI_NONE;
    record(std::string("install_sound ") + (silent ? "none" : digi == DIGI_AUTODETECT ? "autodetect" : "other") +
           (midi == MIDI_NONE ? " midi-none" : " midi-other") + (configPath ? " config" : ""));
    if (silent) {
        return silentSoundFails ? -1 : 0;
    }
    return failingStep == kSound ? -1 : 0;
}
void fakeSeedRandom(unsigned) { record("srand"); }
int fakeInstallInt(TimerCallback callback, int milliseconds)
{
    record(std::string("install_int ") + (callback == secondTimer ? "secondTimer " : "other ") +
           std::to_string(milliseconds));
    return 0;
}
int fakeInstallIntEx(TimerCallback callback, long speed)
{
    record(std::string("install_int_ex ") + (callback == tickTimer ? "tickTimer " : "other ") +
           std::to_string(speed));
    return 0;
}
void fakeShowMessage(const char* text) { record(std::string("message ") + text); }
const char* fakeErrorText() { return kLibraryReason; }
void fakeExit(int status)
{
    record("exit " + std::to_string(status));
    throw ExitCalled{status};
}

const SystemCalls kFakeCalls = {
    fakeInitLibrary, fakeSetColorDepth, fakeSetGfxMode, fakeInstallTimer, fakeInstallKeyboard, fakeInstallMouse,
    fakeSetTextMode, fakeReserveVoices, fakeInstallSound, fakeSeedRandom, fakeInstallInt, fakeInstallIntEx,
    fakeShowMessage, fakeErrorText, fakeExit,
};

const std::string kReport = std::string("message REPORT:  ") + kLibraryReason + "\n";

// Runs the start-up with one step failing; returns the exit status, or -1
// when start-up returned normally.
int startWith(Step failing, bool silentFails = false)
{
    calls.clear();
    failingStep = failing;
    silentSoundFails = silentFails;
    try {
        initSystem(kFakeCalls);
    } catch (const ExitCalled& exitCall) {
        return exitCall.status;
    }
    return -1;
}

std::vector<std::string> after(const std::string& first)
{
    for (size_t i = 0; i < calls.size(); ++i) {
        if (calls[i] == first) {
            return std::vector<std::string>(calls.begin() + static_cast<long>(i), calls.end());
        }
    }
    return {};
}

TEST(StartUp, CallsEveryStepInOrderWhenAllSucceed)
{
    EXPECT_EQ(startWith(kNone), -1);
    const std::vector<std::string> expected = {
        "allegro_init",
        "set_color_depth 32",
        "set_gfx_mode fullscreen 640x480",
        "install_timer",
        "install_keyboard",
        "install_mouse",
        "text_mode magenta",
        "reserve_voices 32 -1",
        "install_sound autodetect midi-none",
        "srand",
        "install_int secondTimer 1000",
        // 20 ms in the library's timer clock of 1193181 ticks a second.
        "install_int_ex tickTimer 23860",
    };
    EXPECT_EQ(calls, expected);
}

struct FatalCase {
    Step step;
    const char* failingCall;
    const char* message;
    bool leavesGraphics;
};

class FatalStartUp : public ::testing::TestWithParam<FatalCase> {};

TEST_P(FatalStartUp, ShowsMessageAndReportThenExitsWithZero)
{
    const FatalCase& c = GetParam();
    EXPECT_EQ(startWith(c.step), 0);

    std::vector<std::string> expected = {c.failingCall};
    if (c.leavesGraphics) {
        expected.push_back("leave graphics");
    }
    expected.push_back(std::string("message ") + c.message);
    expected.push_back(kReport);
    expected.push_back("exit 0");
    // Nothing after the failing call but the way out: no later step runs.
    EXPECT_EQ(after(c.failingCall), expected);
}

INSTANTIATE_TEST_SUITE_P(
    EachFatalStep, FatalStartUp,
    ::testing::Values(
        // No graphics mode exists yet when the library itself fails.
        FatalCase{kLibrary, "allegro_init",
                  "ERROR:  Failed to initialize allegro library.  Terminating program.\n", false},
        FatalCase{kGfx, "set_gfx_mode fullscreen 640x480",
                  "ERROR:  Failure to init video mode!  Terminating program.\n", true},
        FatalCase{kTimer, "install_timer", "ERROR:  Failed to install timer.  Terminating program.\n", true},
        FatalCase{kKeyboard, "install_keyboard", "ERROR:  Failed to install keyboard.  Terminating program.\n",
                  true},
        FatalCase{kMouse, "install_mouse", "ERROR:  Failed to install mouse.  Terminating program.\n", true}));

TEST(StartUp, FirstSoundFailureFallsBackToSilenceAfterReleasingTheVoices)
{
    EXPECT_EQ(startWith(kSound), -1);
    const std::vector<std::string> expected = {
        "install_sound autodetect midi-none",
        "message ERROR:  Failure to install sound.  Attempting to run without sound.\n",
        kReport,
        // The null driver has no voices; with 32 still reserved it would fail.
        "reserve_voices -1 -1",
        "install_sound none midi-none",
        "srand",
        "install_int secondTimer 1000",
        "install_int_ex tickTimer 23860",
    };
    EXPECT_EQ(after("install_sound autodetect midi-none"), expected);
}

TEST(StartUp, SecondSoundFailureEndsWithoutLeavingGraphics)
{
    EXPECT_EQ(startWith(kSound, true), 0);
    const std::vector<std::string> expected = {
        "install_sound none midi-none",
        "message ERROR:  Failed to install sound.  Terminating program.\n",
        kReport,
        "exit 0",
    };
    EXPECT_EQ(after("install_sound none midi-none"), expected);
    for (const std::string& call : calls) {
        EXPECT_NE(call, "leave graphics");
    }
}

// A library reason longer than any the library writes is cut, not overrun.
const char* longReason()
{
    static const std::string reason(4 * ALLEGRO_ERROR_SIZE, 'x');
    return reason.c_str();
}

TEST(StartUp, ReportOfAnOverlongReasonIsCutSafely)
{
    SystemCalls withLongReason = kFakeCalls;
    withLongReason.errorText = longReason;
    calls.clear();
    failingStep = kTimer;
    EXPECT_THROW(initSystem(withLongReason), ExitCalled);
    const std::string& report = calls[calls.size() - 2];
    EXPECT_EQ(report.rfind("message REPORT:  xxx", 0), 0u);
    EXPECT_LT(report.size(), 2u * ALLEGRO_ERROR_SIZE);
}

// The real table ends the process itself, with status 0, even on failure.
int failingInit() { return -1; }
void printMessage(const char* text) { std::fputs(text, stderr); }

TEST(StartUpDeathTest, RealExitEndsTheProcessWithStatusZero)
{
    SystemCalls calls = librarySystemCalls();
    calls.initLibrary = failingInit;
    calls.showMessage = printMessage;
    EXPECT_EXIT(initSystem(calls), ::testing::ExitedWithCode(0),
                "ERROR:  Failed to initialize allegro library.  Terminating program.\nREPORT:  ");
}

// With no display to open, the library's X11 system cannot start (from a
// text console its console system may start, and then the video mode
// fails): the real start-up must say which and still end with status 0.
TEST(StartUpDeathTest, NoDisplayEndsTheStartUpWithStatusZero)
{
    EXPECT_EXIT(
        {
            unsetenv("DISPLAY");
            SystemCalls calls = librarySystemCalls();
            calls.showMessage = printMessage;
            initSystem(calls);
        },
        ::testing::ExitedWithCode(0),
        "ERROR:  (Failed to initialize allegro library\\.|Failure to init video mode!)  Terminating program.\n"
        "REPORT:  ");
}

}  // namespace
