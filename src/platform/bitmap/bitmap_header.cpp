// SPDX-License-Identifier: MIT
#include "platform/bitmap/bitmap_header.h"

#include <algorithm>

namespace platform {
namespace {

constexpr std::size_t kFileHeaderBytes = 14;
// The old core header (16-bit sides); every later header is at least the 40-byte one.
constexpr std::uint32_t kCoreHeaderBytes = 12;
constexpr std::uint32_t kInfoHeaderBytes = 40;
// From this size on the information header holds the three colour masks itself; a shorter one
// is followed by them when the compression says bit fields.
constexpr std::uint32_t kHeaderWithMasksBytes = 52;
constexpr std::size_t kColourMaskBytes = 12;

std::uint32_t Little16(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8);
}
std::uint32_t Little32(const std::uint8_t* at) {
    return Little16(at) | (Little16(at + 2) << 16);
}

bool CompressionFitsDepth(BitmapCompression compression, int bitsPerPixel) {
    switch (compression) {
        case BitmapCompression::None:
            return bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8 ||
                   bitsPerPixel == 16 || bitsPerPixel == 24 || bitsPerPixel == 32;
        case BitmapCompression::Rle8:
            return bitsPerPixel == 8;
        case BitmapCompression::Rle4:
            return bitsPerPixel == 4;
        case BitmapCompression::BitFields:
            return bitsPerPixel == 16 || bitsPerPixel == 32;
    }
    return false;
}

// Whether the bytes after the pixel offset can make the picture the header describes.
bool PixelDataSuffices(const BitmapHeader& header, std::size_t size) {
    const std::uint64_t dataBytes = size - header.pixelOffset;
    const std::uint64_t pixels = std::uint64_t{static_cast<std::uint32_t>(header.width)} *
                                 static_cast<std::uint32_t>(header.height);
    if (header.compression == BitmapCompression::Rle8 ||
        header.compression == BitmapCompression::Rle4) {
        // Packed rows run from the bottom up; escapes may skip pixels without any data, so
        // the picture's size is held to what its data could reasonably pack.
        if (header.topDown) return false;
        return pixels <= std::max(kPackedPixelsAlways, dataBytes * kPackedPixelsPerByte);
    }
    // Unpacked rows are padded to whole 32-bit words, and every row must be there.
    const std::uint64_t rowBytes =
        (std::uint64_t{static_cast<std::uint32_t>(header.width)} * header.bitsPerPixel + 31) / 32 *
        4;
    return dataBytes / rowBytes >= static_cast<std::uint64_t>(header.height);
}

}  // namespace

std::optional<BitmapHeader> ReadBitmapHeader(const std::uint8_t* bytes, std::size_t size) {
    if (bytes == nullptr || size < kFileHeaderBytes + 4) return std::nullopt;
    if (bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
    BitmapHeader header;
    header.pixelOffset = Little32(bytes + 10);
    const std::uint32_t infoBytes = Little32(bytes + kFileHeaderBytes);
    if (infoBytes > size - kFileHeaderBytes) return std::nullopt;
    header.infoBytes = infoBytes;
    const std::uint8_t* info = bytes + kFileHeaderBytes;
    std::int64_t height = 0;
    if (infoBytes == kCoreHeaderBytes) {
        header.width = static_cast<int>(Little16(info + 4));
        height = Little16(info + 6);
        header.bitsPerPixel = static_cast<int>(Little16(info + 10));
    } else if (infoBytes >= kInfoHeaderBytes) {
        header.width = static_cast<std::int32_t>(Little32(info + 4));
        height = static_cast<std::int32_t>(Little32(info + 8));
        header.bitsPerPixel = static_cast<int>(Little16(info + 14));
        header.compression = static_cast<BitmapCompression>(Little32(info + 16));
        header.coloursUsed = Little32(info + 32);
        if (header.compression == BitmapCompression::BitFields &&
            infoBytes < kHeaderWithMasksBytes &&
            kColourMaskBytes > size - kFileHeaderBytes - infoBytes) {
            return std::nullopt;
        }
    } else {
        return std::nullopt;
    }
    // A negative height stands for rows stored from the top down.
    header.topDown = height < 0;
    if (header.topDown) height = -height;
    if (header.width < 1 || header.width > kLargestSurfaceSide || height < 1 ||
        height > kLargestSurfaceSide) {
        return std::nullopt;
    }
    header.height = static_cast<int>(height);
    if (!CompressionFitsDepth(header.compression, header.bitsPerPixel)) return std::nullopt;
    if (header.pixelOffset > size || !PixelDataSuffices(header, size)) return std::nullopt;
    return header;
}

}  // namespace platform
