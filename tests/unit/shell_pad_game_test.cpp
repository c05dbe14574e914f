// The menus from SDL's virtual pad alone: the main menu, the map menu, a map
// chosen, back through the menus to Quit; and without a settings source no
// SDL layer is started at all.
#include <SDL.h>
#include <allegro.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/counters.h"
#include "base/pass_end.h"
#include "base/play_keys.h"
#include "music/track.h"
#include "shell/controls.h"
#include "shell/menu.h"
#include "shell/options.h"
#include "tests/support/headless.h"
#include "tests/support/virtual_pad.h"

namespace {

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

TEST(PadGame, MenusToGameOverAndQuitFromThePadAlone)
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
