// The picture's size on a desktop: auto, fit and whole scales, full screen and in a window.
#include <gtest/gtest.h>

#include <string>

#include "base/display_plan.h"

namespace {

std::string text(DisplaySize size)
{
    return std::to_string(size.w) + "x" + std::to_string(size.h);
}

TEST(DisplayPlan, TheScaleChosenForEachDesktopInAWindowAndFullScreen)
{
    // window and picture; "lowered N" when a whole scale asked for did not fit
    // (the note the player then gets is read word for word in options_desktop.sh).
    const struct { DisplaySize desktop; bool windowed; int scale; const char* plan; } cases[] = {
        {{1920, 1080}, false, kScaleAuto, "1920x1080 1280x960"},
        {{1920, 1080}, true, kScaleAuto, "1280x960 1280x960"},
        {{1920, 1080}, false, kScaleFit, "1920x1080 1440x1080"},
        {{1920, 1080}, true, kScaleFit, "1312x984 1312x984"},  // room left for the frame and panels
        {{1920, 1080}, true, 2, "1280x960 1280x960"},  // a size asked for needs only fit the desktop
        {{1920, 1080}, false, 3, "1920x1080 1280x960 lowered 3"},
        {{1920, 1080}, true, 4, "1280x960 1280x960 lowered 4"},
        {{2560, 1440}, true, kScaleAuto, "1280x960 1280x960"},  // 3x fills the height: no room for a frame
        {{1280, 1024}, false, kScaleFit, "1280x1024 1280x960"},  // taller than 4:3: the width decides
        {{640, 480}, false, kScaleAuto, "640x480 640x480"},
        {{1280, 960}, false, 2, "1280x960 1280x960"},  // an exact fit is kept
        {{600, 400}, false, kScaleFit, "640x480 640x480"},  // never smaller than the game's own picture
    };
    for (const auto& c : cases) {
        const DisplayPlan plan = planDisplay(c.scale, c.desktop, c.windowed);
        const std::string shown = text(plan.window) + " " + text(plan.picture) +
                                  (plan.loweredFrom ? " lowered " + std::to_string(plan.loweredFrom) : "");
        EXPECT_EQ(shown, c.plan) << text(c.desktop) << (c.windowed ? " window " : " full ") << c.scale;
    }
}

}  // namespace
