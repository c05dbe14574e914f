// The display as today's desktops expect it, used whenever the player's
// settings are: full screen is a window of the desktop's own size that asks
// the window manager for the full-screen state (no video-mode switch, no
// keyboard grab), with the 640 x 480 picture enlarged in its middle; a
// window is the enlarged picture's size. Alt+Enter switches between the two
// at any moment, keeping the picture and everything else. Whether the
// window has the focus can be asked too, for the pause.
#pragma once

// Sets the mode for `windowed` and the scale setting (1 to 4, kScaleAuto or
// kScaleFit), places the picture and says on stderr if the scale had to be
// lowered. Returns set_gfx_mode's answer: negative when no mode could be set.
int openDesktopDisplay(bool windowed, int scaleSetting);

// Alt+Enter, looked at once per pass and per wait: switches between window
// and full screen on its press.
void toggleOnAltEnter();

// ENTER as the menus should see it: an ENTER pressed with Alt (for the
// switch) is not theirs, until it is let go. The key itself when the desktop
// display is not in use.
bool enterKeyForMenus();

// Whether the keyboard's focus is on the game's window, asked of the X
// server (always true before the display is open).
bool windowHasFocus();
