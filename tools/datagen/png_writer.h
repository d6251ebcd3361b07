#pragma once

#include <cstdint>
#include <vector>

#include "rgb_image.h"

namespace datagen {

// A PNG file image: 8-bit RGB, not interlaced, the rows unfiltered in stored (uncompressed)
// deflate blocks. Icons are small, so plain storage costs little and needs no compressor.
std::vector<std::uint8_t> EncodePng(const RgbImage& image);

}  // namespace datagen
