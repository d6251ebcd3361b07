// SPDX-License-Identifier: MIT
// The window icon: the player's orb on a dark rounded tile, so the window and the game share a
// face.

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

RgbImage MakeAppIcon() {
    return Flatten(PaintAppIcon(), Colour{0, 0, 0});
}

}  // namespace datagen
