// Game pads through SDL's virtual controller, in play and in the menus.
#include <SDL.h>
#include <allegro.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/counters.h"
#include "base/game_pad.h"
#include "base/pass_end.h"
#include "base/play_keys.h"
#include "music/track.h"
#include "shell/controls.h"
#include "shell/menu.h"
#include "shell/options.h"
#include "tests/support/headless.h"
#include "tests/support/virtual_pad.h"

namespace {

// First, before any pad has started SDL: without a pad setting the game must
// run as it always did, with no SDL layer at all.
TEST(PadSettings, OnlyThePadKeyStartsSdlAndItsGameControllerLayerAlone)
{
    applyControlSettings(Settings{});
    EXPECT_EQ(SDL_WasInit(0), 0u);
    Settings padOn;
    padOn.pad = 1;
    padOn.settingsInUse = true;
    applyControlSettings(padOn);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING) & ~(SDL_INIT_GAMECONTROLLER | SDL_INIT_JOYSTICK | SDL_INIT_EVENTS), 0u);
    EXPECT_NE(SDL_WasInit(SDL_INIT_GAMECONTROLLER), 0u);
    setMuteKeyHandler(nullptr);
}

// The actions held, by their names, then the keys the pad stands in for.
std::string heldNow()
{
    std::string held;
    for (int action = 0; action < kPlayActionCount; ++action) {
        if (padAction(PlayAction(action))) held += std::string(playActionName(PlayAction(action))) + " ";
    }
    held += "|";
    for (int scancode : {KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT, KEY_ENTER, KEY_ESC, KEY_P}) {
        if (padKey(scancode)) held += " " + keyName(scancode);
    }
    return held + (padPageButtonHeld() ? " page" : "");
}

// Every input alone; then a second pad plugged in and pulled out while both are held: a pulled pad lets go.
TEST(GamePad, EachInputPressesItsActionAndItsMenuKeyARestingStickAimsNowhereAndAPulledPadLetsGo)
{
    using B = SDL_GameControllerButton;
    const struct { B button; const char* held; } buttons[] = {
        {SDL_CONTROLLER_BUTTON_A, "fire | ENTER page"}, {SDL_CONTROLLER_BUTTON_B, "| ESC page"},
        {SDL_CONTROLLER_BUTTON_X, "help |"}, {SDL_CONTROLLER_BUTTON_Y, "lock |"},
        {SDL_CONTROLLER_BUTTON_BACK, "leave |"}, {SDL_CONTROLLER_BUTTON_START, "| P page"},
        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, "forward |"}, {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, "backward |"},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, "aim_up | UP"}, {SDL_CONTROLLER_BUTTON_DPAD_LEFT, "aim_left | LEFT"},
    };
    // Triggers by how far they are pulled; the left stick by x and y.
    const struct { SDL_GameControllerAxis axis; int x, y; const char* held; } sticks[] = {
        {SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 20000, 0, "forward |"}, {SDL_CONTROLLER_AXIS_TRIGGERLEFT, 20000, 0, "backward |"},
        {SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 6000, 0, "|"}, {SDL_CONTROLLER_AXIS_LEFTX, 6000, 5000, "|"},  // barely moved
        {SDL_CONTROLLER_AXIS_LEFTX, 9000, 0, "aim_right | RIGHT"},
        {SDL_CONTROLLER_AXIS_LEFTX, -20000, -20000, "aim_left aim_up | UP LEFT"},
        {SDL_CONTROLLER_AXIS_LEFTX, 30000, 10000, "aim_right | RIGHT"},  // within 22.5 degrees of right
        {SDL_CONTROLLER_AXIS_LEFTX, 30000, 14000, "aim_right aim_down | DOWN RIGHT"},
    };
    VirtualPad pad;
    for (const auto& c : buttons) {
        pad.restAll();
        pad.button(c.button, true);
        EXPECT_EQ(heldNow(), c.held) << c.button;
    }
    for (const auto& c : sticks) {
        pad.restAll();
        pad.axis(c.axis, c.x);
        if (c.axis == SDL_CONTROLLER_AXIS_LEFTX) pad.axis(SDL_CONTROLLER_AXIS_LEFTY, c.y);
        EXPECT_EQ(heldNow(), c.held) << c.axis << " " << c.x << "," << c.y;
    }
    pad.restAll();
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    {
        VirtualPad second;
        EXPECT_EQ(openGamePadCount(), 2);
        second.button(SDL_CONTROLLER_BUTTON_Y, true);
        EXPECT_EQ(heldNow(), "lock fire | ENTER page");
    }
    EXPECT_EQ(heldNow(), "fire | ENTER page");
    pad.unplug();
    EXPECT_EQ(openGamePadCount(), 0);
    EXPECT_EQ(heldNow(), "|");
}

// What the player does next each time the game waits for a release.
VirtualPad* pad = nullptr;
std::vector<SDL_GameControllerButton> nextPresses;
std::vector<std::string> events;

void pressNext()
{
    pad->restAll();
    if (nextPresses.empty()) return;
    pad->button(nextPresses.front(), true);
    nextPresses.erase(nextPresses.begin());
}

void released(int scancode)
{
    events.push_back(keyName(scancode));
    pressNext();
}

// The level itself, its page included, is played from the pad in
// level_demo_test; here choosing the map is enough.
void playFromPad(const char* map)
{
    events.push_back(std::string("play ") + map);
    pressNext();
}

TEST(PadGame, MenusToAMapAndQuitFromThePadAlone)
{
    startHeadlessGame();
    ScopedChdir inGame{gameDir()};
    musicEnabled = false;
    VirtualPad virtualPad;
    pad = &virtualPad;
    using B = SDL_GameControllerButton;
    nextPresses = {B::SDL_CONTROLLER_BUTTON_DPAD_DOWN, B::SDL_CONTROLLER_BUTTON_A, B::SDL_CONTROLLER_BUTTON_B,
                   B::SDL_CONTROLLER_BUTTON_DPAD_DOWN, B::SDL_CONTROLLER_BUTTON_A};
    Menu menu;
    // The menu makes a back buffer of its own, as in the game.
    destroy_bitmap(backBuffer);
    backBuffer = nullptr;
    startMenu(menu);
    pad->button(SDL_CONTROLLER_BUTTON_B, true);
    EXPECT_TRUE(mainMenuGoesOn(menu)) << "B in the main menu does nothing";
    pad->restAll();
    pad->button(SDL_CONTROLLER_BUTTON_A, true);
    runMainMenu(menu, {{released, nullptr}, playFromPad, [] { events.push_back("credits"); }, nullptr});
    releaseMenu(menu);
    EXPECT_EQ(events, (std::vector<std::string>{"ENTER", "DOWN", "play level1.fmp", "ESC", "DOWN",
                                                "ENTER"}));
    EXPECT_TRUE(menu.quit);
}

}  // namespace
