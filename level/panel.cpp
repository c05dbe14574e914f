// The panel: "gui.bmp" over the whole frame, the face picture in its black
// box beneath it, and the frame-rate, speed, score and time read-outs.
//
// Composing it from scratch costs several full-size masked copies a frame,
// while only a read-out changes now and then; so the composed panel is kept
// for the run and a read-out box is redrawn only when its text changes. The
// picture is the same as composing it anew every frame, because every
// read-out box is opaque and covers whatever was under it.
//
// Laying the panel over the frame with a masked copy would visit all of its
// pixels although most of the picture is transparent; instead the opaque
// parts are found once and copied as they are, which leaves the frame as
// the masked copy would.
#include "level/level.h"
#include "level/panel_cache.h"

#include "entities/player_craft.h"
#include "base/colors.h"
#include "base/counters.h"
#include "base/release_bitmap.h"

#include <allegro.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kFaceX = 13;
constexpr int kFaceY = 390;

// A read-out: its box on the panel (corners inclusive) and the size of the
// bitmap its text is written into, which is laid at the box's corner.
struct Readout {
    int x1;
    int y1;
    int x2;
    int y2;
    int textWidth;
    int textHeight;
};

enum ReadoutIndex { kFramesReadout, kSpeedReadout, kScoreReadout, kTimeReadout, kReadoutCount };

constexpr Readout kReadouts[kReadoutCount] = {
    {118, 450, 188, 470, 70, 20},  // frames per second
    {280, 425, 360, 438, 80, 13},  // cart speed
    {280, 455, 360, 468, 80, 13},  // score
    {450, 450, 510, 470, 60, 20},  // time
};

// The text starts a little left of and above the text bitmap's centre.
constexpr int kTextShiftX = 10;
constexpr int kTextShiftY = 5;

constexpr int kTextCapacity = 64;

// A rectangle of the panel without a single mask-colour pixel.
struct OpaqueSpan {
    int x;
    int y;
    int w;
    int h;
};

struct PanelCache {
    BITMAP* panel = nullptr;
    std::vector<OpaqueSpan> opaque;  // empty until the panel is complete
    bool opaqueKnown = false;
    BITMAP* composedFromGui = nullptr;   // the pictures the panel was made from
    BITMAP* composedFromFace = nullptr;
    BITMAP* texts[kReadoutCount] = {};
    char shown[kReadoutCount][kTextCapacity] = {};
    bool readoutValid[kReadoutCount] = {};
};

PanelCache cache;

void composeBase(BITMAP* gui, BITMAP* face)
{
    if (cache.panel && (cache.panel->w != gui->w || cache.panel->h != gui->h)) {
        destroy_bitmap(cache.panel);
        cache.panel = nullptr;
    }
    if (!cache.panel) {
        cache.panel = create_bitmap(gui->w, gui->h);
    }
    BITMAP* panel = cache.panel;
    rectfill(panel, 0, 0, panel->w, panel->h, maskColour());
    rectfill(panel, kFaceX, kFaceY, kFaceX + face->w, kFaceY + face->h, colorBlack);
    draw_sprite(panel, face, kFaceX, kFaceY);
    draw_sprite(panel, gui, 0, 0);

    cache.composedFromGui = gui;
    cache.composedFromFace = face;
    cache.opaqueKnown = false;
    for (bool& valid : cache.readoutValid) {
        valid = false;
    }
}

// Redraws one read-out box with its text when the text differs from what the
// panel shows. format and value are passed on to the library's textprintf.
template <typename Value>
void updateReadout(int index, const char* format, Value value)
{
    char text[kTextCapacity];
    std::snprintf(text, sizeof text, format, value);
    if (cache.readoutValid[index] && std::strcmp(text, cache.shown[index]) == 0) {
        return;
    }

    const Readout& box = kReadouts[index];
    BITMAP* panel = cache.panel;
    rectfill(panel, box.x1, box.y1, box.x2, box.y2, colorRed);
    line(panel, box.x1, box.y1, box.x1, box.y2, colorDarkRed);
    line(panel, box.x1, box.y1, box.x2, box.y1, colorDarkRed);

    BITMAP*& textBitmap = cache.texts[index];
    if (!textBitmap) {
        textBitmap = create_bitmap(box.textWidth, box.textHeight);
    }
    rectfill(textBitmap, 0, 0, textBitmap->w, textBitmap->h, maskColour());
    // The text mode's background is the mask colour, so only glyphs remain.
    textprintf(textBitmap, font, box.textWidth / 2 - kTextShiftX, box.textHeight / 2 - kTextShiftY,
               colorOrangeRed, format, value);
    draw_sprite(panel, textBitmap, box.x1, box.y1);

    std::memcpy(cache.shown[index], text, sizeof text);
    cache.readoutValid[index] = true;
}

// Runs of opaque pixels, row by row, with runs that repeat the one above
// merged into taller rectangles. Read-out boxes are opaque throughout, so
// redrawing one never changes the result.
void findOpaqueSpans()
{
    BITMAP* panel = cache.panel;
    const int mask = maskColour();
    std::vector<OpaqueSpan> spans;
    std::vector<size_t> previousRow;  // spans that end on the row above
    for (int y = 0; y < panel->h; ++y) {
        std::vector<size_t> thisRow;
        int x = 0;
        while (x < panel->w) {
            while (x < panel->w && getpixel(panel, x, y) == mask) {
                ++x;
            }
            const int start = x;
            while (x < panel->w && getpixel(panel, x, y) != mask) {
                ++x;
            }
            if (x == start) {
                break;
            }
            bool extended = false;
            for (size_t index : previousRow) {
                OpaqueSpan& above = spans[index];
                if (above.x == start && above.w == x - start) {
                    above.h += 1;
                    thisRow.push_back(index);
                    extended = true;
                    break;
                }
            }
            if (!extended) {
                spans.push_back({start, y, x - start, 1});
                thisRow.push_back(spans.size() - 1);
            }
        }
        previousRow.swap(thisRow);
    }
    cache.opaque.swap(spans);
    cache.opaqueKnown = true;
}

}  // namespace

void releasePanelCache()
{
    releaseBitmap(cache.panel);
    for (BITMAP*& text : cache.texts) {
        releaseBitmap(text);
    }
    cache = PanelCache{};
}

void Level::drawPanel()
{
    if (!cache.panel || cache.composedFromGui != guiBitmap || cache.composedFromFace != faceBitmap) {
        composeBase(guiBitmap, faceBitmap);
    }

    updateReadout(kFramesReadout, "%d", static_cast<int>(framesPerSecond.load()));
    updateReadout(kSpeedReadout, "%f", static_cast<double>(craft->speed));
    updateReadout(kScoreReadout, "%d", static_cast<int>(score));
    updateReadout(kTimeReadout, "%d", static_cast<int>(secondsPlayed));

    if (!cache.opaqueKnown) {
        findOpaqueSpans();
    }
    for (const OpaqueSpan& span : cache.opaque) {
        blit(cache.panel, backBuffer, span.x, span.y, span.x, span.y, span.w, span.h);
    }
}
