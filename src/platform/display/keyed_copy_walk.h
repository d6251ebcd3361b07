// SPDX-License-Identifier: MIT
#pragma once

// The keyed copy at each processor level: pixel_blits.cpp picks one by the level in use. Each
// takes pixels of 1, 2 or 4 bytes, the key already cut to the pixel's bits, and refuses what it
// cannot copy (false, nothing written), which the next level down then takes. The source and
// the destination must not overlap.

#include <cstdint>

#include "platform/display/pixel_blits.h"

namespace platform {

// 16-byte SSE2 steps (pixel_blits.cpp), for any row; pixels of 3 bytes, rows narrower than a
// step and builds without SSE2 take the plain loop. Never refuses.
bool KeyedCopyBaseline(ConstPixelSpan source, PixelSpan dest, int width, int height,
                       int bytesPerPixel, std::uint32_t key);

// 32-byte AVX2 steps (keyed_copy_avx2.cpp), for rows of 32 bytes or more. Every step mixes the
// source and the destination under the key's mask and stores the whole step: a destination
// pixel under a key pixel is written back as it was. A step of key pixels alone is skipped (in
// rows of one or two steps, a sprite frame's, the row's steps together): on sprite frames
// about a third of the steps are, which outweighs the branches the processor cannot foresee.
// A row's last bytes, fewer than a step, take one more step that overlaps the one before.
bool KeyedCopyAvx2(ConstPixelSpan source, PixelSpan dest, int width, int height, int bytesPerPixel,
                   std::uint32_t key);

// 64-byte AVX-512 masked moves (keyed_copy_avx512.cpp), for any row: a row's last bytes
// through a load mask, pixels that differ from the key stored through a store mask, so no
// destination byte under a key pixel is read or written.
bool KeyedCopyAvx512(ConstPixelSpan source, PixelSpan dest, int width, int height,
                     int bytesPerPixel, std::uint32_t key);

}  // namespace platform
