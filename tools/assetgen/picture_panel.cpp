// The panel laid over every frame: see-through (magenta) over the play
// area, a riveted steel band at the bottom with the face window and the
// labels of the four read-outs, which the game draws into their boxes. And
// the pilot's portrait that shows through the window.
#include "tools/assetgen/picture_parts.h"

#include "tools/assetgen/picture_canvas.h"

#include <allegro.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace pictures {
namespace {

using canvas::col;
using canvas::Rgb;
namespace c = canvas::colour;

constexpr int kBandTop = 380;
constexpr int kFaceX = 13;
constexpr int kFaceY = 390;
constexpr int kFrameWidth = 3;
constexpr int kGlyph = 8;  // the library font's cell

struct Box {
    int x1, y1, x2, y2;
};

// Where the game draws its read-outs (corners inclusive).
constexpr Box kFpsBox{118, 450, 188, 470};
constexpr Box kSpeedBox{280, 425, 360, 438};
constexpr Box kScoreBox{280, 455, 360, 468};
constexpr Box kTimeBox{450, 450, 510, 470};

void bevel(BITMAP* bitmap, const Box& box, Rgb light, Rgb dark)
{
    hline(bitmap, box.x1, box.y1, box.x2, col(light));
    vline(bitmap, box.x1, box.y1, box.y2, col(light));
    hline(bitmap, box.x1, box.y2, box.x2, col(dark));
    vline(bitmap, box.x2, box.y1, box.y2, col(dark));
}

// A recessed socket a little larger than a read-out box, so the red box
// the game draws sits in a dark frame.
void socket(BITMAP* bitmap, const Box& box)
{
    const Box around{box.x1 - 2, box.y1 - 2, box.x2 + 2, box.y2 + 2};
    rectfill(bitmap, around.x1, around.y1, around.x2, around.y2, col(c::kPanelDark));
    bevel(bitmap, around, c::kPanelDark, c::kPanelLight);
}

void label(BITMAP* bitmap, const char* text, int x, int y)
{
    textout_ex(bitmap, font, text, x + 1, y + 1, col(c::kOutline), -1);
    textout_ex(bitmap, font, text, x, y, col(c::kAmber), -1);
}

// Label to the left of a box, centred on its height.
void labelLeft(BITMAP* bitmap, const char* text, const Box& box)
{
    const int width = static_cast<int>(std::strlen(text)) * kGlyph;
    label(bitmap, text, box.x1 - 6 - width, (box.y1 + box.y2 + 1) / 2 - kGlyph / 2);
}

void rivet(BITMAP* bitmap, int x, int y)
{
    circlefill(bitmap, x, y, 2, col(c::kPanelDark));
    putpixel(bitmap, x - 1, y - 1, col(c::kPanelLight));
}

}  // namespace

BITMAP* panelPicture()
{
    BITMAP* panel = canvas::blank(kPanelWidth, kPanelHeight);
    const int right = kPanelWidth - 1;
    const int bottom = kPanelHeight - 1;

    // The band: brushed steel, lighter at the top edge.
    for (int y = kBandTop; y <= bottom; ++y) {
        const double t = static_cast<double>(y - kBandTop) / (bottom - kBandTop);
        hline(panel, 0, y, right, col(canvas::mix(c::kPanelLight, c::kPanel, std::min(1.0, t * 3))));
    }
    for (int y = kBandTop + 4; y < bottom; y += 3) {
        for (int x = 0; x <= right; ++x) {
            if (canvas::noise(9, x, y, 7) == 0) {
                putpixel(panel, x, y, col(canvas::mix(c::kPanel, c::kPanelDark, 0.5)));
            }
        }
    }
    hline(panel, 0, kBandTop, right, col(c::kOutline));
    hline(panel, 0, kBandTop + 1, right, col(c::kSteel));
    for (int x = 8; x < kPanelWidth; x += 40) {
        rivet(panel, x, kBandTop + 6);
        rivet(panel, x, bottom - 4);
    }

    // The face window: a frame round a see-through hole where the portrait shows.
    const Box window{kFaceX, kFaceY, kFaceX + kFaceSize - 1, kFaceY + kFaceSize - 1};
    rectfill(panel, window.x1 - kFrameWidth, window.y1 - kFrameWidth, window.x2 + kFrameWidth,
             window.y2 + kFrameWidth, col(c::kPanelDark));
    bevel(panel, Box{window.x1 - kFrameWidth, window.y1 - kFrameWidth, window.x2 + kFrameWidth, window.y2 + kFrameWidth},
          c::kPanelLight, c::kOutline);
    rectfill(panel, window.x1, window.y1, window.x2, window.y2, col(c::kMask));

    // Read-out sockets and their labels.
    for (const Box& box : {kFpsBox, kSpeedBox, kScoreBox, kTimeBox}) {
        socket(panel, box);
    }
    label(panel, "FPS", kFpsBox.x1 + (kFpsBox.x2 - kFpsBox.x1 + 1 - 3 * kGlyph) / 2, kFpsBox.y1 - kGlyph - 4);
    labelLeft(panel, "SPEED", kSpeedBox);
    labelLeft(panel, "SCORE", kScoreBox);
    labelLeft(panel, "TIME", kTimeBox);

    // The game's name on a plate at the right.
    const Box plate{530, 400, 630, 420};
    rectfill(panel, plate.x1, plate.y1, plate.x2, plate.y2, col(c::kPanelDark));
    bevel(panel, plate, c::kOutline, c::kPanelLight);
    label(panel, "GLIMMERFALL", plate.x1 + 7, plate.y1 + 6);
    // Three status lamps under it.
    for (int i = 0; i < 3; ++i) {
        const Rgb lamp = i == 0 ? c::kToxic : (i == 1 ? c::kAmber : c::kRed);
        canvas::outlinedCircle(panel, 555 + i * 25, 450, 5, lamp, c::kOutline);
        putpixel(panel, 553 + i * 25, 448, col(c::kWhite));
    }
    return panel;
}

BITMAP* facePicture()
{
    BITMAP* face = canvas::blank(kFaceSize, kFaceSize);
    const int cx = kFaceSize / 2;
    // Cockpit backdrop: dark blue, lighter towards the top.
    for (int y = 0; y < kFaceSize; ++y) {
        hline(face, 0, y, kFaceSize - 1, col(canvas::mix(c::kCyanDark, c::kPanelDark, y / (kFaceSize - 1.0))));
    }
    // Shoulders in the flight suit.
    ellipsefill(face, cx, kFaceSize + 6, 36, 22, col(c::kOutline));
    ellipsefill(face, cx, kFaceSize + 6, 34, 20, col(c::kWoodDark));
    line(face, cx, kFaceSize - 14, cx, kFaceSize - 1, col(c::kAmber));
    // Neck and face.
    rectfill(face, cx - 7, 52, cx + 7, 66, col(c::kSkinDark));
    ellipsefill(face, cx, 40, 19, 23, col(c::kOutline));
    canvas::shadedEllipse(face, cx, 40, 18, 22, c::kSkin, c::kSkin, c::kSkinDark);
    // Helmet in the cart's amber, with a stripe.
    arc(face, cx, 40, itofix(0), itofix(128), 22, col(c::kOutline));
    for (int r = 21; r >= 15; --r) {
        arc(face, cx, 38, itofix(0), itofix(128), r, col(r > 17 ? c::kAmber : c::kYellow));
    }
    rectfill(face, cx - 2, 14, cx + 2, 22, col(c::kRed));
    // Goggles pushed up on the helmet's brim, eyes, brows, mouth.
    for (int side : {-1, 1}) {
        canvas::outlinedCircle(face, cx + side * 8, 25, 5, c::kCyan, c::kOutline);
        putpixel(face, cx + side * 8 - 2, 23, col(c::kWhite));
        hline(face, cx + side * 8 - 4, 35, cx + side * 8 + 3, col(c::kWoodDark));
        circlefill(face, cx + side * 7, 39, 2, col(c::kWhite));
        putpixel(face, cx + side * 7, 39, col(c::kOutline));
        putpixel(face, cx + side * 7 + 1, 39, col(c::kOutline));
    }
    line(face, cx, 40, cx - 2, 47, col(c::kSkinDark));
    hline(face, cx - 2, 48, cx, col(c::kSkinDark));
    hline(face, cx - 6, 53, cx + 6, col(c::kRedDark));
    putpixel(face, cx - 7, 52, col(c::kRedDark));
    putpixel(face, cx + 7, 52, col(c::kRedDark));
    // Headset microphone.
    line(face, cx - 18, 44, cx - 9, 55, col(c::kOutline));
    circlefill(face, cx - 9, 55, 2, col(c::kOutline));
    rect(face, 0, 0, kFaceSize - 1, kFaceSize - 1, col(c::kOutline));
    return face;
}

}  // namespace pictures
