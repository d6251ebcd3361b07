// SPDX-License-Identifier: MIT
#pragma once

#include "canvas.h"
#include "rgb_image.h"

namespace datagen {

enum class EnemyKind { kSpike, kCybud, kSkull, kJestoid };

// 320 x 128: forty 32 x 32 frames, ten to a row. Frames 0 and 1 are the enemy's two-frame
// animation; the rest are further phases and colour variants of it.
RgbImage MakeEnemySheet(EnemyKind kind);

// 320 x 64: frames 0 and 1 the living player, 2 to 10 its explosion, the rest empty.
RgbImage MakePlayerSheet();

// 320 x 128: ten kinds of Energon particle, four frames each.
RgbImage MakeEnergonSheet();

// 640 x 480 title picture with the logo; the middle stays calm and dark for the credit lines.
RgbImage MakeTitlePicture();

// 146 x 476 display panel with four light, framed fields for the values.
RgbImage MakeHudPanel();

// The sizes, in pixels, of the icon files for desktops (ZELTO_ICON_SIZES in tools/CMakeLists.txt
// names the same files).
inline constexpr int kAppIconSizes[] = {16, 32, 48, 64, 128, 256};

// The icon painted at size x size pixels, its rounded corners transparent as desktops show it.
Canvas AppIconAtSize(int size);

// 32 x 32 window icon: the same, laid on black.
RgbImage MakeAppIcon();

}  // namespace datagen
