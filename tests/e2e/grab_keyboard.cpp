// Grabs the keyboard for a moment, as a desktop's own shortcuts do; status 0
// when the grab succeeded, so no other client holds it. usage: grab_keyboard
#include <X11/Xlib.h>

int main()
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 2;
    const int grabbed = XGrabKeyboard(display, DefaultRootWindow(display), False, GrabModeAsync, GrabModeAsync,
                                      CurrentTime);
    XUngrabKeyboard(display, CurrentTime);
    XCloseDisplay(display);
    return grabbed == GrabSuccess ? 0 : 1;
}
