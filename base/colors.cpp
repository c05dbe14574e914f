#include "base/colors.h"

#include <allegro.h>

// Computed during static initialisation, before main runs.
const int32_t colorBlack = packColor(0, 0, 0);
const int32_t colorWhite = packColor(255, 255, 255);
const int32_t colorMagenta = packColor(255, 0, 255);
const int32_t colorGreen = packColor(0, 255, 0);
const int32_t colorRed = packColor(200, 0, 0);
const int32_t colorDarkRed = packColor(139, 0, 0);
const int32_t colorOrangeRed = packColor(255, 69, 0);

int maskColour()
{
    return makecol(255, 0, 255);
}
