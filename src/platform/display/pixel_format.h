// SPDX-License-Identifier: MIT
#pragma once

// Pixel formats of display surfaces, described the way the display service reports them
// (bit count and channel masks), and the handful of formats this platform offers.

#include <cstdint>

#include "platform/host/display_types.h"

namespace platform {

// Bytes one pixel of the given bit count takes in memory (15-bit pixels take two). Inline:
// every software draw checks its locked memory's pixel size with it.
inline int BytesPerPixel(DWORD rgbBitCount) {
    return static_cast<int>((rgbBitCount + 7) / 8);
}

// The display service's pixel format record for a mode depth: 8 palettised, 15 (5-5-5),
// 16 (5-6-5), 24 and 32 (8-8-8).
DDPIXELFORMAT PixelFormatForDepth(int bitsPerPixel);

// The depth a pixel format record stands for: 8, 15, 16, 24 or 32.
int DepthOfPixelFormat(const DDPIXELFORMAT& format);

}  // namespace platform
