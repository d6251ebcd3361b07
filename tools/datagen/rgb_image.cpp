// SPDX-License-Identifier: MIT
#include "rgb_image.h"

#include "stable_math.h"

namespace datagen {

Rgb8 AwayFromKey(Rgb8 colour) {
    if (colour.r >= 248 && colour.g < 8 && colour.b >= 248) colour.g = 8;
    return colour;
}

Rgb8 ToRgb8(Colour colour) {
    auto channel = [](double v) {
        return static_cast<std::uint8_t>(FloorToInt(Clamp(v, 0.0, 255.0) + 0.5));
    };
    return AwayFromKey({channel(colour.r), channel(colour.g), channel(colour.b)});
}

RgbImage Flatten(const Canvas& canvas, Colour background) {
    RgbImage image{canvas.Width(), canvas.Height(), {}};
    image.pixels.reserve(static_cast<std::size_t>(image.width) * image.height);
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const Canvas::Pixel& pixel = canvas.At(x, y);
            image.pixels.push_back(ToRgb8(Mix(background, pixel.colour, pixel.alpha)));
        }
    }
    return image;
}

RgbImage FlattenSprite(const Canvas& canvas, Colour backdrop) {
    static constexpr int kBayer[4][4] = {
        {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    RgbImage image{canvas.Width(), canvas.Height(), {}};
    image.pixels.reserve(static_cast<std::size_t>(image.width) * image.height);
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const Canvas::Pixel& pixel = canvas.At(x, y);
            // Coverage of 0.4 and more is always drawn, below 0.2 never; in between the dither
            // decides, so that a soft edge ends in a thin scatter of pixels.
            const double threshold = 0.2 + 0.2 * (kBayer[y & 3][x & 3] + 0.5) / 16.0;
            if (pixel.alpha < threshold) {
                image.pixels.push_back(kTransparentKey);
                continue;
            }
            const double strength = Clamp(pixel.alpha * 1.3, 0.0, 1.0);
            image.pixels.push_back(ToRgb8(Mix(backdrop, pixel.colour, strength)));
        }
    }
    return image;
}

void Blit(RgbImage& target, const RgbImage& source, int left, int top) {
    for (int y = 0; y < source.height; ++y) {
        for (int x = 0; x < source.width; ++x) {
            const int tx = left + x;
            const int ty = top + y;
            if (tx < 0 || ty < 0 || tx >= target.width || ty >= target.height) continue;
            target.At(tx, ty) = source.At(x, y);
        }
    }
}

RgbImage FilledImage(int width, int height, Rgb8 colour) {
    return {width, height, std::vector<Rgb8>(static_cast<std::size_t>(width) * height, colour)};
}

}  // namespace datagen
