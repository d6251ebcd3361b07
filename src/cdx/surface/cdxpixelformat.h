// SPDX-License-Identifier: MIT
#pragma once

// The pixel format record every software pixel path chooses its arithmetic by.

#include <cstdint>

#include "platform/host/display_types.h"

namespace cdx {

struct CDXPixelFormat {
    std::uint8_t BlueMask = 0;  // the channel's mask shifted down to bit 0, low eight bits
    std::uint8_t GreenMask = 0;
    std::uint8_t RedMask = 0;
    std::uint8_t BlueShift = 0;  // the position of the channel's lowest bit
    std::uint8_t GreenShift = 0;
    std::uint8_t RedShift = 0;
    // 15 for 5-5-5, 16 for other 16-bit RGB formats, 24, 32, the bit count for palettised
    // formats of 8 bits or fewer, 0 for anything else.
    std::uint32_t BitDepth = 0;
};

// Fills format from the display service's description of a surface's pixels.
void DescribePixelFormat(const platform::DDPIXELFORMAT& description, CDXPixelFormat& format);

}  // namespace cdx
