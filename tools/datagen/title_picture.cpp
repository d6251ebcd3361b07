// SPDX-License-Identifier: MIT
// The title picture: the logo over a starfield, a planet rising at the bottom, and a dark glass
// plate in the middle on which the game writes its credit lines in white.
//
// The game draws the picture 8 pixels right of the screen's left edge: the screen's first 8
// columns stay black and the picture's last 8 are never seen. So the picture is laid out for
// the screen: its columns 632 to 639 hold only black, its left and right edges fade to black
// (the black strip reads as the frame's edge), and what is centred is centred on the screen.

#include <algorithm>

#include "lettering.h"
#include "pictures.h"
#include "random.h"
#include "stable_math.h"

namespace datagen {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
// Where the game draws the picture, and the picture's columns the screen shows.
constexpr int kShownFrom = 8;
constexpr int kShownWidth = kWidth - kShownFrom;
// The screen's middle column, in the picture.
constexpr double kScreenCentre = 320 - kShownFrom;
// How far in from the shown edges the picture darkens to black.
constexpr double kEdgeFade = 16;

// The game writes its five credit lines in white at screen x 160 to 320 and y 150 to 296, each
// worded to be centred on one column, screen x 381; the plate covers them with a margin and is
// centred on that column.
constexpr Box kCreditPlate{138, 136, 608, 308};

void PaintSky(Canvas& canvas) {
    ForEachPixel(canvas, {0, 0, kWidth, kHeight}, [](int x, int y, Canvas::Pixel& pixel) {
        const double t = y / static_cast<double>(kHeight);
        Colour sky = Mix(Colour{4, 6, 20}, Colour{16, 14, 40}, t);
        const double nebula = FractalNoise(x / 140.0, y / 110.0, 5, 17u);
        const double wisps = FractalNoise(x / 60.0 + 9.0, y / 50.0, 4, 23u);
        const double violet = Clamp((nebula - 0.45) * 2.2, 0.0, 1.0);
        const double teal = Clamp((wisps - 0.55) * 2.0, 0.0, 1.0) * (1.0 - t * 0.5);
        sky = Add(sky, Scale(Colour{90, 30, 120}, violet * 0.55));
        sky = Add(sky, Scale(Colour{20, 90, 110}, teal * 0.45));
        pixel = {sky, 1.0};
    });
    Random random(0x7171'0001);
    for (int i = 0; i < 420; ++i) {
        const double x = random.Range(0, kWidth);
        const double y = random.Range(0, kHeight * 0.8);
        const double brightness = random.Unit();
        const Colour star = Mix(Colour{170, 190, 255}, Colour{255, 240, 210}, random.Unit());
        if (brightness > 0.97) {
            Glow(canvas, x, y, 6.0, star, 0.5);
            Line(canvas, x - 5, y, x + 5, y, star, 0.8, 0.6);
            Line(canvas, x, y - 5, x, y + 5, star, 0.8, 0.6);
        }
        canvas.Blend(FloorToInt(x), FloorToInt(y), star, 0.25 + 0.75 * brightness);
    }
}

void PaintPlanet(Canvas& canvas) {
    const double cx = kScreenCentre;
    const double cy = 1010;
    const double radius = 640;
    Glow(canvas, cx, cy, radius + 40, Colour{60, 160, 255}, 0.6);
    FillShape(canvas, {0, 330, kWidth, kHeight}, Circle(cx, cy, radius), [&](double x, double y) {
        const double dx = (x - cx) / radius;
        const double dy = (y - cy) / radius;
        const double bands = FractalNoise(x / 90.0, y / 14.0 + dx * 3.0, 4, 41u);
        const double craters = FractalNoise(x / 25.0, y / 12.0, 3, 43u);
        Colour ground = Mix(Colour{40, 60, 90}, Colour{90, 70, 130}, bands);
        ground = Mix(ground, Colour{20, 26, 46}, Clamp((craters - 0.5) * 1.5, 0.0, 0.5));
        // Lit from the upper left, with a bright rim of atmosphere.
        const double rim = Sqrt(dx * dx + dy * dy);
        const double light = Clamp(0.6 - dx * 0.8, 0.25, 1.0);
        ground = Scale(ground, light);
        return Mix(ground, Colour{130, 210, 255}, SmoothStep(0.985, 1.0, rim) * 0.8);
    });
    // A moon hanging on the left.
    FillShape(canvas, {30, 160, 120, 250}, Circle(74, 206, 30), [](double x, double y) {
        const double shade = Clamp(1.1 - (x - 50) / 55.0, 0.15, 1.0);
        const double spots = FractalNoise(x / 9.0, y / 9.0, 3, 47u);
        return Scale(Mix(Colour{190, 180, 170}, Colour{110, 100, 100}, spots), shade);
    });
}

void PaintCreditPlate(Canvas& canvas) {
    const Box& b = kCreditPlate;
    FillShape(canvas, {b.left - 2, b.top - 2, b.right + 2, b.bottom + 2},
              RoundedRect(b.left - 1.5, b.top - 1.5, b.right + 1.5, b.bottom + 1.5, 12),
              Colour{90, 170, 230}, 0.5);
    FillShape(
        canvas, b, RoundedRect(b.left, b.top, b.right, b.bottom, 11),
        [&](double, double y) {
            return Mix(Colour{8, 12, 30}, Colour{14, 10, 34}, (y - b.top) / (b.bottom - b.top));
        },
        0.86);
}

void PaintLogo(Canvas& canvas) {
    const TextMask letters = RenderText("DejaVu Sans:bold", 118, "ZELTO");
    const int left = static_cast<int>(kScreenCentre) - letters.width / 2;
    const int top = -6;
    const TextMask halo = Dilate(letters, 10);
    const TextMask outline = Dilate(letters, 4);
    DrawMask(
        canvas, halo, left - 10, top - 10,
        [](double, double) {
            return Colour{40, 150, 255};
        },
        0.28);
    DrawMask(canvas, outline, left - 4, top - 4, [](double, double) { return Colour{6, 10, 28}; });
    // Chrome: a bright sky above the letters' middle, a warm ground below, with a sharp horizon.
    const double upper = top + letters.height * 0.22;
    const double middle = top + letters.height * 0.55;
    const double lower = top + letters.height * 0.82;
    DrawMask(canvas, letters, left, top, [=](double, double y) {
        if (y < middle) {
            return Mix(Colour{245, 252, 255}, Colour{90, 180, 250},
                       Clamp((y - upper) / (middle - upper), 0, 1));
        }
        return Mix(Colour{40, 40, 120}, Colour{250, 170, 90},
                   Clamp((y - middle) / (lower - middle), 0, 1));
    });
    const TextMask tagline =
        RenderText("DejaVu Sans:bold", 15, "COLLECT  THE  ENERGON  -  REACH  CRITICAL  MASS");
    DrawMask(canvas, tagline, static_cast<int>(kScreenCentre) - tagline.width / 2, 114,
             [](double, double) {
                 return Colour{150, 215, 255};
             });
}

void PaintPrompt(Canvas& canvas) {
    const TextMask prompt = RenderText("DejaVu Sans:bold", 22, "CLICK  TO  BEGIN");
    const int left = static_cast<int>(kScreenCentre) - prompt.width / 2;
    const int top = 420;
    DrawMask(
        canvas, Dilate(prompt, 5), left - 5, top - 5,
        [](double, double) {
            return Colour{20, 30, 60};
        },
        0.75);
    DrawMask(canvas, prompt, left, top, [](double, double) { return Colour{255, 220, 120}; });
}

// Darkens the shown part towards black over kEdgeFade pixels at its left and right edges, and
// blackens the columns the screen never shows.
void PaintEdges(Canvas& canvas) {
    ForEachPixel(canvas, {0, 0, kWidth, kHeight}, [](int x, int, Canvas::Pixel& pixel) {
        const double centre = x + 0.5;
        const double inside = std::min(centre, kShownWidth - centre);
        if (inside >= kEdgeFade) return;
        const double keep = inside <= 0 ? 0.0 : SmoothStep(0.0, kEdgeFade, inside);
        pixel.colour = Scale(pixel.colour, keep);
    });
}

}  // namespace

RgbImage MakeTitlePicture() {
    Canvas canvas(kWidth, kHeight, Colour{0, 0, 0});
    PaintSky(canvas);
    PaintPlanet(canvas);
    PaintCreditPlate(canvas);
    PaintLogo(canvas);
    PaintPrompt(canvas);
    PaintEdges(canvas);
    RgbImage picture = Flatten(canvas, Colour{0, 0, 0});
    picture.At(0, 0) = kTransparentKey;
    return picture;
}

}  // namespace datagen
