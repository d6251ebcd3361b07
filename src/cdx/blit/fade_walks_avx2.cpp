// SPDX-License-Identifier: MIT
// The fade walks in sixteen-pixel steps. This file alone is built with the processor's AVX2
// instructions allowed; fade_walks.cpp calls it only at that level. A row's last eight to
// fifteen pixels take one eight-pixel step (the SSE2 lanes, here in their AVX encoding).

#include "cdx/blit/fade_walk_steps.h"

namespace cdx {

void DarkenPixelsAvx2(const FadeFields& fields, std::uint32_t multiplier, FadePicture source,
                      FadePicture work, int columns, int rows) {
    DarkenPixelsWith<Avx2Lanes, Sse2Lanes>(fields, multiplier, source, work, columns, rows);
}

void MixPixelsAvx2(const FadeFields& fields, std::uint32_t newerMultiplier,
                   std::uint32_t olderMultiplier, FadePicture older, FadePicture newer,
                   FadePicture work, int columns, int rows) {
    MixPixelsWith<Avx2Lanes, Sse2Lanes>(fields, newerMultiplier, olderMultiplier, older, newer,
                                        work, columns, rows);
}

}  // namespace cdx
