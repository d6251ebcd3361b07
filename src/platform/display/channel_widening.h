// SPDX-License-Identifier: MIT
#pragma once

// How the vector conversions of a 16-bit picture widen each channel to eight bits by repeating
// its top bits, in one multiply: with the channel's bits masked in place, the high half of the
// product with the channel's factor is (c << (8 - n)) | (c >> (2n - 8)) for a channel of n
// bits. Shared by the SSE2 and the AVX2 steps, so both widen alike.

#include <cstdint>

namespace platform {

struct ChannelWidening {
    std::uint16_t redMask, redFactor;
    std::uint16_t greenMask, greenFactor;
    // Blue sits in the low five bits in both layouts: shifted to the top, it widens with the
    // factor of a 5-bit channel at the top.
    std::uint16_t blueFactor;
};

// For a 5-bit channel at bit s, (c << s) * f >> 16 = c * 33 / 4 needs f = 33 << (14 - s); for
// the 6-bit green of 5-6-5, c * 65 / 16 needs f = 65 << 7.
constexpr ChannelWidening kFiveSixFive{0xF800, 33 << 3, 0x07E0, 65 << 7, 33 << 3};
constexpr ChannelWidening kFiveFiveFive{0x7C00, 33 << 4, 0x03E0, 33 << 9, 33 << 3};

}  // namespace platform
