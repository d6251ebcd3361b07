// SPDX-License-Identifier: MIT
#include "map/block_pixels.h"

#include <cstring>

#include "platform/display/pixel_layout.h"

namespace cdx {

namespace {

// A colour as the file holds it, each channel at its own width in bits.
struct SourceColor {
    std::uint32_t Red = 0;
    std::uint32_t Green = 0;
    std::uint32_t Blue = 0;
    int RedBits = 8;
    int GreenBits = 8;
    int BlueBits = 8;
};

int BytesPerSourcePixel(int depth) {
    return (depth + 1) / 8;
}

SourceColor DecodeSourcePixel(const std::uint8_t* at, int depth,
                              const platform::PALETTEENTRY* palette) {
    switch (depth) {
        case 8: {
            const platform::PALETTEENTRY& entry = palette[at[0]];
            return {entry.peRed, entry.peGreen, entry.peBlue};
        }
        case 15: {
            // 15- and 16-bit file pixels are big-endian, unlike every other number in the file.
            const std::uint32_t value = (std::uint32_t{at[0]} << 8) | at[1];
            return {(value >> 10) & 0x1F, (value >> 5) & 0x1F, value & 0x1F, 5, 5, 5};
        }
        case 16: {
            const std::uint32_t value = (std::uint32_t{at[0]} << 8) | at[1];
            return {(value >> 11) & 0x1F, (value >> 5) & 0x3F, value & 0x1F, 5, 6, 5};
        }
        case 24:
            return {at[0], at[1], at[2]};
        default:  // 32: one byte not read, then red, green, blue
            return {at[1], at[2], at[3]};
    }
}

// Brings a channel of `bits` bits to `width` bits by shifting: no rounding, new low bits 0.
std::uint64_t FitChannel(std::uint32_t value, int bits, int width) {
    if (width > bits) return std::uint64_t{value} << (width - bits);
    return value >> (bits - width);
}

std::uint64_t PlaceChannel(std::uint32_t value, int bits, std::uint32_t mask) {
    const platform::ChannelPlace place = platform::PlaceOfMask(mask);
    return (FitChannel(value, bits, place.bits) << place.shift) & mask;
}

void StoreLittleEndian(std::uint8_t* at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The one walk over a graphic's pixels: op(source pixel, row, column) for every pixel.
template <typename PixelOp>
void ForEachSourcePixel(const BlockSource& source, PixelOp op) {
    const int bytes = BytesPerSourcePixel(source.Depth);
    const std::uint8_t* pixel = source.Pixels;
    for (int row = 0; row < source.Height; ++row) {
        for (int column = 0; column < source.Width; ++column) {
            op(pixel, row, column);
            pixel += bytes;
        }
    }
}

}  // namespace

bool IsBlockDepth(int depth) {
    return depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
}

std::uint32_t ComposeColorKey(const BlockTargetFormat& target, std::uint32_t red,
                              std::uint32_t green, std::uint32_t blue, std::uint32_t keyIndex) {
    if (target.BitsPerPixel == 8) return keyIndex;
    if (target.BitsPerPixel < 9) return 0;
    return static_cast<std::uint32_t>(PlaceChannel(red & 0xFF, 8, target.RedMask) |
                                      PlaceChannel(green & 0xFF, 8, target.GreenMask) |
                                      PlaceChannel(blue & 0xFF, 8, target.BlueMask));
}

bool ConvertBlockPixels(const BlockSource& source, const BlockTargetFormat& target,
                        std::uint8_t* dest, int pitch) {
    if (!IsBlockDepth(source.Depth)) return false;
    if (target.BitsPerPixel == 8) {
        if (source.Depth != 8) return true;
        for (int row = 0; row < source.Height; ++row) {
            std::memcpy(dest + static_cast<std::ptrdiff_t>(row) * pitch,
                        source.Pixels + static_cast<std::ptrdiff_t>(row) * source.Width,
                        static_cast<std::size_t>(source.Width));
        }
        return true;
    }
    const int bytes = target.BitsPerPixel == 16   ? 2
                      : target.BitsPerPixel == 24 ? 3
                      : target.BitsPerPixel == 32 ? 4
                                                  : 0;
    if (bytes == 0) return true;
    ForEachSourcePixel(source, [&](const std::uint8_t* at, int row, int column) {
        const SourceColor color = DecodeSourcePixel(at, source.Depth, source.Palette);
        const auto value = static_cast<std::uint32_t>(
            PlaceChannel(color.Red, color.RedBits, target.RedMask) |
            PlaceChannel(color.Green, color.GreenBits, target.GreenMask) |
            PlaceChannel(color.Blue, color.BlueBits, target.BlueMask));
        StoreLittleEndian(dest + static_cast<std::ptrdiff_t>(row) * pitch + column * bytes, value,
                          bytes);
    });
    return true;
}

int DibStride(int width) {
    return (width * 3 + 3) & ~3;
}

bool BlockToDibRows(const BlockSource& source, std::uint8_t* rows, int stride) {
    if (!IsBlockDepth(source.Depth)) return false;
    ForEachSourcePixel(source, [&](const std::uint8_t* at, int row, int column) {
        const SourceColor color = DecodeSourcePixel(at, source.Depth, source.Palette);
        std::uint8_t* out = rows + static_cast<std::ptrdiff_t>(row) * stride + column * 3;
        out[0] = static_cast<std::uint8_t>(FitChannel(color.Blue, color.BlueBits, 8));
        out[1] = static_cast<std::uint8_t>(FitChannel(color.Green, color.GreenBits, 8));
        out[2] = static_cast<std::uint8_t>(FitChannel(color.Red, color.RedBits, 8));
    });
    return true;
}

}  // namespace cdx
