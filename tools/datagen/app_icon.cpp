// SPDX-License-Identifier: MIT
// The window and desktop icon: the player's orb on a dark rounded tile, so the window and the
// game share a face. Tile and orb are drawn in the 32 units of a sprite frame and painted at each
// icon size's own resolution, so every size gets smooth edges and shading of its own.

#include "pictures.h"
#include "sprite_kit.h"

namespace datagen {

Canvas AppIconAtSize(int size) {
    Canvas canvas(size, size, static_cast<double>(size) / kFrameSize);
    FillShape(canvas, {0, 0, 32, 32}, RoundedRect(0, 0, 32, 32, 6), [](double, double y) {
        return Mix(Colour{16, 24, 52}, Colour{6, 8, 20}, y / 32.0);
    });
    canvas.Paste(PaintPlayerOrb(1, size), 0, 0);
    return canvas;
}

RgbImage MakeAppIcon() {
    return Flatten(AppIconAtSize(kFrameSize), Colour{0, 0, 0});
}

}  // namespace datagen
