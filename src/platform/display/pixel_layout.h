// SPDX-License-Identifier: MIT
#pragma once

// The pixel layouts of this platform's surfaces and what follows from each: the bytes a pixel
// takes, the bytes that hold its colour, its channel masks and the depth a display mode of it
// is named by. The display service's format records, the engine's pixel format and the
// software blitters all read their layout from here.

#include <bit>
#include <cstdint>
#include <optional>

namespace platform {

enum class PixelLayout {
    Palette8,  // 1 byte: an index into the palette
    Rgb555,    // 2 bytes: blue bits 0-4, green 5-9, red 10-14; bit 15 unused, 0 when computed
    Rgb565,    // 2 bytes: blue bits 0-4, green 5-10, red 11-15
    Bgr24,     // 3 bytes: blue, green, red
    Bgrx32,    // 4 bytes: blue, green, red, and a fourth byte that drawing never writes
};

struct ChannelMasks {
    std::uint32_t red = 0;
    std::uint32_t green = 0;
    std::uint32_t blue = 0;
};

// The depth a mode of this layout is named by: 8, 15, 16, 24 or 32.
constexpr int DepthOfLayout(PixelLayout layout) {
    switch (layout) {
        case PixelLayout::Palette8:
            return 8;
        case PixelLayout::Rgb555:
            return 15;
        case PixelLayout::Rgb565:
            return 16;
        case PixelLayout::Bgr24:
            return 24;
        case PixelLayout::Bgrx32:
            return 32;
    }
    return 0;
}

// The layout of a mode depth; nothing for depths this platform does not offer.
constexpr std::optional<PixelLayout> LayoutOfDepth(int depth) {
    switch (depth) {
        case 8:
            return PixelLayout::Palette8;
        case 15:
            return PixelLayout::Rgb555;
        case 16:
            return PixelLayout::Rgb565;
        case 24:
            return PixelLayout::Bgr24;
        case 32:
            return PixelLayout::Bgrx32;
        default:
            return std::nullopt;
    }
}

constexpr int PixelBytes(PixelLayout layout) {
    switch (layout) {
        case PixelLayout::Palette8:
            return 1;
        case PixelLayout::Rgb555:
        case PixelLayout::Rgb565:
            return 2;
        case PixelLayout::Bgr24:
            return 3;
        case PixelLayout::Bgrx32:
            return 4;
    }
    return 0;
}

// The bytes of a pixel that hold its colour: all of them but the fourth byte of Bgrx32.
constexpr int ColourBytes(PixelLayout layout) {
    return layout == PixelLayout::Bgrx32 ? 3 : PixelBytes(layout);
}

// Where one colour channel sits in a pixel: the position of its mask's lowest set bit and the
// number of consecutive set bits from there (5-6-5 green: shift 5, 6 bits).
struct ChannelPlace {
    int shift = 0;
    int bits = 0;
};

constexpr ChannelPlace PlaceOfMask(std::uint32_t mask) {
    if (mask == 0) return {};
    const int shift = std::countr_zero(mask);
    return {shift, std::countr_one(mask >> shift)};
}

// Nothing for Palette8, whose pixels are indices, not colours.
constexpr ChannelMasks MasksOfLayout(PixelLayout layout) {
    switch (layout) {
        case PixelLayout::Palette8:
            return {};
        case PixelLayout::Rgb555:
            return {0x7C00, 0x03E0, 0x001F};
        case PixelLayout::Rgb565:
            return {0xF800, 0x07E0, 0x001F};
        case PixelLayout::Bgr24:
        case PixelLayout::Bgrx32:
            return {0x00FF0000, 0x0000FF00, 0x000000FF};
    }
    return {};
}

}  // namespace platform
