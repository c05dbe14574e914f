// Where the 640 x 480 picture goes on today's desktops: the size of the
// window (the desktop's own size in full screen) and of the enlarged picture
// centred in it, from the scale the player chose. Pure arithmetic, so every
// desktop can be tried without one.
#pragma once

#include <string>

// The scale setting: a whole number 1 to 4, or one of these.
constexpr int kScaleAuto = 0;  // the largest whole number that fits
constexpr int kScaleFit = -1;  // the largest 4:3 picture that fits, any size

constexpr int kPictureWidth = 640;
constexpr int kPictureHeight = 480;

// Room a window leaves on the desktop for its frame and the desktop's panels
// when its size is chosen for the player.
constexpr int kWindowRoomAcross = 64;
constexpr int kWindowRoomDown = 96;

struct DisplaySize {
    int w = 0;
    int h = 0;
    bool operator==(const DisplaySize& other) const { return w == other.w && h == other.h; }
};

struct DisplayPlan {
    DisplaySize window;   // the mode to set: the desktop, or the picture in a window
    DisplaySize picture;  // the enlarged picture, centred in the window
    int scale = 1;        // the whole-number scale used; 0 for fit
    int loweredFrom = 0;  // a whole-number scale asked for that did not fit, else 0
};

DisplayPlan planDisplay(int scaleSetting, DisplaySize desktop, bool windowed);

// The line for stderr when a scale was lowered.
std::string loweredScaleNote(const DisplayPlan& plan, DisplaySize desktop);
