#include "base/desktop_display.h"

#include <allegro.h>
#include <xalleg.h>

#include <cstdio>

#include "base/display_plan.h"
#include "base/fatal.h"
#include "base/scaled_screen.h"

namespace {

constexpr long kNetWmStateRemove = 0;
constexpr long kNetWmStateAdd = 1;
constexpr long kSourceApplication = 1;

bool displayOpen = false;
bool windowed = false;
int scaleSetting = kScaleAuto;
bool altEnterHeld = false;
bool enterTakenByAlt = false;

Window gameWindow()
{
    return _xwin.wm_window != None ? _xwin.wm_window : _xwin.window;
}

// Asks the window manager (EWMH) to add or remove the full-screen state.
// Without one nothing answers; the window then stays where it is put, at
// the corner, where a desktop-sized window covers the screen.
void askFullScreenState(bool on)
{
    if (_xwin.display == nullptr) {
        return;
    }
    XLOCK();
    Display* display = _xwin.display;
    const Window window = gameWindow();
    if (on) {
        XMoveWindow(display, window, 0, 0);
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "_NET_WM_STATE", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = on ? kNetWmStateAdd : kNetWmStateRemove;
    event.xclient.data.l[1] = static_cast<long>(XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False));
    event.xclient.data.l[3] = kSourceApplication;
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
    XFlush(display);
    XUNLOCK();
}

DisplaySize desktopSize()
{
    DisplaySize desktop{kPictureWidth, kPictureHeight};
    if (get_desktop_resolution(&desktop.w, &desktop.h) != 0) {
        desktop = {kPictureWidth, kPictureHeight};
    }
    return desktop;
}

int setMode(bool inWindow, bool sayIfLowered)
{
    const DisplaySize desktop = desktopSize();
    const DisplayPlan plan = planDisplay(scaleSetting, desktop, inWindow);
    if (sayIfLowered && plan.loweredFrom != 0) {
        std::fprintf(stderr, "%s\n", loweredScaleNote(plan, desktop).c_str());
    }
    const int answer = set_gfx_mode(GFX_AUTODETECT_WINDOWED, plan.window.w, plan.window.h, 0, 0);
    if (answer != 0) {
        return answer;
    }
    windowed = inWindow;
    placeScaledScreen(plan.picture.w, plan.picture.h);
    if (!inWindow) {
        askFullScreenState(true);
    }
    return 0;
}

void toggleFullScreen()
{
    const bool wasWindowed = windowed;
    if (!wasWindowed) {
        askFullScreenState(false);
    }
    lendLibraryScreen();
    if (setMode(!wasWindowed, false) != 0 && setMode(wasWindowed, false) != 0) {
        leaveWithMessage("Cannot set the video mode again:  %s", allegro_error);
    }
    presentScreen();
}

}  // namespace

int openDesktopDisplay(bool inWindow, int scale)
{
    scaleSetting = scale;
    const int answer = setMode(inWindow, true);
    displayOpen = answer == 0;
    return answer;
}

void toggleOnAltEnter()
{
    const bool held = key[KEY_ENTER] && (key[KEY_ALT] || key[KEY_ALTGR]);
    if (held && !altEnterHeld && displayOpen) {
        enterTakenByAlt = true;
        toggleFullScreen();
    }
    altEnterHeld = held;
}

bool enterKeyForMenus()
{
    if (!displayOpen) {
        return key[KEY_ENTER] != 0;
    }
    if (!key[KEY_ENTER]) {
        enterTakenByAlt = false;
        return false;
    }
    if (key[KEY_ALT] || key[KEY_ALTGR]) {
        enterTakenByAlt = true;
    }
    return !enterTakenByAlt;
}

bool windowHasFocus()
{
    if (!displayOpen || _xwin.display == nullptr) {
        return true;
    }
    Window focus = None;
    int revertTo = 0;
    XLOCK();
    XGetInputFocus(_xwin.display, &focus, &revertTo);
    XUNLOCK();
    // Without a window manager the keyboard follows the pointer
    // (PointerRoot), and the game counts as focused.
    return focus == PointerRoot || focus == _xwin.window || focus == gameWindow();
}
