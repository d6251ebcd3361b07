// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "canvas.h"

namespace datagen {

// A line of text as coverage values in [0, 1], one per pixel.
struct TextMask {
    int width = 0;
    int height = 0;
    std::vector<double> coverage;

    double At(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return 0.0;
        return coverage[static_cast<std::size_t>(y) * width + x];
    }
};

// Renders text with the font that fontconfig finds for the pattern (for example
// "DejaVu Sans:bold"). Throws std::runtime_error when no font of the pattern's family is
// installed, rather than silently lettering with another one.
TextMask RenderText(const std::string& fontPattern, int pixelHeight, const std::string& text);

// A copy of the mask grown by radius pixels in every direction (for outlines and halos).
TextMask Dilate(const TextMask& mask, int radius);

// Paints the mask onto the canvas with its top-left corner at (left, top).
void DrawMask(Canvas& canvas, const TextMask& mask, int left, int top, const Shader& shader,
              double opacity = 1.0);

}  // namespace datagen
