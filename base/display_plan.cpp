#include "base/display_plan.h"

#include <algorithm>

namespace {

// The largest whole number whose picture fits the area; 1 at the least.
int largestWholeScale(DisplaySize area)
{
    return std::max(1, std::min(area.w / kPictureWidth, area.h / kPictureHeight));
}

bool fits(DisplaySize picture, DisplaySize area)
{
    return picture.w <= area.w && picture.h <= area.h;
}

DisplaySize timesScale(int scale)
{
    return {kPictureWidth * scale, kPictureHeight * scale};
}

// The largest 4:3 picture in the area, never smaller than the game's own.
DisplaySize largestFourByThree(DisplaySize area)
{
    DisplaySize picture;
    if (area.w * kPictureHeight >= area.h * kPictureWidth) {
        picture = {area.h * kPictureWidth / kPictureHeight, area.h};
    } else {
        picture = {area.w, area.w * kPictureHeight / kPictureWidth};
    }
    if (!fits(timesScale(1), picture)) {
        picture = timesScale(1);
    }
    return picture;
}

}  // namespace

DisplayPlan planDisplay(int scaleSetting, DisplaySize desktop, bool windowed)
{
    // A window chosen for the player leaves room for its frame and panels;
    // one the player sized only has to fit the desktop.
    const DisplaySize room = windowed ? DisplaySize{desktop.w - kWindowRoomAcross, desktop.h - kWindowRoomDown}
                                      : desktop;
    DisplayPlan plan;
    if (scaleSetting == kScaleFit) {
        plan.scale = 0;
        plan.picture = largestFourByThree(room);
    } else if (scaleSetting == kScaleAuto) {
        plan.scale = largestWholeScale(room);
        plan.picture = timesScale(plan.scale);
    } else {
        plan.scale = std::min(scaleSetting, largestWholeScale(desktop));
        plan.loweredFrom = plan.scale < scaleSetting ? scaleSetting : 0;
        plan.picture = timesScale(plan.scale);
    }
    plan.window = windowed ? plan.picture
                           : DisplaySize{std::max(desktop.w, plan.picture.w), std::max(desktop.h, plan.picture.h)};
    return plan;
}

std::string loweredScaleNote(const DisplayPlan& plan, DisplaySize desktop)
{
    const DisplaySize asked = timesScale(plan.loweredFrom);
    return "glimmerfall: scale " + std::to_string(plan.loweredFrom) + " (" + std::to_string(asked.w) + " x " +
           std::to_string(asked.h) + ") does not fit the " + std::to_string(desktop.w) + " x " +
           std::to_string(desktop.h) + " desktop; using scale " + std::to_string(plan.scale);
}
