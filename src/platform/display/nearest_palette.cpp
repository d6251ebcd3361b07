// SPDX-License-Identifier: MIT
#include "platform/display/nearest_palette.h"

namespace platform {

std::uint8_t NearestPaletteIndex(const PALETTEENTRY* palette, std::uint8_t red, std::uint8_t green,
                                 std::uint8_t blue) {
    int best = 0;
    int bestDistance = 3 * 255 * 255 + 1;
    for (int i = 0; i < 256; ++i) {
        const int dr = palette[i].peRed - red;
        const int dg = palette[i].peGreen - green;
        const int db = palette[i].peBlue - blue;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
            if (distance == 0) break;
        }
    }
    return static_cast<std::uint8_t>(best);
}

}  // namespace platform
