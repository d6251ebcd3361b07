// SPDX-License-Identifier: MIT
#pragma once

// The display service's pixel work as plain functions over memory: copies, colour-keyed
// copies, fills and stretches of rectangles given by their first pixel and pitch. Pixels are
// 1, 2, 3 or 4 bytes, little-endian. No function here checks rectangles: callers do. The
// fill has its own file pair, included here so the pixel routines keep one header.

#include <cstdint>
#include <optional>

#include "platform/display/pixel_fill.h"

namespace platform {

struct PixelSpan {
    std::uint8_t* first = nullptr;  // the rectangle's top-left pixel
    int pitch = 0;                  // bytes from one row to the next
};

struct ConstPixelSpan {
    const std::uint8_t* first = nullptr;
    int pitch = 0;
};

// Reads and writes one pixel of the given size; 32-bit writes take all four bytes.
std::uint32_t ReadPixel(const std::uint8_t* at, int bytesPerPixel);
void WritePixel(std::uint8_t* at, int bytesPerPixel, std::uint32_t value);
// The bits a pixel of that size holds: keys and fills are compared and written through it.
std::uint32_t PixelValueMask(int bytesPerPixel);

void CopyPixels(ConstPixelSpan source, PixelSpan dest, int width, int height, int bytesPerPixel);
// Copies every pixel that differs from key. The source and the destination must not overlap.
void CopyPixelsKeyed(ConstPixelSpan source, PixelSpan dest, int width, int height,
                     int bytesPerPixel, std::uint32_t key);
// The plain per-pixel loop that the fast keyed copy is held to, bit for bit.
void CopyPixelsKeyedReference(ConstPixelSpan source, PixelSpan dest, int width, int height,
                              int bytesPerPixel, std::uint32_t key);

struct StretchOptions {
    std::optional<std::uint32_t> key;
    bool mirrorLeftRight = false;
    bool mirrorUpDown = false;
};
// Nearest-pixel stretch of a sourceWidth x sourceHeight rectangle onto destWidth x destHeight.
void StretchPixels(ConstPixelSpan source, int sourceWidth, int sourceHeight, PixelSpan dest,
                   int destWidth, int destHeight, int bytesPerPixel, const StretchOptions& options);
// The plain per-pixel loop that the fast stretch is held to, bit for bit.
void StretchPixelsReference(ConstPixelSpan source, int sourceWidth, int sourceHeight,
                            PixelSpan dest, int destWidth, int destHeight, int bytesPerPixel,
                            const StretchOptions& options);

}  // namespace platform
