// SPDX-License-Identifier: MIT
#include "cdx/surface/cdxpixelformat.h"

#include "platform/display/pixel_format.h"

namespace cdx {

namespace {

// Shifts mask right until bit 0 is set (at most 32 times) and gives the count and low byte.
void SplitMask(std::uint32_t mask, std::uint8_t& shiftedMask, std::uint8_t& shift) {
    int count = 0;
    while (count < 32 && (mask & 1u) == 0) {
        mask >>= 1;
        ++count;
    }
    shift = static_cast<std::uint8_t>(count);
    shiftedMask = static_cast<std::uint8_t>(mask & 0xFF);
}

}  // namespace

void DescribePixelFormat(const platform::DDPIXELFORMAT& description, CDXPixelFormat& format) {
    const std::uint32_t bitCount = description.dwRGBBitCount;
    if (bitCount <= 8) {
        format = CDXPixelFormat{};
        format.BitDepth = bitCount;
        return;
    }
    SplitMask(description.dwRBitMask, format.RedMask, format.RedShift);
    SplitMask(description.dwGBitMask, format.GreenMask, format.GreenShift);
    SplitMask(description.dwBBitMask, format.BlueMask, format.BlueShift);
    if ((description.dwFlags & platform::DDPF_RGB) == 0) {
        format.BitDepth = 0;
    } else if (bitCount == 16) {
        format.BitDepth = static_cast<std::uint32_t>(platform::DepthOfPixelFormat(description));
    } else if (bitCount == 24 || bitCount == 32) {
        format.BitDepth = bitCount;
    } else {
        format.BitDepth = 0;
    }
}

}  // namespace cdx
