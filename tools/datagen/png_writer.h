// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

#include "canvas.h"

namespace datagen {

// A PNG file image of the canvas: 8-bit RGB with alpha, not interlaced, the rows unfiltered in
// stored (uncompressed) deflate blocks. Icons are small, so plain storage costs little and
// needs no compressor.
std::vector<std::uint8_t> EncodePng(const Canvas& canvas);

}  // namespace datagen
