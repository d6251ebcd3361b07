// SPDX-License-Identifier: MIT
// The 15- and 16-bit blend walk in 32-pixel masked steps. This file alone is built with the
// processor's AVX-512 instructions allowed (BW and VL for 16- and 8-bit lanes, BMI2 for the
// lane masks); pixel_blend.cpp calls it only at that level. Masked loads and stores take each
// row whole, its last pixels included, and leave every pixel under a key pixel unwritten.

#include "cdx/blit/pixel_blend_walk.h"

namespace cdx {

void Blend16Avx512(const BlendRects& rects, PixelLayout layout, PixelOperation operation,
                   int weight, Key16 key) {
    Blend16With<Avx512Lanes>(rects, layout, operation, weight, key);
}

}  // namespace cdx
