// Start-up of the library and its drivers in a fixed order. Any failure but
// the first sound one shows its message and the library's own error text and
// ends the process with status 0. The library calls go through a table of
// function pointers so that tests can make each step fail and watch what the
// start-up does about it.
#pragma once

using TimerCallback = void (*)();

struct SystemCalls {
    int (*initLibrary)();                                   // allegro_init
    void (*setColorDepth)(int depth);
    int (*setGfxMode)(int card, int w, int h, int virtualW, int virtualH);
    int (*installTimer)();
    int (*installKeyboard)();
    int (*installMouse)();
    void (*setTextMode)(int colour);
    void (*reserveVoices)(int digiVoices, int midiVoices);
    int (*installSound)(int digi, int midi, const char* configPath);
    void (*seedRandom)(unsigned seed);
    int (*installInt)(TimerCallback callback, int milliseconds);
    int (*installIntEx)(TimerCallback callback, long speed);
    void (*showMessage)(const char* text);                  // allegro_message
    const char* (*errorText)();                             // allegro_error
    void (*exitProcess)(int status);                        // never returns for real
};

// The real library and runtime functions.
const SystemCalls& librarySystemCalls();

// The display asked for: full screen or a window, and the enlargement of
// the 640 x 480 picture. Classic: the mode is scale (1 to 4) times as large.
// On the desktop (whenever the player's settings are in use): full screen
// is the desktop's size, and scale may also be kScaleAuto or kScaleFit.
struct DisplayRequest {
    bool windowed = false;
    int scale = 1;
    bool desktop = false;
};

// Starts everything the game needs; returns only when the game can go on.
void initSystem(const DisplayRequest& display = {});
void initSystem(const SystemCalls& calls, const DisplayRequest& display = {});

// The start-up messages, each shown with the library's message call.
constexpr const char* kLibraryFailedMessage =
    "ERROR:  Failed to initialize allegro library.  Terminating program.\n";
constexpr const char* kVideoFailedMessage =
    "ERROR:  Failure to init video mode!  Terminating program.\n";
constexpr const char* kTimerFailedMessage =
    "ERROR:  Failed to install timer.  Terminating program.\n";
constexpr const char* kKeyboardFailedMessage =
    "ERROR:  Failed to install keyboard.  Terminating program.\n";
constexpr const char* kMouseFailedMessage =
    "ERROR:  Failed to install mouse.  Terminating program.\n";
constexpr const char* kSoundFallbackMessage =
    "ERROR:  Failure to install sound.  Attempting to run without sound.\n";
constexpr const char* kSoundFailedMessage =
    "ERROR:  Failed to install sound.  Terminating program.\n";
// Follows every message above with the library's error text.
constexpr const char* kReportFormat = "REPORT:  %s\n";

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kColorDepth = 32;
constexpr int kDigitalVoices = 32;
