// SPDX-License-Identifier: MIT
#pragma once

// The keyed copy in 32-byte steps, in a file of its own built for AVX2: pixel_blits.cpp
// chooses it at run time on processors that have it and lack the masked moves of AVX-512.

#include "platform/display/pixel_blits.h"

namespace platform {

// CopyPixelsKeyed for pixels of 1, 2 or 4 bytes in rows of 32 bytes or more (others are
// refused: false, nothing written), key already cut to the pixel's bits. Every step mixes the
// source and the destination under the key's mask and stores the whole step: a destination
// pixel under a key pixel is written back as it was. A step of key pixels alone is skipped
// (in rows of one or two steps, a sprite frame's, the row's steps together): on sprite frames
// about a third of the steps are, which outweighs the branches the processor cannot foresee.
// A row's last bytes, fewer than a step, take one more step that overlaps the one before. The
// source and the destination must not overlap.
bool KeyedCopyAvx2(ConstPixelSpan source, PixelSpan dest, int width, int height, int bytesPerPixel,
                   std::uint32_t key);

}  // namespace platform
