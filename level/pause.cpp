#include "level/pause.h"

#include <allegro.h>

#include <cstdint>

#include "base/colors.h"
#include "base/counters.h"
#include "base/desktop_display.h"
#include "base/fatal.h"
#include "base/game_pad.h"
#include "base/pass_end.h"
#include "base/scaled_screen.h"
#include "music/music_pause.h"

namespace {

constexpr const char* kPausedText = "Paused";
constexpr int kBoxMargin = 8;

bool byKeyEnabled = false;
bool byFocusEnabled = false;
bool pauseKeyHeld = false;

// The part of the picture under the "Paused" box, put back on resuming:
// the next frame's masked copy keeps the screen wherever the frame is clear.
BITMAP* underBox = nullptr;
int boxX = 0;
int boxY = 0;

void showPausedText(bool paused)
{
    if (paused) {
        const int w = text_length(font, kPausedText) + 2 * kBoxMargin;
        const int h = text_height(font) + 2 * kBoxMargin;
        boxX = (screen->w - w) / 2;
        boxY = (screen->h - h) / 2;
        underBox = createBitmapOrExit(w, h);
        blit(screen, underBox, boxX, boxY, 0, 0, w, h);
        rectfill(screen, boxX, boxY, boxX + w - 1, boxY + h - 1, colorBlack);
        textout_centre_ex(screen, font, kPausedText, screen->w / 2, boxY + kBoxMargin, colorWhite, -1);
    } else if (underBox != nullptr) {
        blit(underBox, screen, 0, 0, boxX, boxY, underBox->w, underBox->h);
        destroy_bitmap(underBox);
        underBox = nullptr;
    }
    presentScreen();
}

void releaseAllKeys()
{
    for (int scancode = 0; scancode < KEY_MAX; ++scancode) {
        key[scancode] = 0;
    }
    clear_keybuf();
}

void musicPaused(bool paused)
{
    if (paused) {
        pauseMusic();
    } else {
        resumeMusic();
    }
}

const PauseHooks kLiveHooks = {pauseKeyPressed, windowHasFocus, releaseAllKeys, showPausedText, musicPaused,
                               idleWhilePaused};

}  // namespace

void enablePause(bool pauseKey, bool whenUnfocused)
{
    byKeyEnabled = pauseKey;
    byFocusEnabled = whenUnfocused;
}

bool pauseKeyPressed()
{
    // A pad's Start stands in for P.
    const bool held = keyOrPad(KEY_P);
    const bool pressed = held && !pauseKeyHeld;
    pauseKeyHeld = held;
    return pressed;
}

const PauseHooks& livePauseHooks()
{
    return kLiveHooks;
}

void holdWhilePaused(const PauseHooks& hooks)
{
    const bool byKey = byKeyEnabled && hooks.pauseKey();
    bool unfocused = byFocusEnabled && !hooks.focused();
    if (!byKey && !unfocused) {
        return;
    }
    const int32_t heldTick = tickCounter.load();
    hooks.musicPaused(true);
    hooks.showPaused(true);
    // A pause the focus began ends with the focus back; P ends any pause.
    const bool endsWithFocus = unfocused;
    bool keysReleased = false;
    for (;;) {
        unfocused = byFocusEnabled && !hooks.focused();
        if (unfocused && !keysReleased) {
            hooks.releaseKeys();
            keysReleased = true;
        }
        if ((byKeyEnabled && hooks.pauseKey()) || (endsWithFocus && !unfocused)) {
            break;
        }
        hooks.idle();
    }
    hooks.showPaused(false);
    hooks.musicPaused(false);
    // The timer went on counting; the game's clock takes up where it stood.
    tickCounter.store(heldTick);
}
