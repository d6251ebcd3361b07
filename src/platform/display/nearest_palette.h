// SPDX-License-Identifier: MIT
#pragma once

// The palette entry nearest to a colour, for pictures drawn onto 8-bit surfaces.

#include <cstdint>

#include "platform/host/display_types.h"

namespace platform {

// The index of the entry of palette (256 entries) closest to (red, green, blue) by squared
// distance; the lowest index wins a tie.
std::uint8_t NearestPaletteIndex(const PALETTEENTRY* palette, std::uint8_t red, std::uint8_t green,
                                 std::uint8_t blue);

}  // namespace platform
