// SPDX-License-Identifier: MIT
#pragma once

// Fills rectangles of 1, 2, 3 or 4-byte little-endian pixels with one value at the speed of
// memory: the value's repeating byte pattern is built once, and every row is then written
// with wide stores. A row's bytes past its last pixel (a pitch's padding) are never written.

#include <cstdint>

namespace platform {

struct PixelSpan;  // pixel_blits.h, which includes this header for its callers

// Writes the low bytesPerPixel bytes of value to every pixel of the width x height rectangle,
// with the widest stores the processor has. A rectangle without pixels or a pixel size other
// than 1 to 4 bytes leaves memory untouched.
void FillPixels(PixelSpan dest, int width, int height, int bytesPerPixel, std::uint32_t value);

// The store widths the fill can use, so tests can hold each one to the reference.
enum class FillStores { k16Bytes, k32Bytes };
bool FillStoresAvailable(FillStores stores);
// FillPixels with the given stores; returns false, writing nothing, where the processor or
// the build lacks them.
bool FillPixelsWithStores(FillStores stores, PixelSpan dest, int width, int height,
                          int bytesPerPixel, std::uint32_t value);

// The plain per-pixel loop that the fast fill is held to, bit for bit.
void FillPixelsReference(PixelSpan dest, int width, int height, int bytesPerPixel,
                         std::uint32_t value);

}  // namespace platform
