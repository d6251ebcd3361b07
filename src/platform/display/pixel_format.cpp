// SPDX-License-Identifier: MIT
#include "platform/display/pixel_format.h"

#include "platform/display/pixel_layout.h"

namespace platform {

DDPIXELFORMAT PixelFormatForDepth(int bitsPerPixel) {
    DDPIXELFORMAT format;
    const std::optional<PixelLayout> layout = LayoutOfDepth(bitsPerPixel);
    if (!layout) return format;
    format.dwFlags = DDPF_RGB;
    if (*layout == PixelLayout::Palette8) format.dwFlags |= DDPF_PALETTEINDEXED8;
    format.dwRGBBitCount = static_cast<DWORD>(8 * PixelBytes(*layout));
    const ChannelMasks masks = MasksOfLayout(*layout);
    format.dwRBitMask = masks.red;
    format.dwGBitMask = masks.green;
    format.dwBBitMask = masks.blue;
    return format;
}

int DepthOfPixelFormat(const DDPIXELFORMAT& format) {
    const ChannelMasks rgb555 = MasksOfLayout(PixelLayout::Rgb555);
    if (format.dwRGBBitCount == 16 && format.dwRBitMask == rgb555.red &&
        format.dwGBitMask == rgb555.green && format.dwBBitMask == rgb555.blue) {
        return DepthOfLayout(PixelLayout::Rgb555);
    }
    return static_cast<int>(format.dwRGBBitCount);
}

}  // namespace platform
