#include "shell/menu.h"

#include <allegro.h>

#include "base/colors.h"
#include "base/counters.h"
#include "base/desktop_display.h"
#include "base/game_pad.h"
#include "base/fatal.h"
#include "base/pass_end.h"
#include "shell/menu_selection.h"
#include "tilemap/loader.h"
#include "tilemap/tilemap.h"

#include <algorithm>
#include <cstdio>
#include <vector>

const char* const kMainMenuTexts[kMainMenuEntries] = {"Select a Map to Play", "Credits", "Quit"};
const char* const kMapMenuTexts[kMapMenuEntries] = {"Test Map", "Level1"};
const char* const kMapFileNames[kMapMenuEntries] = {"test.fmp", "level1.fmp"};

namespace {

void clearFrame(BITMAP* overlay)
{
    rectfill(backBuffer, 0, 0, backBuffer->w, backBuffer->h, colorBlack);
    rectfill(overlay, 0, 0, overlay->w, overlay->h, colorMagenta);
}

void writeTexts(BITMAP* overlay, const char* const* entries, int32_t entryCount, int32_t selection)
{
    textprintf(overlay, font, kMenuTextX, kMenuTitleY, colorWhite, "%s", kMenuTitle);
    textprintf(overlay, font, kMenuTextX, kMenuSubtitleY, colorWhite, "%s", kMenuSubtitle);
    for (int32_t entry = 0; entry < entryCount; ++entry) {
        const int32_t colour = entry == selection ? colorRed : colorWhite;
        textprintf(overlay, font, kMenuTextX, kMenuFirstEntryY + entry * kMenuEntrySpacing, colour, "%s",
                   entries[entry]);
    }
}

void present(BITMAP* overlay)
{
    draw_sprite(backBuffer, overlay, 0, 0);
    // The frame was cleared to black and the overlay laid over it masked, so
    // it holds no mask colour: a plain copy shows the same as a masked one,
    // at a fraction of the cost.
    blit(backBuffer, screen, 0, 0, 0, 0, backBuffer->w, backBuffer->h);
    endPass();
}

// ENTER as both menus take it: the keyboard's (not the Enter of Alt+Enter)
// or a pad's A.
bool menuEnterHeld()
{
    return enterKeyForMenus() || padKey(KEY_ENTER);
}

// UP and DOWN (or a pad's d-pad or stick) move the highlight once per press:
// the picture holds still until the key is let go.
void moveSelection(Menu& menu, const MenuHooks& hooks, int32_t entryCount)
{
    if (keyOrPad(KEY_DOWN)) {
        hooks.waits.whileDown(KEY_DOWN);
        menu.selection = nextEntry(menu.selection, entryCount);
    }
    if (keyOrPad(KEY_UP)) {
        hooks.waits.whileDown(KEY_UP);
        menu.selection = previousEntry(menu.selection, entryCount);
    }
}

}  // namespace

void startMenu(Menu& menu)
{
    clearGlyphRain(menu.rain);
    levelMusicStarted = 0;
    menu.music = startMusicTrack(kMenuMusicFile);
    backBuffer = create_bitmap(screen->w, screen->h);
    menu.overlay = create_bitmap(screen->w, screen->h);
    menu.selection = kEntrySelectMap;
    menu.quit = false;
}

bool mainMenuGoesOn(const Menu& menu)
{
    return !key[KEY_ESC] && !menu.quit;
}

void runMainMenu(Menu& menu, const MenuHooks& hooks)
{
    while (mainMenuGoesOn(menu)) {
        mainMenuPass(menu, hooks);
    }
}

void mainMenuPass(Menu& menu, const MenuHooks& hooks)
{
    clearFrame(menu.overlay);
    // The screen is the area the glyphs appear in; in the game it is the
    // 640 x 480 mode.
    stepGlyphRain(menu.rain, menu.overlay, screen->w, screen->h);
    writeTexts(menu.overlay, kMainMenuTexts, kMainMenuEntries, menu.selection);

    moveSelection(menu, hooks, kMainMenuEntries);
    if (menuEnterHeld()) {
        hooks.waits.whileDown(KEY_ENTER);
        // The action belongs to the entry ENTER was pressed on: the map menu
        // may come back with "Level1" (index 1) highlighted, which must not
        // open the credits.
        const int32_t chosen = menu.selection;
        if (chosen == kEntrySelectMap) {
            runMapMenu(menu, hooks);
        } else if (chosen == kEntryCredits) {
            hooks.showCredits();
        }
        if (menu.selection == kEntryQuit) {
            menu.quit = true;
        }
    }
    present(menu.overlay);
}

void runMapMenu(Menu& menu, const MenuHooks& hooks)
{
    clear_bitmap(menu.overlay);
    // A pad's B goes back here; in the main menu it does nothing (Quit is an entry).
    while (!keyOrPad(KEY_ESC)) {
        mapMenuPass(menu, hooks);
    }
    hooks.waits.whileDown(KEY_ESC);
}

namespace {

// The part of a path after its last '/'.
const char* fileNameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return path.c_str() + (slash == std::string::npos ? 0 : slash + 1);
}

// A player's map is tried before the menu music stops: one that does not
// load is reported and the menu goes on.
void playUserMap(Menu& menu, const MenuHooks& hooks, const std::string& path)
{
    if (loadMap(path.c_str()) != 0) {
        char text[kMessageSize];
        std::snprintf(text, sizeof text, kMissingMapMessage, path.c_str());
        if (hooks.showMessage) {
            hooks.showMessage(text);
        }
        return;
    }
    freeMap();
    stopMusicTrack(menu.music);
    hooks.playMap(path.c_str());
}

}  // namespace

void mapMenuPass(Menu& menu, const MenuHooks& hooks)
{
    std::vector<const char*> texts(kMapMenuTexts, kMapMenuTexts + kMapMenuEntries);
    for (const std::string& path : menu.userMaps) {
        texts.push_back(fileNameOf(path));
    }
    const int32_t count = static_cast<int32_t>(texts.size());
    // The highlighted entry stays in view: the list scrolls when it leaves.
    menu.firstShown = std::clamp(menu.firstShown, std::max(0, menu.selection - kMapMenuRows + 1),
                                 std::max(0, std::min(menu.selection, count - kMapMenuRows)));
    clearFrame(menu.overlay);
    writeTexts(menu.overlay, texts.data() + menu.firstShown, std::min(kMapMenuRows, count - menu.firstShown),
               menu.selection - menu.firstShown);
    moveSelection(menu, hooks, count);
    // No wait for ENTER's release: the level starts at once.
    if (menuEnterHeld()) {
        if (menu.selection >= kMapMenuEntries && menu.selection < count) {
            playUserMap(menu, hooks, menu.userMaps[static_cast<std::size_t>(menu.selection - kMapMenuEntries)]);
        } else {
            stopMusicTrack(menu.music);
            hooks.playMap(kMapFileNames[menu.selection == kEntryTestMap ? kEntryTestMap : kEntryLevel1]);
        }
    }
    present(menu.overlay);
}

void releaseMenu(Menu& menu)
{
    destroy_bitmap(menu.overlay);
    menu.overlay = nullptr;
    destroy_bitmap(backBuffer);
    backBuffer = nullptr;
    releaseMusicTrack(menu.music);
}
