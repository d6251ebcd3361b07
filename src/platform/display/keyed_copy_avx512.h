// SPDX-License-Identifier: MIT
#pragma once

// The keyed copy with AVX-512 masked moves, in a file of its own built for AVX-512 (with
// BMI2): pixel_blits.cpp chooses it at run time on processors that have both.

#include "platform/display/pixel_blits.h"

namespace platform {

// CopyPixelsKeyed for pixels of 1, 2 or 4 bytes (others are refused: false, nothing
// written), key already cut to the pixel's bits. 64 bytes of a row at a time, a row's last
// bytes through a load mask: pixels that differ from the key are stored through a store mask,
// and no destination byte under a key pixel is read or written.
bool KeyedCopyMasked(ConstPixelSpan source, PixelSpan dest, int width, int height,
                     int bytesPerPixel, std::uint32_t key);

}  // namespace platform
