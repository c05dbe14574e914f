// The end of the program after the menu: the menu's bitmaps and music are
// freed, then the library is shut down (timers, drivers, graphics mode) on
// its own screen.
#pragma once

struct Menu;

void shutdownSystem(Menu& menu);
