// The shell through a stand-in library and memory bitmaps: start-up, the frame-rate latch and the menus.
#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>
#include <unistd.h>

#include "base/colors.h"
#include "base/counters.h"
#include "level/level.h"
#include "shell/credits.h"
#include "shell/direct_play.h"
#include "shell/init.h"
#include "shell/menu.h"
#include "shell/user_maps.h"
#include "tests/support/headless.h"

namespace {

enum Step { kNoStep, kLibrary, kGfx, kTimer, kKeyboard, kMouse, kSound, kNoSound /* the silent one fails too */ };
using Lines = std::vector<std::string>;
Lines calls;  // what the stand-in saw, in order
Step failing = kNoStep;
struct ExitCalled {};

std::string str(long value) { return std::to_string(value); }
// Notes the call; -1 when it is the failing step, else the library's answer.
int call(const std::string& line, Step step = kNoStep, int success = 0)
{
    calls.push_back(line);
    return step != kNoStep && step == failing ? -1 : success;
}
std::string timer(TimerCallback f) { return f == tickTimer ? "tick " : f == secondTimer ? "second " : "other "; }

const SystemCalls kFake = {
    [] { return call("allegro_init", kLibrary); },
    [](int depth) { call("set_color_depth " + str(depth)); },
    [](int card, int w, int h, int, int) {
        if (card == GFX_TEXT) return call("leave graphics");
        const char* kind = card == GFX_AUTODETECT_FULLSCREEN ? "fullscreen " : card == GFX_AUTODETECT_WINDOWED ? "windowed " : "other ";
        return call(kind + str(w) + "x" + str(h), kGfx);
    },
    [] { return call("install_timer", kTimer); },
    [] { return call("install_keyboard", kKeyboard); },
    [] { return call("install_mouse", kMouse, 3); },  // the library answers with the button count
    [](int colour) { call(colour == colorMagenta ? "text_mode magenta" : "text_mode other"); },
    [](int digi, int midi) { call("reserve_voices " + str(digi) + " " + str(midi)); },
    [](int digi, int midi, const char* config) {
        const bool silent = digi == DIGI_NONE;
        call(std::string("install_sound ") + (silent ? "none" : digi == DIGI_AUTODETECT ? "autodetect" : "other") +
             (midi == MIDI_NONE ? " midi-none" : " midi-other") + (config ? " config" : ""));
        return failing == kNoSound || (failing == kSound && !silent) ? -1 : 0;
    },
    [](unsigned) { call("srand"); },
    [](TimerCallback callback, int ms) { return call("install_int " + timer(callback) + str(ms)); },
    [](TimerCallback callback, long speed) { return call("install_int_ex " + timer(callback) + str(speed)); },
    [](const char* text) { call(std::string("message ") + text); },
    [] { return "no driver here"; },
    [](int status) { call("exit " + str(status)); throw ExitCalled{}; },
};
const std::string kReport = "message REPORT:  no driver here\n";

// The calls from `first` on, after a start-up with one step failing.
Lines startFailing(Step step, const std::string& first, const DisplayRequest& display = {})
{
    calls.clear();
    failing = step;
    try {
        initSystem(kFake, display);
    } catch (const ExitCalled&) {
    }
    return {std::find(calls.begin(), calls.end(), first), calls.end()};
}

// The first sound failure is the one start-up goes on after.
TEST(StartUp, CallsEveryStepInOrderAndFallsBackToSilenceAfterReleasingTheVoices)
{
    const Lines expected = {
        "allegro_init", "set_color_depth 32", "fullscreen 640x480", "install_timer", "install_keyboard",
        "install_mouse", "text_mode magenta", "reserve_voices 32 -1", "install_sound autodetect midi-none",
        "message ERROR:  Failure to install sound.  Attempting to run without sound.\n", kReport,
        // The null driver has no voices; with 32 still reserved it would fail.
        "reserve_voices -1 -1", "install_sound none midi-none", "srand",
        // 20 ms in the library's timer clock of 1193181 ticks a second.
        "install_int second 1000", "install_int_ex tick 23860"};
    EXPECT_EQ(startFailing(kSound, "allegro_init"), expected);
}

// Nothing after the failing call but the way out. The picture stays 640 x 480; the mode is that times
// the scale, and one that cannot be set ends the game as the full-screen one does.
TEST(StartUp, EachFailureShowsItsMessageAndReportAndExitsWithZero)
{
    const char* const kNoMode = "ERROR:  Failure to init video mode!  Terminating program.\n";
    struct Case { Step step; DisplayRequest display; const char* failedCall; bool leavesGraphics; const char* message; };
    const Case cases[] = {
        // No graphics mode exists yet when the library itself fails.
        {kLibrary, {}, "allegro_init", false, "ERROR:  Failed to initialize allegro library.  Terminating program.\n"},
        {kGfx, {true, 2}, "windowed 1280x960", true, kNoMode},
        {kGfx, {false, 3}, "fullscreen 1920x1440", true, kNoMode},
        {kTimer, {}, "install_timer", true, "ERROR:  Failed to install timer.  Terminating program.\n"},
        {kKeyboard, {}, "install_keyboard", true, "ERROR:  Failed to install keyboard.  Terminating program.\n"},
        {kMouse, {}, "install_mouse", true, "ERROR:  Failed to install mouse.  Terminating program.\n"},
        {kNoSound, {}, "install_sound none midi-none", false, "ERROR:  Failed to install sound.  Terminating program.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failedCall);
        Lines expected = {c.failedCall};
        if (c.leavesGraphics) expected.push_back("leave graphics");
        expected.insert(expected.end(), {std::string("message ") + c.message, kReport, "exit 0"});
        EXPECT_EQ(startFailing(c.step, c.failedCall, c.display), expected);
    }
}

// --map FILE: a file that cannot be opened is refused before graphics, in one line (a missing one is
// tried on the real game); the back buffer that cannot be made ends the game with its message rather
// than a crash in play.
TEST(DirectPlay, AMapThatCannotBeOpenedIsRefusedAndABackBufferThatCannotBeMadeEndsWithItsMessage)
{
    std::string error;
    EXPECT_FALSE(checkMapFile(gameDir(), error));
    EXPECT_EQ(error, "map " + gameDir() + ": cannot be read (it is a folder)");
    startHeadlessGame();
    Level level;
    EXPECT_EXIT((dup2(STDERR_FILENO, STDOUT_FILENO), refuseNewBitmaps(), playMapDirectly(level, "test.fmp", "")),
                ::testing::ExitedWithCode(0), "^Cannot create picture:  640 x 480");
}

TEST(Counters, TickAddsOneAndTheSecondLatchesTheFramesAndRestartsTheCount)
{
    startHeadless();  // the latch rests the timer thread through the library
    tickCounter = 41;
    frameCounter = 57;
    tickTimer();
    secondTimer();
    EXPECT_EQ((std::vector<int>{tickCounter, framesPerSecond, frameCounter}), (std::vector<int>{42, 57, 0}));
}

Lines events;
Menu* currentMenu = nullptr;
int32_t mapMenuLeftOn = kEntryTestMap;

// Notes the highlight at each wait for a key's release: nothing may move before it. ESC is released
// as the map menu ends, on the entry a test chose.
void releaseKey(int code)
{
    const char* name = code == KEY_UP ? "UP" : code == KEY_DOWN ? "DOWN" : code == KEY_ENTER ? "ENTER" : "ESC";
    if (code == KEY_ESC) currentMenu->selection = mapMenuLeftOn;
    events.push_back(name + std::string(" up at ") + std::to_string(currentMenu->selection));
    key[code] = 0;
}

constexpr int kGlyphsX = 600;

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        startHeadless();
        std::fill(key, key + KEY_MAX, 0);
        events.clear();
        currentMenu = &menu;
        // Every glyph busy far right of the texts, so that none draws a random number.
        std::fill(std::begin(menu.rain.slots), std::end(menu.rain.slots), Glyph{true, 'x', kGlyphsX, 400});
        menu.overlay = create_bitmap(screen->w, screen->h);
        clear_to_color(menu.overlay, colorMagenta);
        backBuffer = create_bitmap(screen->w, screen->h);
    }
    void TearDown() override
    {
        destroy_bitmap(menu.overlay);
        destroy_bitmap(backBuffer);
    }
    void pass(void (*menuPass)(Menu&, const MenuHooks&), int code)
    {
        key[code] = 1;
        menuPass(menu, hooks);
    }
    // Pixels of the box in `colour` or, given a picture, pixels of it that differ from the overlay.
    int pixels(int x, int y, int w, int h, int colour, BITMAP* other = nullptr) const
    {
        int count = 0;
        for (int i = 0; i < w * h; ++i) {
            const int at = getpixel(menu.overlay, x + i % w, y + i / w);
            count += other ? at != getpixel(other, x + i % w, y + i / w) : at == colour;
        }
        return count;
    }

    Menu menu;
    MenuHooks hooks{{releaseKey, nullptr}, [](const char* map) { events.push_back(std::string("play ") + map); },
                    [] { events.push_back("credits"); },
                    [](const std::string& text) { events.push_back("message " + text); }};
};

// "Select a Map to Play" runs the map menu, which ends at once on the ESC still held from a level and
// waits for its release. That menu may come back on "Level1", index 1 like "Credits": no credits then.
TEST_F(MenuTest, EnterActsOnTheEntryItWasPressedOnAfterItsRelease)
{
    const struct { int32_t entry, comesBackOn; Lines expected; bool goesOn; } cases[] = {
        {kEntrySelectMap, kEntryTestMap, {"ENTER up at 0", "ESC up at 0"}, true},
        {kEntrySelectMap, kEntryLevel1, {"ENTER up at 0", "ESC up at 1"}, true},
        {kEntryCredits, kEntryCredits, {"ENTER up at 1", "credits"}, true},
        {kEntryQuit, kEntryQuit, {"ENTER up at 2"}, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected.back());
        events.clear();
        menu.selection = c.entry;
        key[KEY_ESC] = c.entry == kEntrySelectMap;
        mapMenuLeftOn = c.comesBackOn;
        pass(mainMenuPass, KEY_ENTER);
        EXPECT_EQ(events, c.expected);
        EXPECT_EQ(menu.selection, c.comesBackOn);
        EXPECT_EQ(mainMenuGoesOn(menu), c.goesOn);
    }
}

// UP and DOWN wrap round each menu's entries. In the map menu ENTER plays the highlighted map, and a held
// ENTER takes the choice again at once: maps are played without a wait.
TEST_F(MenuTest, UpAndDownWrapRoundTheEntriesAndEnterPlaysTheHighlightedMap)
{
    for (int code : {KEY_DOWN, KEY_DOWN, KEY_DOWN, KEY_UP}) pass(mainMenuPass, code);
    EXPECT_EQ(menu.selection, kEntryQuit);
    EXPECT_TRUE(mainMenuGoesOn(menu));
    menu.selection = kEntryTestMap;
    for (int code : {KEY_DOWN, KEY_DOWN, KEY_UP, KEY_ENTER}) pass(mapMenuPass, code);
    menu.selection = kEntryTestMap;
    mapMenuPass(menu, hooks);
    EXPECT_EQ(events, (Lines{"DOWN up at 0", "DOWN up at 1", "DOWN up at 2", "UP up at 0", "DOWN up at 0",
                             "DOWN up at 1", "UP up at 0", "play level1.fmp", "play test.fmp"}));
}

// The player's maps follow the game's two by file name, .fmp files only; one that does not load is
// reported and the menu goes on; a long list scrolls to keep the highlighted entry in view.
TEST_F(MenuTest, PlayersMapsFollowInOrderScrollAndOneThatDoesNotLoadIsReported)
{
    TempDir dir;
    const std::string good = gameDir() + "/level1.fmp";
    for (int i = 0; i < 30; ++i) std::filesystem::copy_file(good, dir.file("m" + std::to_string(10 + i) + ".fmp"));
    ASSERT_TRUE(writeFile(dir.file("b-bad.fmp"), "FORM"));
    std::filesystem::copy_file(good, dir.file("a-good.fmp"));
    std::filesystem::copy_file(good, dir.file("notes.txt"));
    menu.userMaps = listUserMaps(dir.path());
    ASSERT_EQ(menu.userMaps.size(), 32u);
    for (int entry : {3, 2}) {
        menu.selection = entry;
        pass(mapMenuPass, KEY_ENTER);
    }
    EXPECT_EQ(events,
              (Lines{"message Cannot find MAP file:  " + dir.file("b-bad.fmp"), "play " + dir.file("a-good.fmp")}));
    // The last of 34 entries: the list starts at entry 10, the highlight on the last of 24 rows.
    key[KEY_ENTER] = 0;
    menu.selection = 33;
    mapMenuPass(menu, hooks);
    const int lastRow = kMenuFirstEntryY + (kMapMenuRows - 1) * kMenuEntrySpacing;
    EXPECT_EQ(menu.firstShown, 10);
    EXPECT_GT(pixels(kMenuTextX, lastRow, 200, kMenuEntrySpacing, colorRed), 0);
}

// Each menu's title and entries as a player reads them, in the font, the highlighted entry red. The
// credits page then covers the menu it is opened from: its lines white on black and nothing else.
TEST_F(MenuTest, TheMenusAndTheCreditsPageWriteTheirTextsInTheFont)
{
    const struct { void (*menuPass)(Menu&, const MenuHooks&); Lines entries; } menus[] = {
        {mapMenuPass, {"Test Map", "Level1"}}, {mainMenuPass, {"Select a Map to Play", "Credits", "Quit"}}};
    BITMAP* want = create_bitmap(screen->w, screen->h);
    for (const auto& m : menus) {
        menu.selection = 1;
        m.menuPass(menu, hooks);
        clear_to_color(want, colorMagenta);
        textprintf(want, font, 250, 180, colorWhite, "Glimmerfall");
        textprintf(want, font, 250, 190, colorWhite, "  Alpha Stages");
        for (int i = 0; i < static_cast<int>(m.entries.size()); ++i) {
            textprintf(want, font, 250, 230 + 10 * i, i == 1 ? packColor(200, 0, 0) : colorWhite, "%s", m.entries[i].c_str());
        }
        EXPECT_EQ(pixels(0, 0, kGlyphsX, screen->h, 0, want), 0) << m.entries[0];
    }
    drawCreditsPage(menu.overlay);
    clear_to_color(want, colorBlack);
    for (int i = 0; i < kCreditsLineCount; ++i) textout_ex(want, font, kCreditsLines[i], 0, 10 * i, colorWhite, -1);
    EXPECT_EQ(pixels(0, 0, screen->w, screen->h, 0, want), 0) << "the credits page";
    destroy_bitmap(want);
}

// Each glyph rises a pixel and is drawn green where it is now; one at the top is drawn once above the
// edge and goes idle.
TEST_F(MenuTest, ActiveGlyphsRiseOnePixelAndLeaveAtTheTop)
{
    menu.rain.slots[3] = Glyph{true, 'A', 100, 200};
    menu.rain.slots[4] = Glyph{true, 'A', 40, 0};
    menu.rain.slots[5] = Glyph{true, 'A', 80, 1};  // reaches the top row and stays for one more pass
    std::srand(5);
    const int next = std::rand();
    std::srand(5);
    stepGlyphRain(menu.rain, menu.overlay, screen->w, screen->h);
    EXPECT_EQ(std::rand(), next);
    const Glyph* slots = menu.rain.slots;
    EXPECT_EQ((std::vector<int>{slots[3].active, slots[3].y, slots[4].active, slots[4].y, slots[5].active, slots[5].y}),
              (std::vector<int>{true, 199, false, -1, true, 0}));
    EXPECT_GT(pixels(100, 199, 8, 8, colorGreen), 0);
    EXPECT_EQ(pixels(100, 207, 8, 1, colorGreen), 0);
    EXPECT_GT(pixels(40, 0, 8, 7, colorGreen), 0);  // 'A' has ink in its lower rows
}

}  // namespace
