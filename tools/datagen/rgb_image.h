// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

#include "canvas.h"

namespace datagen {

struct Rgb8 {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb8&) const = default;
};

// The finished, opaque form of a picture, as it goes into a file.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<Rgb8> pixels;

    Rgb8& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    const Rgb8& At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Sheets mark their transparent background with this colour in the top-left pixel.
constexpr Rgb8 kTransparentKey{255, 0, 255};

// The game shows pictures on a 5-6-5 or 5-5-5 screen, so a colour that merely rounds to the key
// there would be punched out too. Such colours get a little green to stay visible.
Rgb8 AwayFromKey(Rgb8 colour);

Rgb8 ToRgb8(Colour colour);

// Lays the canvas over an opaque background.
RgbImage Flatten(const Canvas& canvas, Colour background);

// Turns a canvas with soft edges into sprite pixels: fully transparent parts become the key
// colour, faint parts are darkened towards the backdrop and their outer fringe thinned out with
// an ordered dither, so glows and edges stay soft on any map without blending at run time.
RgbImage FlattenSprite(const Canvas& canvas, Colour backdrop);

// Copies one image into another at (left, top).
void Blit(RgbImage& target, const RgbImage& source, int left, int top);

RgbImage FilledImage(int width, int height, Rgb8 colour);

}  // namespace datagen
