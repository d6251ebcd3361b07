// SPDX-License-Identifier: MIT
// The window icon: the player's orb on a dark rounded tile, so the window and the game share a
// face.

#include <algorithm>
#include <cstdint>

#include "pictures.h"
#include "sprite_kit.h"

namespace datagen {

Canvas PaintAppIcon() {
    Canvas canvas(kFrameSize, kFrameSize);
    FillShape(canvas, {0, 0, 32, 32}, RoundedRect(0, 0, 32, 32, 6), [](double, double y) {
        return Mix(Colour{16, 24, 52}, Colour{6, 8, 20}, y / 32.0);
    });
    canvas.Paste(PaintPlayerOrb(1), 0, 0);
    return canvas;
}

Canvas AppIconAtSize(int size) {
    const Canvas icon = PaintAppIcon();
    const int from = icon.Width();
    // Lengths in units of 1 / size of an icon pixel (1 / from of a pixel of the result): pixel x
    // of the result spans [x * from, (x + 1) * from), pixel i of the icon [i * size,
    // (i + 1) * size), so the area each icon pixel shares with a pixel of the result is a whole
    // number.
    auto overlap = [&](int target, int source) {
        const std::int64_t start =
            std::max(std::int64_t{target} * from, std::int64_t{source} * size);
        const std::int64_t end =
            std::min(std::int64_t{target + 1} * from, std::int64_t{source + 1} * size);
        return end > start ? end - start : 0;
    };
    // Calls use(area, icon pixel) for every icon pixel under pixel (x, y) of the result.
    auto forEachCovered = [&](int x, int y, auto use) {
        for (int sy = y * from / size; sy < from && sy * size < (y + 1) * from; ++sy) {
            for (int sx = x * from / size; sx < from && sx * size < (x + 1) * from; ++sx) {
                use(static_cast<double>(overlap(x, sx) * overlap(y, sy)), icon.At(sx, sy));
            }
        }
    };
    Canvas sized(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double area = 0;
            double opacity = 0;
            forEachCovered(x, y, [&](double shared, const Canvas::Pixel& pixel) {
                area += shared;
                opacity += shared * pixel.alpha;
            });
            Canvas::Pixel& pixel = sized.At(x, y);
            pixel.alpha = opacity / area;
            if (opacity == 0) continue;
            // Colours count by their opacity, so a transparent corner does not darken the
            // tile's edge beside it. Where one icon pixel covers the whole pixel (a whole
            // multiple of the icon's size), its weight is exactly 1 and its colour is kept.
            forEachCovered(x, y, [&](double shared, const Canvas::Pixel& covered) {
                pixel.colour =
                    Add(pixel.colour, Scale(covered.colour, shared * covered.alpha / opacity));
            });
        }
    }
    return sized;
}

RgbImage MakeAppIcon() {
    return Flatten(PaintAppIcon(), Colour{0, 0, 0});
}

}  // namespace datagen
