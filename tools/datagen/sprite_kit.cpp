// SPDX-License-Identifier: MIT
#include "sprite_kit.h"

#include "stable_math.h"

namespace datagen {

Shader SphereShader(double cx, double cy, double radius, Colour base, double shine) {
    return [=](double x, double y) {
        const double nx = (x - cx) / radius;
        const double ny = (y - cy) / radius;
        const double nz = Sqrt(Clamp(1.0 - nx * nx - ny * ny, 0.0, 1.0));
        // Light from the upper left, in front.
        const double lambert = Clamp(-0.5 * nx - 0.55 * ny + 0.67 * nz, 0.0, 1.0);
        Colour lit = Scale(base, 0.3 + 0.85 * lambert);
        const double hx = nx + 0.38;
        const double hy = ny + 0.42;
        const double highlight = Clamp(1.0 - (hx * hx + hy * hy) * 6.0, 0.0, 1.0) * shine;
        return Mix(lit, Colour{255, 255, 255}, highlight * 0.85);
    };
}

RgbImage AssembleSheet(int frameCount, int rows,
                       const std::function<Canvas(int frame)>& paintFrame) {
    RgbImage sheet = FilledImage(kFramesPerRow * kFrameSize, rows * kFrameSize, kTransparentKey);
    for (int frame = 0; frame < frameCount; ++frame) {
        const RgbImage picture = FlattenSprite(paintFrame(frame), kSpriteBackdrop);
        Blit(sheet, picture, (frame % kFramesPerRow) * kFrameSize,
             (frame / kFramesPerRow) * kFrameSize);
    }
    sheet.At(0, 0) = kTransparentKey;
    return sheet;
}

}  // namespace datagen
