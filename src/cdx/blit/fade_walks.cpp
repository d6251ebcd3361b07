// SPDX-License-Identifier: MIT
#include "cdx/blit/fade_walks.h"

#include "cdx/blit/fade_walk_steps.h"
#include "platform/host/processor_features.h"

namespace cdx {

namespace {

// The sixteen-pixel steps, where this build compiled them and the processor level in use
// allows them.
bool SixteenPixelSteps() {
#if defined(ZELTO_FADE_AVX2)
    return platform::ProcessorHasAvx2();
#else
    return false;
#endif
}

}  // namespace

void DarkenPixels(const FadeFields& fields, std::uint32_t multiplier, FadePicture source,
                  FadePicture work, int columns, int rows) {
    if (columns <= 0 || rows <= 0) return;
#if defined(ZELTO_FADE_AVX2)
    if (SixteenPixelSteps()) {
        return DarkenPixelsAvx2(fields, multiplier, source, work, columns, rows);
    }
#endif
    DarkenPixelsWith<FadeSse2Lanes, FadeSse2Lanes>(fields, multiplier, source, work, columns, rows);
}

void MixPixels(const FadeFields& fields, std::uint32_t newerMultiplier,
               std::uint32_t olderMultiplier, FadePicture older, FadePicture newer,
               FadePicture work, int columns, int rows) {
    if (columns <= 0 || rows <= 0) return;
#if defined(ZELTO_FADE_AVX2)
    if (SixteenPixelSteps()) {
        return MixPixelsAvx2(fields, newerMultiplier, olderMultiplier, older, newer, work, columns,
                             rows);
    }
#endif
    MixPixelsWith<FadeSse2Lanes, FadeSse2Lanes>(fields, newerMultiplier, olderMultiplier, older,
                                                newer, work, columns, rows);
}

}  // namespace cdx
