// SPDX-License-Identifier: MIT
#pragma once

// The blit modes a sprite is drawn in. Two banks: a mode n below 100 draws every pixel of the
// frame, n + 100 leaves out the pixels equal to the sheet's colour key; 120 exists only keyed.
// Any number not named here draws nothing.

#include <cstdint>

namespace cdx {

enum class CDXBlitMode : std::uint16_t {
    Copy = 0,
    Translucent = 1,
    Average = 2,
    Scaled = 3,
    Shadow = 4,
    HalfShadow = 5,
    MirrorX = 8,
    MirrorY = 9,
    Resized = 10,
    CopyKeyed = 100,
    TranslucentKeyed = 101,
    AverageKeyed = 102,
    ScaledKeyed = 103,
    ShadowKeyed = 104,
    HalfShadowKeyed = 105,
    MirrorXKeyed = 108,
    MirrorYKeyed = 109,
    ResizedKeyed = 110,
    AlphaMapKeyed = 120,
};

}  // namespace cdx
