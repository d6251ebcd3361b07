// SPDX-License-Identifier: MIT
#pragma once

// How the vector conversions of a 16-bit picture widen each channel to eight bits by repeating
// its top bits, in one multiply: with the channel's bits masked in place, the high half of the
// product with the channel's factor is (c << (8 - n)) | (c >> (2n - 8)) for a channel of n
// bits. Shared by the SSE2 and the AVX2 steps, so both widen alike.

#include <cstdint>

#include "platform/display/pixel_layout.h"

namespace platform {

struct ChannelWidening {
    std::uint16_t redMask, redFactor;
    std::uint16_t greenMask, greenFactor;
    // Blue sits in the low bits in both layouts: shifted to the top, it widens with the factor
    // of a channel of its width at the top.
    std::uint16_t blueFactor;
};

// For a 5-bit channel at bit s, (c << s) * f >> 16 = c * 33 / 4 needs f = 33 << (14 - s); for
// a 6-bit one, c * 65 / 16 needs f = 65 << (12 - s).
constexpr std::uint16_t WideningFactor(ChannelPlace place) {
    return static_cast<std::uint16_t>(place.bits == 6 ? 65 << (12 - place.shift)
                                                      : 33 << (14 - place.shift));
}

constexpr ChannelWidening WideningOfLayout(PixelLayout layout) {
    const ChannelMasks masks = MasksOfLayout(layout);
    const ChannelPlace blue = PlaceOfMask(masks.blue);
    return {static_cast<std::uint16_t>(masks.red), WideningFactor(PlaceOfMask(masks.red)),
            static_cast<std::uint16_t>(masks.green), WideningFactor(PlaceOfMask(masks.green)),
            WideningFactor({16 - blue.bits, blue.bits})};
}

constexpr ChannelWidening kFiveSixFive = WideningOfLayout(PixelLayout::Rgb565);
constexpr ChannelWidening kFiveFiveFive = WideningOfLayout(PixelLayout::Rgb555);

}  // namespace platform
