// SPDX-License-Identifier: MIT
#pragma once

// The blends and shadows pixel by pixel, channel by channel, written from each operation's
// rule and nothing else: what every walk and every draw is held to.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "cdx/blit/pixel_blend.h"

namespace cdx {

struct Channel {
    int shift;
    int bits;
};

// Channel positions of the 15- and 16-bit layouts; 24- and 32-bit pixels are bytes 0 to 2.
inline std::vector<Channel> ChannelsOf(PixelLayout layout) {
    if (layout == PixelLayout::Rgb555) return {{0, 5}, {5, 5}, {10, 5}};
    if (layout == PixelLayout::Rgb565) return {{0, 5}, {5, 6}, {11, 5}};
    return {{0, 8}, {8, 8}, {16, 8}};
}

inline int FloorDiv256(int value) {
    const int quotient = value / 256;
    return (value % 256 != 0 && value < 0) ? quotient - 1 : quotient;
}

inline int ReferenceChannel(PixelOperation operation, int s, int d, int level, int alpha) {
    const int weight = level > 256 ? 256 : level;
    switch (operation) {
        case PixelOperation::Average:
            return d / 2 + s / 2;
        case PixelOperation::Translucent:
            return s + FloorDiv256((d - s) * weight);
        case PixelOperation::AlphaMap:
            return d + FloorDiv256((s - d) * alpha);
        case PixelOperation::Shadow:
            return d * weight / 256;
        case PixelOperation::HalfShadow:
            return d / 2;
    }
    return 0;
}

inline std::uint32_t ReadValue(const std::uint8_t* at, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes && i < 3; ++i) value |= static_cast<std::uint32_t>(at[i]) << (8 * i);
    return value;
}

// One pixel by the blend's own rule: channel by channel, a keyed source pixel skipped, the
// fourth byte of a 32-bit pixel left alone and bit 15 of a computed 5-5-5 pixel zero.
inline void ReferencePixel(PixelLayout layout, const PixelBlend& blend, const std::uint8_t* s,
                           std::uint8_t* d, int alpha) {
    const int bytes = platform::PixelBytes(layout);
    const std::uint32_t sv = ReadValue(s, bytes);
    const std::uint32_t dv = ReadValue(d, bytes);
    if (blend.key && sv == *blend.key) return;
    std::uint32_t out = 0;
    for (const Channel& channel : ChannelsOf(layout)) {
        const int mask = (1 << channel.bits) - 1;
        const int sc = static_cast<int>(sv >> channel.shift) & mask;
        const int dc = static_cast<int>(dv >> channel.shift) & mask;
        const int result = ReferenceChannel(blend.operation, sc, dc, blend.level, alpha);
        EXPECT_GE(result, 0);
        EXPECT_LE(result, mask);
        out |= static_cast<std::uint32_t>(result) << channel.shift;
    }
    for (int i = 0; i < bytes && i < 3; ++i) d[i] = static_cast<std::uint8_t>(out >> (8 * i));
}

}  // namespace cdx
