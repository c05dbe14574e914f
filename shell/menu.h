// The main menu ("Select a Map to Play", "Credits", "Quit") over the rising
// green glyphs, and the map menu it opens ("Test Map", "Level1", then the
// player's own maps when the menu has been given any, scrolling). Both draw
// into menuOverlay, lay it over backBuffer and present that on the screen.
// One pass of each menu is its own call so that tests can drive them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "music/track.h"
#include "shell/glyph_rain.h"
#include "shell/key_wait.h"

struct BITMAP;

struct Menu {
    GlyphRain rain;
    BITMAP* overlay = nullptr;  // the menu's text on the mask colour
    int32_t selection = 0;      // highlighted entry, shared by both menus
    bool quit = false;
    MusicTrack music;
    std::vector<std::string> userMaps;  // paths listed after the game's maps
    int32_t firstShown = 0;             // the map menu's top entry once it scrolls
};

// What the menu needs from the rest of the game.
struct MenuHooks {
    KeyWaits waits;
    std::function<void(const char* mapFileName)> playMap;  // Level::run in the game
    std::function<void()> showCredits;
    // Shows a message and returns (allegro_message in the game); a player's
    // map that does not load is reported through it.
    std::function<void(const std::string& text)> showMessage;
};

// Layout shared by both menus.
constexpr int kMenuTextX = 250;
constexpr int kMenuTitleY = 180;
constexpr int kMenuSubtitleY = 190;
constexpr int kMenuFirstEntryY = 230;
constexpr int kMenuEntrySpacing = 10;
constexpr int32_t kMapMenuRows = 24;  // entries shown at once, down to the screen's foot
constexpr const char* kMenuTitle = "Glimmerfall";
constexpr const char* kMenuSubtitle = "  Alpha Stages";

enum MainMenuEntry : int32_t { kEntrySelectMap = 0, kEntryCredits = 1, kEntryQuit = 2, kMainMenuEntries = 3 };
enum MapMenuEntry : int32_t { kEntryTestMap = 0, kEntryLevel1 = 1, kMapMenuEntries = 2 };

extern const char* const kMainMenuTexts[kMainMenuEntries];
extern const char* const kMapMenuTexts[kMapMenuEntries];
extern const char* const kMapFileNames[kMapMenuEntries];
constexpr const char* kMenuMusicFile = "Mystery.ogg";

// Clears the glyphs, starts the menu music and makes backBuffer and the
// overlay (sizes are the screen's).
void startMenu(Menu& menu);

// Passes of the main menu until ESC is down at the start of one or the quit
// flag is set.
void runMainMenu(Menu& menu, const MenuHooks& hooks);
bool mainMenuGoesOn(const Menu& menu);
void mainMenuPass(Menu& menu, const MenuHooks& hooks);

// The map menu until ESC is seen, then waits for ESC's release.
void runMapMenu(Menu& menu, const MenuHooks& hooks);
void mapMenuPass(Menu& menu, const MenuHooks& hooks);

// Frees what startMenu made: the overlay, backBuffer, the menu music.
void releaseMenu(Menu& menu);
