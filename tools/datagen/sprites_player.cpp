// SPDX-License-Identifier: MIT
// The player: a living energy orb circled by a ring, and its explosion.

#include "pictures.h"
#include "random.h"
#include "sprite_kit.h"
#include "stable_math.h"

namespace datagen {
namespace {

constexpr double kCentre = 16.0;
constexpr int kDeathFrames = 9;  // frames 2 to 10

// Half of a tilted ring around the orb: the back half is drawn before the orb, the front after.
// The ring is a run of small overlapping discs: at one pixel per unit 48 of them blur into a
// band. A finer painting lays down k times as many, k the pixels per unit rounded up to a power
// of two, so they still close up into a band instead of showing as beads. The back half is
// translucent and its overlapping discs build up opacity, so each of the k times as many lets
// through the k-th root (square roots only) of what one of 48 does, and the band is as opaque
// at every size.
void PaintRingHalf(Canvas& canvas, double tilt, double brightness, bool front) {
    const Colour ring = Mix(Colour{80, 200, 255}, Colour{230, 250, 255}, brightness);
    int discsPerStep = 1;
    double backLetThrough = 0.25;
    while (discsPerStep < canvas.PixelsPerUnit()) {
        discsPerStep *= 2;
        backLetThrough = Sqrt(backLetThrough);
    }
    const int discs = 48 * discsPerStep;
    for (int i = 0; i < discs; ++i) {
        const double a = i / static_cast<double>(discs);
        const double s = SineTurns(a);
        if ((s > 0) != front) continue;
        const double c = CosineTurns(a);
        // An ellipse of 14 x 4.5 turned by the tilt.
        const double ex = c * 14.0;
        const double ey = s * 4.5;
        const double x = kCentre + ex * CosineTurns(tilt) - ey * SineTurns(tilt);
        const double y = kCentre + ex * SineTurns(tilt) + ey * CosineTurns(tilt);
        FillShape(canvas, {x - 2, y - 2, x + 2, y + 2}, Circle(x, y, 1.15), ring,
                  front ? 1.0 : 1.0 - backLetThrough);
    }
}

}  // namespace

Canvas PaintPlayerOrb(int frame, int size) {
    Canvas canvas(size, size, static_cast<double>(size) / kFrameSize);
    const bool pulse = frame == 1;
    const double tilt = pulse ? -0.06 : 0.06;
    Glow(canvas, kCentre, kCentre, pulse ? 15.5 : 13.0, Colour{60, 180, 255}, pulse ? 0.75 : 0.55);
    PaintRingHalf(canvas, tilt, pulse ? 1.0 : 0.4, false);
    const double radius = pulse ? 8.6 : 8.0;
    FillShape(canvas, {4, 4, 28, 28}, Circle(kCentre, kCentre, radius),
              SphereShader(kCentre, kCentre, radius, Colour{40, 150, 240}, 1.0));
    // An inner swirl, turned between the two frames, makes the orb look alive.
    for (int arm = 0; arm < 3; ++arm) {
        for (int step = 0; step < 8; ++step) {
            const double a = arm / 3.0 + step * 0.035 + (pulse ? 0.1 : 0.0);
            const double r = 1.5 + step * 0.75;
            const double x = kCentre + CosineTurns(a) * r;
            const double y = kCentre + SineTurns(a) * r;
            FillShape(canvas, {x - 2, y - 2, x + 2, y + 2}, Circle(x, y, 0.9 - step * 0.06),
                      Colour{200, 245, 255}, 0.8 - step * 0.07);
        }
    }
    FillShape(canvas, {12, 12, 20, 20}, Circle(kCentre, kCentre, pulse ? 2.4 : 1.8),
              Colour{255, 255, 255});
    PaintRingHalf(canvas, tilt, pulse ? 1.0 : 0.4, true);
    return canvas;
}

namespace {

// Explosion step t from 0 (flash) to nearly 1 (last wisps): a fireball that grows, cools from white
// to red and breaks up into smoke, with sparks flying outwards.
Canvas PaintExplosion(int step) {
    Canvas canvas(kFrameSize, kFrameSize);
    const double t = step / static_cast<double>(kDeathFrames);
    const double radius = 5.0 + 10.0 * Sqrt(t);
    const double fade = 1.0 - SmoothStep(0.45, 1.0, t);
    const Colour hot = t < 0.3 ? Mix(Colour{255, 255, 240}, Colour{255, 230, 90}, t / 0.3)
                               : Mix(Colour{255, 230, 90}, Colour{200, 50, 20}, (t - 0.3) / 0.7);
    const Colour smoke = Mix(Colour{140, 80, 60}, Colour{70, 60, 65}, t);
    Glow(canvas, kCentre, kCentre, radius + 4.0, Mix(hot, smoke, 0.3), 0.7 * fade);
    // Puffs around the centre, fixed per explosion so consecutive frames belong together.
    Random random(0x5EED'0007);
    for (int i = 0; i < 9; ++i) {
        const double a = i / 9.0 + random.Range(-0.04, 0.04);
        const double d = radius * random.Range(0.35, 0.6);
        const double r = radius * random.Range(0.35, 0.5);
        const double x = kCentre + CosineTurns(a) * d;
        const double y = kCentre + SineTurns(a) * d;
        FillShape(
            canvas, {x - r - 1, y - r - 1, x + r + 1, y + r + 1}, Circle(x, y, r),
            [&](double px, double py) {
                const double edge =
                    Sqrt((px - kCentre) * (px - kCentre) + (py - kCentre) * (py - kCentre)) /
                    radius;
                return Mix(hot, smoke, Clamp(edge * 0.8 + t * 0.6, 0.0, 1.0));
            },
            fade);
    }
    // The core burns out first.
    const double core = radius * 0.5 * (1.0 - t);
    if (core > 0.5) {
        FillShape(canvas, {0, 0, 32, 32}, Circle(kCentre, kCentre, core),
                  Mix(Colour{255, 255, 235}, hot, t), fade);
    }
    for (int i = 0; i < 12; ++i) {
        const double a = random.Unit();
        const double speed = random.Range(0.7, 1.0);
        const double d = 4.0 + 12.0 * t * speed;
        const double x = kCentre + CosineTurns(a) * d;
        const double y = kCentre + SineTurns(a) * d;
        FillShape(canvas, {x - 1, y - 1, x + 1, y + 1}, Circle(x, y, 0.8),
                  Mix(Colour{255, 250, 200}, Colour{255, 120, 40}, t), 1.0 - t * 0.8);
    }
    return canvas;
}

}  // namespace

RgbImage MakePlayerSheet() {
    return AssembleSheet(2 + kDeathFrames, 2, [](int frame) {
        return frame < 2 ? PaintPlayerOrb(frame) : PaintExplosion(frame - 2);
    });
}

}  // namespace datagen
