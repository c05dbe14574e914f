// The player's cart (body, turret, gun) and its orb, in the game's amber
// and steel with dark outlines so they stand out on the grass and rails.
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
constexpr int kCentre = kCartFrame / 2;

// The body along the vertical track, at (ox, 0) of the strip. The wheels
// sit on the rails, which run 5 to 7 pixels either side of the track's
// centre line.
void drawBodyAlong(BITMAP* strip, int ox)
{
    const int outline = col(c::kOutline);
    // Wheels, two per rail, front and back.
    for (int wy : {4, 21}) {
        for (int wx : {7, 20}) {
            rectfill(strip, ox + wx, wy, ox + wx + 4, wy + 6, outline);
            vline(strip, ox + wx + 2, wy + 1, wy + 5, col(c::kSteelDark));
        }
    }
    // Chassis and body, lit from the left.
    rectfill(strip, ox + 9, 1, ox + 22, 30, outline);
    for (int x = 10; x <= 21; ++x) {
        const Rgb shade = canvas::mix(c::kYellow, c::kAmber, (x - 10) / 11.0);
        vline(strip, ox + x, 2, 29, col(shade));
    }
    // Bumpers with lamps at both ends: the cart runs either way.
    for (int y : {2, 29}) {
        hline(strip, ox + 10, y, ox + 21, col(c::kStoneDark));
        putpixel(strip, ox + 11, y, col(c::kRed));
        putpixel(strip, ox + 20, y, col(c::kRed));
    }
    // Armour seams and the ring the turret sits in.
    hline(strip, ox + 10, 7, ox + 21, col(c::kWoodDark));
    hline(strip, ox + 10, 24, ox + 21, col(c::kWoodDark));
    circlefill(strip, ox + kCentre, kCentre, 7, outline);
    circlefill(strip, ox + kCentre, kCentre, 6, col(c::kStoneDark));
}

// Frame 1 is frame 0 turned a quarter: mirrored along the diagonal, which
// the symmetric body allows.
void transposeFrame(BITMAP* strip, int from, int to)
{
    for (int y = 0; y < kCartFrame; ++y) {
        for (int x = 0; x < kCartFrame; ++x) {
            putpixel(strip, to + y, x, getpixel(strip, from + x, y));
        }
    }
}

}  // namespace

BITMAP* cartStrip()
{
    BITMAP* strip = canvas::blank(kCartFrame * kCartFrames, kCartFrame);
    drawBodyAlong(strip, 0);
    transposeFrame(strip, 0, kCartFrame);
    return strip;
}

BITMAP* turretStrip()
{
    BITMAP* strip = canvas::blank(kCartFrame * kTurretFrames, kCartFrame);
    for (int frame = 0; frame < kTurretFrames; ++frame) {
        const int ox = frame * kCartFrame;
        canvas::outlinedCircle(strip, ox + kCentre, kCentre, 7, c::kSteelDark, c::kOutline);
        canvas::shadedEllipse(strip, ox + kCentre, kCentre, 5, 5, c::kSteel, c::kStone, c::kStoneDark);
        // A sensor light that walks round the ring, one eighth per frame.
        const double angle = frame * 2 * kPi / kTurretFrames - kPi / 2;
        const int lx = ox + kCentre + static_cast<int>(std::lround(std::cos(angle) * 4));
        const int ly = kCentre + static_cast<int>(std::lround(std::sin(angle) * 4));
        // Hatch on the side away from the gun's rest position.
        rectfill(strip, ox + kCentre - 2, kCentre - 5, ox + kCentre + 1, kCentre - 3, col(c::kStoneDark));
        rect(strip, ox + kCentre - 2, kCentre - 5, ox + kCentre + 1, kCentre - 3, col(c::kOutline));
        putpixel(strip, lx, ly, col(c::kCyan));
        putpixel(strip, lx + 1, ly, col(c::kCyan));
    }
    return strip;
}

BITMAP* gunPicture()
{
    BITMAP* gun = canvas::blank(kCartFrame, kCartFrame);
    const int outline = col(c::kOutline);
    // Barrel from the centre straight down, muzzle brake at the end.
    rectfill(gun, kCentre - 3, kCentre, kCentre + 2, kCartFrame - 2, outline);
    vline(gun, kCentre - 2, kCentre, kCartFrame - 3, col(c::kSteel));
    vline(gun, kCentre - 1, kCentre, kCartFrame - 3, col(c::kStone));
    vline(gun, kCentre, kCentre, kCartFrame - 3, col(c::kStone));
    vline(gun, kCentre + 1, kCentre, kCartFrame - 3, col(c::kSteelDark));
    rectfill(gun, kCentre - 4, kCartFrame - 7, kCentre + 3, kCartFrame - 3, outline);
    hline(gun, kCentre - 3, kCartFrame - 6, kCentre + 2, col(c::kSteelDark));
    hline(gun, kCentre - 3, kCartFrame - 5, kCentre + 2, col(c::kSteel));
    // Mantlet over the turret's centre.
    canvas::outlinedCircle(gun, kCentre, kCentre, 3, c::kStone, c::kOutline);
    putpixel(gun, kCentre - 1, kCentre - 1, col(c::kSteel));
    return gun;
}

BITMAP* orbStrip()
{
    BITMAP* strip = canvas::blank(kOrbFrame * kOrbFrames, kOrbFrame);
    constexpr int kRadius[kOrbFrames] = {3, 4, 5, 4};  // the pulse; the glow stays inside the frame
    const int centre = kOrbFrame / 2;
    for (int frame = 0; frame < kOrbFrames; ++frame) {
        const int ox = frame * kOrbFrame + centre;
        const int r = kRadius[frame];
        circlefill(strip, ox, centre, r + 2, col(c::kCyanDark));
        circlefill(strip, ox, centre, r + 1, col(canvas::mix(c::kCyanDark, c::kCyan, 0.5)));
        circlefill(strip, ox, centre, r, col(c::kCyan));
        circlefill(strip, ox - 1, centre - 1, r / 2, col(c::kWhite));
    }
    return strip;
}

}  // namespace pictures
