// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <vector>

#include "rgb_image.h"

namespace datagen {

// A 256-colour palette that represents the given pictures well (median cut over their pixels),
// for displays that can only show indexed colour. Entry 0 is black, the map's transparent
// colour index.
std::array<Rgb8, 256> BuildPalette(const std::vector<RgbImage>& images);

}  // namespace datagen
