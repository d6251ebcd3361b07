// SPDX-License-Identifier: MIT
#pragma once

// The header of a Windows bitmap file image, read and judged before any decoder sees the file:
// a picture is taken only when it fits a display surface and its pixel data can really make
// the picture its header claims, so that a few bytes never cost gigabytes of pixels.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/display/surface_limits.h"

namespace platform {

// The compression field of the information header.
enum class BitmapCompression : std::uint32_t { None = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };

struct BitmapHeader {
    int width = 0;
    int height = 0;  // rows, whichever way they run
    bool topDown = false;
    int bitsPerPixel = 0;
    BitmapCompression compression = BitmapCompression::None;
    std::uint32_t pixelOffset = 0;  // where the pixel data starts in the file
    std::uint32_t infoBytes = 0;    // the information header's size; the colour table follows it
    std::uint32_t coloursUsed = 0;  // the colour table's entries; 0 means 2^bitsPerPixel
};

// How many pixels a run-length packed picture may cover: any picture up to the first figure,
// larger ones no more than the second figure per byte of packed data. Runs and escapes can
// pack far more (255 pixels in two bytes, a whole blank row in two), but every pixel costs
// decoding, converting and copying, and a few kilobytes must not claim more than a fraction
// of a second's work.
constexpr std::uint64_t kPackedPixelsAlways = 256 * 256;
constexpr std::uint64_t kPackedPixelsPerByte = 32;

// The header of the file image bytes[0, size) when the picture it describes is one to decode:
// the file and information headers present, sides from 1 to kLargestSurfaceSide, 1, 4, 8, 16,
// 24 or 32 bits per pixel with a compression that fits them, unpacked pixel data holding all
// its rows, packed data (bottom-up only) within the budget above. Null otherwise.
std::optional<BitmapHeader> ReadBitmapHeader(const std::uint8_t* bytes, std::size_t size);

}  // namespace platform
