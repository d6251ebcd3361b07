// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

#include "canvas.h"
#include "rgb_image.h"

namespace datagen {

constexpr int kFrameSize = 32;
constexpr int kFramesPerRow = 10;

// The dark, bluish tone that sprites' soft edges are darkened towards: close to the map's
// floors, so that edges neither glow nor look cut out.
constexpr Colour kSpriteBackdrop{22, 26, 34};

// A shader that lights a sphere from the upper left: dark at the lower right, a white
// highlight near the top left.
Shader SphereShader(double cx, double cy, double radius, Colour base, double shine = 1.0);

// Lays frames out ten to a row, rows top to bottom; places that get no frame stay transparent.
// The sheet's top-left pixel is always the transparent key.
RgbImage AssembleSheet(int frameCount, int rows,
                       const std::function<Canvas(int frame)>& paintFrame);

// The living player, frame 0 or 1, drawn on the 32-unit frame and painted size x size pixels;
// also the emblem of the window icon.
Canvas PaintPlayerOrb(int frame, int size = kFrameSize);

}  // namespace datagen
