// SPDX-License-Identifier: MIT
// Energon particles: ten colours of a glowing, twinkling crystal of light. Each kind cycles
// through four frames; the game also shows the following kind's first frame after the fourth,
// so every kind's first frame is a small, nearly white flash that fits into any cycle.

#include "pictures.h"
#include "sprite_kit.h"
#include "stable_math.h"

namespace datagen {
namespace {

constexpr double kCentre = 16.0;
constexpr int kKinds = 10;
constexpr int kFramesPerKind = 4;

const Colour kKindColours[kKinds] = {
    {255, 70, 60},  {255, 150, 40}, {255, 230, 60}, {150, 255, 60}, {50, 240, 120},
    {60, 230, 255}, {70, 120, 255}, {170, 90, 255}, {255, 80, 190}, {240, 240, 255},
};

// A four-pointed star of light.
void PaintTwinkle(Canvas& canvas, double length, double turn, Colour colour, double opacity) {
    for (int i = 0; i < 4; ++i) {
        const double a = turn + i / 4.0;
        const double dx = CosineTurns(a);
        const double dy = SineTurns(a);
        const double w = 1.4;
        FillShape(canvas, {0, 0, 32, 32},
                  Triangle(kCentre - dy * w, kCentre + dx * w, kCentre + dy * w, kCentre - dx * w,
                           kCentre + dx * length, kCentre + dy * length),
                  colour, opacity);
    }
}

Canvas PaintParticle(int kind, int step) {
    struct Look {
        double glow, core, ray, turn, tint;
    };
    // Flash, swell, full glow, settle.
    static const Look kSteps[kFramesPerKind] = {{8.0, 2.6, 8.0, 0.0, 0.25},
                                                {11.5, 3.8, 11.0, 0.06, 0.7},
                                                {14.0, 4.8, 14.5, 0.125, 1.0},
                                                {12.0, 4.2, 10.0, 0.19, 0.85}};
    const Look& look = kSteps[step];
    const Colour colour = kKindColours[kind];
    const Colour tinted = Mix(Colour{255, 255, 255}, colour, look.tint);
    Canvas canvas(kFrameSize, kFrameSize);
    Glow(canvas, kCentre, kCentre, look.glow, colour, 1.0);
    PaintTwinkle(canvas, look.ray, look.turn, Mix(tinted, Colour{255, 255, 255}, 0.3), 0.9);
    PaintTwinkle(canvas, look.ray * 0.55, look.turn + 0.125, tinted, 0.8);
    // A faceted crystal in the middle.
    const double r = look.core + 1.5;
    FillShape(
        canvas, {kCentre - r - 1, kCentre - r - 1, kCentre + r + 1, kCentre + r + 1},
        [&](double x, double y) {
            const double dx = x - kCentre < 0 ? kCentre - x : x - kCentre;
            const double dy = y - kCentre < 0 ? kCentre - y : y - kCentre;
            return dx + dy * 0.75 <= r;
        },
        [&](double x, double y) {
            const bool upperLeft = (x - kCentre) + (y - kCentre) < 0;
            return Mix(colour, Colour{255, 255, 255}, upperLeft ? 0.75 : 0.35);
        });
    FillShape(canvas, {12, 12, 20, 20}, Circle(kCentre - 0.5, kCentre - 0.5, look.core * 0.45),
              Colour{255, 255, 255});
    return canvas;
}

}  // namespace

RgbImage MakeEnergonSheet() {
    return AssembleSheet(kKinds * kFramesPerKind, 4, [](int frame) {
        return PaintParticle(frame / kFramesPerKind, frame % kFramesPerKind);
    });
}

}  // namespace datagen
