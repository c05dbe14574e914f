// The Balrog, seen from above and walking towards the bottom of its frame
// (the game turns it to its heading), and the dome the player defends.
// Purple and toxic green keep the monster readable on grass; the dome is
// glass and stone with running lights.
#include "tools/assetgen/picture_parts.h"

#include "tools/assetgen/picture_canvas.h"

#include <allegro.h>

#include <cmath>

namespace pictures {
namespace {

using canvas::col;
using canvas::Rgb;
namespace c = canvas::colour;

constexpr double kPi = 3.14159265358979;

// A limb: a capsule of the given radius from (x0, y0) to (x1, y1).
void capsule(BITMAP* bitmap, double x0, double y0, double x1, double y1, int radius, Rgb colour)
{
    const double length = std::hypot(x1 - x0, y1 - y0);
    const int steps = static_cast<int>(length) + 1;
    for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        circlefill(bitmap, static_cast<int>(std::lround(x0 + (x1 - x0) * t)),
                   static_cast<int>(std::lround(y0 + (y1 - y0) * t)), radius, col(colour));
    }
}

// The same limb with a dark outline round it.
void outlinedLimb(BITMAP* bitmap, double x0, double y0, double x1, double y1, int radius, Rgb colour)
{
    capsule(bitmap, x0, y0, x1, y1, radius + 1, c::kOutline);
    capsule(bitmap, x0, y0, x1, y1, radius, colour);
}

void claws(BITMAP* bitmap, int x, int y, int dx)
{
    for (int i = -1; i <= 1; ++i) {
        line(bitmap, x + i * 3, y, x + i * 3 + dx, y + 6, col(c::kOutline));
        line(bitmap, x + i * 3, y + 1, x + i * 3 + dx, y + 5, col(c::kWhite));
    }
}

void drawAlien(BITMAP* strip, int frame)
{
    const int ox = frame * kAlienFrame;
    const double cx = ox + kAlienFrame / 2.0;
    // Walk cycle: each leg swings forward while its opposite arm swings back.
    const double swing = std::sin(frame * 2 * kPi / kAlienFrames);
    const double stride = 9 * swing;

    // Tail lashing behind (towards the top of the frame).
    const double tailTip = cx + 10 * std::sin(frame * 2 * kPi / kAlienFrames + kPi / 2);
    outlinedLimb(strip, cx, 40, (cx + tailTip) / 2, 22, 4, c::kPurpleDark);
    outlinedLimb(strip, (cx + tailTip) / 2, 22, tailTip, 8, 2, c::kPurpleDark);

    // Legs from the hips to the feet, behind the body.
    for (int side : {-1, 1}) {
        const double footY = 22 + side * stride;
        outlinedLimb(strip, cx + side * 16, 46, cx + side * 26, footY, 6, c::kPurpleDark);
        claws(strip, static_cast<int>(cx + side * 26), static_cast<int>(footY) - 8, 0);
    }
    // Wings folded along the back, membrane between two bones.
    for (int side : {-1, 1}) {
        const int tipX = static_cast<int>(cx + side * 54);
        const int points[] = {static_cast<int>(cx + side * 14), 52, tipX, 30 - static_cast<int>(swing * 3),
                              static_cast<int>(cx + side * 40), 60, static_cast<int>(cx + side * 20), 70};
        polygon(strip, 4, points, col(c::kOutline));
        const int inner[] = {static_cast<int>(cx + side * 16), 54, tipX - side * 3, 33 - static_cast<int>(swing * 3),
                             static_cast<int>(cx + side * 38), 58, static_cast<int>(cx + side * 20), 67};
        polygon(strip, 4, inner, col(c::kRedDark));
        line(strip, static_cast<int>(cx + side * 14), 53, tipX, 31 - static_cast<int>(swing * 3), col(c::kPurpleDark));
    }
    // Arms reaching forward, the claws leading.
    for (int side : {-1, 1}) {
        const double handY = 100 - side * stride;
        outlinedLimb(strip, cx + side * 22, 72, cx + side * 32, handY, 6, c::kPurple);
        claws(strip, static_cast<int>(cx + side * 32), static_cast<int>(handY) + 2, -side * 2);
    }
    // Body, lit from the upper left, with a row of spines down the back.
    ellipsefill(strip, static_cast<int>(cx), 62, 27, 32, col(c::kOutline));
    canvas::shadedEllipse(strip, static_cast<int>(cx), 62, 25, 30, c::kPurpleLight, c::kPurple, c::kPurpleDark);
    for (int y = 40; y <= 80; y += 10) {
        const int points[] = {static_cast<int>(cx) - 4, y + 4, static_cast<int>(cx), y - 4, static_cast<int>(cx) + 4,
                              y + 4};
        polygon(strip, 3, points, col(c::kOutline));
        const int inner[] = {static_cast<int>(cx) - 2, y + 3, static_cast<int>(cx), y - 2, static_cast<int>(cx) + 2,
                             y + 3};
        polygon(strip, 3, inner, col(c::kStoneLight));
    }
    // Head at the front, horns sweeping back, glowing eyes.
    const int hx = static_cast<int>(cx);
    constexpr int kHeadY = 96;
    for (int side : {-1, 1}) {
        outlinedLimb(strip, hx + side * 8, kHeadY - 6, hx + side * 20, kHeadY - 16, 3, c::kStoneLight);
        outlinedLimb(strip, hx + side * 20, kHeadY - 16, hx + side * 22, kHeadY - 26, 2, c::kWhite);
    }
    canvas::outlinedCircle(strip, hx, kHeadY, 15, c::kPurple, c::kOutline);
    canvas::shadedEllipse(strip, hx, kHeadY, 13, 13, c::kPurpleLight, c::kPurple, c::kPurpleDark);
    for (int side : {-1, 1}) {
        circlefill(strip, hx + side * 6, kHeadY + 6, 3, col(c::kOutline));
        circlefill(strip, hx + side * 6, kHeadY + 6, 2, col(c::kToxic));
        putpixel(strip, hx + side * 6 - 1, kHeadY + 5, col(c::kWhite));
    }
    // Jaw with fangs at the very front.
    hline(strip, hx - 5, kHeadY + 12, hx + 5, col(c::kOutline));
    for (int side : {-1, 1}) {
        vline(strip, hx + side * 3, kHeadY + 12, kHeadY + 15, col(c::kWhite));
    }
}

void drawDome(BITMAP* strip, int frame)
{
    const int cx = frame * kDomeFrame + kDomeFrame / 2;
    const int cy = kDomeFrame / 2;
    constexpr int kBase = 60;
    constexpr int kGlass = 46;
    constexpr int kLights = 12;
    constexpr int kLitEvery = kDomeFrames;

    // Stone base ring with a darker inner lip.
    canvas::outlinedCircle(strip, cx, cy, kBase, c::kStone, c::kOutline);
    canvas::shadedEllipse(strip, cx, cy, kBase - 2, kBase - 2, c::kStoneLight, c::kStone, c::kStoneDark);
    canvas::outlinedCircle(strip, cx, cy, kGlass + 3, c::kStoneDark, c::kOutline);
    // Glass dome, lit from the upper left, with its ribs.
    canvas::shadedEllipse(strip, cx, cy, kGlass, kGlass, c::kFoam, c::kWaterLight, c::kWaterDeep);
    for (int r : {kGlass * 2 / 3, kGlass / 3}) {
        circle(strip, cx, cy, r, col(c::kCyanDark));
    }
    for (int i = 0; i < 8; ++i) {
        const double angle = i * kPi / 4;
        line(strip, cx, cy, cx + static_cast<int>(std::lround(std::cos(angle) * kGlass)),
             cy + static_cast<int>(std::lround(std::sin(angle) * kGlass)), col(c::kCyanDark));
    }
    // Glint on the glass, and the beacon at the top.
    arc(strip, cx, cy, itofix(78), itofix(114), kGlass - 8, col(c::kWhite));
    arc(strip, cx, cy, itofix(84), itofix(108), kGlass - 9, col(c::kWhite));
    canvas::outlinedCircle(strip, cx, cy, 6, c::kStone, c::kOutline);
    circlefill(strip, cx, cy, 3, col(frame % 2 ? c::kRed : c::kAmber));
    // Running lights round the rim: every fourth one lit, one step per frame.
    for (int i = 0; i < kLights; ++i) {
        const double angle = i * 2 * kPi / kLights;
        const int lx = cx + static_cast<int>(std::lround(std::cos(angle) * (kBase - 5)));
        const int ly = cy + static_cast<int>(std::lround(std::sin(angle) * (kBase - 5)));
        const bool lit = i % kLitEvery == frame;
        if (lit) {
            circlefill(strip, lx, ly, 4, col(c::kAmber));
        }
        canvas::outlinedCircle(strip, lx, ly, 3, lit ? c::kYellow : c::kRedDark, c::kOutline);
        if (lit) {
            putpixel(strip, lx - 1, ly - 1, col(c::kWhite));
        }
    }
}

}  // namespace

BITMAP* alienStrip()
{
    BITMAP* strip = canvas::blank(kAlienFrame * kAlienFrames, kAlienFrame);
    for (int frame = 0; frame < kAlienFrames; ++frame) {
        drawAlien(strip, frame);
    }
    return strip;
}

BITMAP* domeStrip()
{
    BITMAP* strip = canvas::blank(kDomeFrame * kDomeFrames, kDomeFrame);
    for (int frame = 0; frame < kDomeFrames; ++frame) {
        drawDome(strip, frame);
    }
    return strip;
}

}  // namespace pictures
