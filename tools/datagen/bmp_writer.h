// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

#include "rgb_image.h"

namespace datagen {

// An uncompressed 24-bit Windows bitmap file image: 14-byte file header, 40-byte info header,
// then the rows from the bottom up, each padded to a multiple of four bytes.
std::vector<std::uint8_t> EncodeBmp(const RgbImage& image);

}  // namespace datagen
