// SPDX-License-Identifier: MIT
// The 15- and 16-bit blend walk in sixteen-pixel steps. This file alone is built with the
// processor's AVX2 instructions allowed; pixel_blend.cpp calls it only at that level. A
// rectangle narrower than sixteen pixels (a frame cut by an edge) takes eight-pixel steps (the
// SSE2 lanes, here in their AVX encoding) or pairs.

#include "cdx/blit/pixel_blend_walk.h"

namespace cdx {

void Blend16Avx2(const BlendRects& rects, PixelLayout layout, PixelOperation operation, int weight,
                 Key16 key) {
    Blend16With<Avx2Lanes, Sse2Lanes>(rects, layout, operation, weight, key);
}

}  // namespace cdx
