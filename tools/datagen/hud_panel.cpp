// SPDX-License-Identifier: MIT
// The display panel beside the map view. The game writes dark text at panel x 30 and
// y 50, 80, 120, 150, 190, 220, 260 and 290: a label and its value per field, so the four
// fields are light plates around those lines, framed, each with a coloured tab.

#include "lettering.h"
#include "pictures.h"
#include "random.h"
#include "stable_math.h"

namespace datagen {
namespace {

constexpr int kWidth = 146;
constexpr int kHeight = 476;
// The screen is 640 wide and the panel starts at 500, so only 140 columns are ever seen.
constexpr int kVisibleWidth = 140;
constexpr int kFields = 4;
constexpr int kFirstLabelY = 50;
constexpr int kFieldSpacing = 70;

void PaintBackground(Canvas& canvas) {
    FillShape(canvas, {0, 0, kWidth, kHeight}, RoundedRect(0, 0, kVisibleWidth, kHeight, 7),
              [](double x, double y) {
                  const double brushed = FractalNoise(x / 40.0, y / 1.5, 2, 61u);
                  return Mix(Colour{44, 52, 66}, Colour{62, 72, 88},
                             brushed * 0.6 + 0.2 * (x / kVisibleWidth));
              });
    // Bevels: light on the top and left, dark on the bottom and right.
    FillShape(canvas, {0, 0, 4, kHeight}, Rect(0, 6, 3, kHeight - 6), Colour{120, 135, 155}, 0.8);
    FillShape(canvas, {kVisibleWidth - 4, 0, kVisibleWidth, kHeight},
              Rect(kVisibleWidth - 3, 6, kVisibleWidth, kHeight - 6), Colour{16, 20, 28}, 0.8);
    FillShape(canvas, {0, 0, kWidth, 3}, Rect(6, 0, kVisibleWidth - 6, 2), Colour{120, 135, 155},
              0.7);
    FillShape(canvas, {0, kHeight - 3, kWidth, kHeight},
              Rect(6, kHeight - 2, kVisibleWidth - 6, kHeight), Colour{16, 20, 28}, 0.8);
    // Rivets in the corners.
    const double rivets[4][2] = {
        {9, 9}, {kVisibleWidth - 9, 9}, {9, kHeight - 9}, {kVisibleWidth - 9, kHeight - 9}};
    for (const auto& rivet : rivets) {
        FillShape(canvas, {rivet[0] - 4, rivet[1] - 4, rivet[0] + 4, rivet[1] + 4},
                  Circle(rivet[0], rivet[1], 2.6), Colour{20, 24, 30});
        FillShape(canvas, {rivet[0] - 4, rivet[1] - 4, rivet[0] + 4, rivet[1] + 4},
                  Circle(rivet[0] - 0.4, rivet[1] - 0.4, 1.9), Colour{150, 160, 175});
    }
}

void PaintHeader(Canvas& canvas) {
    FillShape(canvas, {14, 8, 128, 38}, RoundedRect(16, 9, 124, 36, 5), Colour{10, 14, 26});
    const TextMask name = RenderText("DejaVu Sans:bold", 20, "ZELTO");
    const int left = 70 - name.width / 2;
    const int top = 22 - name.height / 2;
    DrawMask(
        canvas, Dilate(name, 3), left - 3, top - 3,
        [](double, double) {
            return Colour{30, 120, 220};
        },
        0.4);
    DrawMask(canvas, name, left, top, [top](double, double y) {
        return Mix(Colour{230, 250, 255}, Colour{90, 190, 255}, Clamp((y - top) / 20.0, 0, 1));
    });
}

void PaintField(Canvas& canvas, int index, Colour accent) {
    const double top = kFirstLabelY + kFieldSpacing * index - 7;
    const double bottom = top + 63;
    const double left = 22;
    const double right = kVisibleWidth - 6;
    // Dark frame with a light inner edge, like a plate set into the panel.
    FillShape(canvas, {left - 4, top - 4, right + 4, bottom + 4},
              RoundedRect(left - 3, top - 3, right + 3, bottom + 3, 5), Colour{14, 18, 26});
    FillShape(canvas, {left - 2, top - 2, right + 2, bottom + 2},
              RoundedRect(left - 1.5, top - 1.5, right + 1.5, bottom + 1.5, 4),
              Colour{150, 165, 180});
    FillShape(
        canvas, {left, top, right, bottom}, RoundedRect(left, top, right, bottom, 3),
        [=](double, double y) {
            return Mix(Colour{236, 242, 246}, Colour{208, 220, 228}, (y - top) / (bottom - top));
        });
    // A thin rule between the label line and the value line.
    FillShape(canvas, {left, top, right, bottom}, Rect(left + 6, top + 33, right - 6, top + 34),
              Colour{170, 185, 198});
    // The coloured tab on the left edge names the field at a glance.
    FillShape(canvas, {8, top, left, bottom}, RoundedRect(10, top + 4, 17, bottom - 4, 3),
              [=](double x, double) { return Scale(accent, 0.75 + (17 - x) * 0.04); });
    Glow(canvas, 13.5, (top + bottom) / 2, 8, accent, 0.35);
}

void PaintScanner(Canvas& canvas) {
    const double cx = 70;
    const double cy = 388;
    const double r = 46;
    FillShape(canvas, {cx - r - 5, cy - r - 5, cx + r + 5, cy + r + 5}, Circle(cx, cy, r + 4),
              Colour{14, 18, 26});
    FillShape(canvas, {cx - r - 5, cy - r - 5, cx + r + 5, cy + r + 5}, Ring(cx, cy, r + 1, r + 3),
              Colour{130, 145, 160});
    FillShape(canvas, {cx - r, cy - r, cx + r, cy + r}, Circle(cx, cy, r), [=](double x, double y) {
        const double d = Sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy)) / r;
        return Mix(Colour{10, 50, 30}, Colour{4, 18, 12}, d);
    });
    for (int ring = 1; ring <= 3; ++ring) {
        FillShape(canvas, {cx - r, cy - r, cx + r, cy + r},
                  Ring(cx, cy, r * ring / 3.0 - 1.4, r * ring / 3.0 - 0.6), Colour{60, 200, 110},
                  0.5);
    }
    Line(canvas, cx - r + 2, cy, cx + r - 2, cy, Colour{60, 200, 110}, 0.8, 0.45);
    Line(canvas, cx, cy - r + 2, cx, cy + r - 2, Colour{60, 200, 110}, 0.8, 0.45);
    // The sweep: a bright line with a fading wedge behind it.
    for (int i = 0; i < 24; ++i) {
        const double a = 0.12 - i * 0.006;
        Line(canvas, cx, cy, cx + CosineTurns(a) * (r - 2), cy - SineTurns(a) * (r - 2),
             Colour{90, 255, 150}, 1.2, i == 0 ? 1.0 : 0.25 * (1.0 - i / 24.0));
    }
    const double blips[3][2] = {{cx + 20, cy - 14}, {cx - 24, cy + 10}, {cx + 8, cy + 28}};
    for (const auto& blip : blips) {
        Glow(canvas, blip[0], blip[1], 5, Colour{150, 255, 170}, 0.8);
        FillShape(canvas, {blip[0] - 2, blip[1] - 2, blip[0] + 2, blip[1] + 2},
                  Circle(blip[0], blip[1], 1.3), Colour{220, 255, 225});
    }
}

void PaintIndicators(Canvas& canvas) {
    const Colour lights[5] = {
        {80, 255, 120}, {80, 255, 120}, {255, 200, 60}, {60, 200, 255}, {255, 70, 60}};
    for (int i = 0; i < 5; ++i) {
        const double x = 28 + i * 21;
        const double y = 452;
        FillShape(canvas, {x - 6, y - 6, x + 6, y + 6}, Circle(x, y, 5), Colour{14, 18, 26});
        Glow(canvas, x, y, 8, lights[i], 0.45);
        FillShape(
            canvas, {x - 6, y - 6, x + 6, y + 6}, Circle(x, y, 3.4), [&](double px, double py) {
                const double d = Sqrt((px - x + 1) * (px - x + 1) + (py - y + 1) * (py - y + 1));
                return Mix(Colour{255, 255, 255}, lights[i], Clamp(d / 3.0, 0.3, 1.0));
            });
    }
}

}  // namespace

RgbImage MakeHudPanel() {
    static const Colour kAccents[kFields] = {{70, 230, 110},   // Energon level
                                             {255, 150, 40},   // critical mass
                                             {240, 60, 70},    // lives
                                             {70, 170, 255}};  // score
    Canvas canvas(kWidth, kHeight);
    PaintBackground(canvas);
    PaintHeader(canvas);
    for (int i = 0; i < kFields; ++i) PaintField(canvas, i, kAccents[i]);
    PaintScanner(canvas);
    PaintIndicators(canvas);
    // Whatever stays uncovered (the rounded corners, the unseen right strip) is transparent.
    RgbImage panel = FilledImage(kWidth, kHeight, kTransparentKey);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const Canvas::Pixel& pixel = canvas.At(x, y);
            if (pixel.alpha >= 0.5)
                panel.At(x, y) = ToRgb8(Mix(Colour{0, 0, 0}, pixel.colour, pixel.alpha));
        }
    }
    panel.At(0, 0) = kTransparentKey;
    return panel;
}

}  // namespace datagen
