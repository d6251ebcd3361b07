// SPDX-License-Identifier: MIT
#include "cdx/blit/fade_walks.h"

#include "cdx/blit/fade_walk_steps.h"
#include "platform/host/processor_features.h"

namespace cdx {

void DarkenPixels(const FadeFields& fields, std::uint32_t multiplier, FadePicture source,
                  FadePicture work, int columns, int rows) {
    if (columns <= 0 || rows <= 0) return;
    // The steps of the level in use, where this build compiled them; there are no wider steps
    // than AVX2's.
    switch (platform::ProcessorLevelInUse()) {
#if defined(ZELTO_WIDER_STEPS)
        case platform::ProcessorLevel::kAvx512:
        case platform::ProcessorLevel::kAvx2:
            return DarkenPixelsAvx2(fields, multiplier, source, work, columns, rows);
#endif
        default:
            return DarkenPixelsBaseline(fields, multiplier, source, work, columns, rows);
    }
}

void MixPixels(const FadeFields& fields, std::uint32_t newerMultiplier,
               std::uint32_t olderMultiplier, FadePicture older, FadePicture newer,
               FadePicture work, int columns, int rows) {
    if (columns <= 0 || rows <= 0) return;
    switch (platform::ProcessorLevelInUse()) {
#if defined(ZELTO_WIDER_STEPS)
        case platform::ProcessorLevel::kAvx512:
        case platform::ProcessorLevel::kAvx2:
            return MixPixelsAvx2(fields, newerMultiplier, olderMultiplier, older, newer, work,
                                 columns, rows);
#endif
        default:
            return MixPixelsBaseline(fields, newerMultiplier, olderMultiplier, older, newer, work,
                                     columns, rows);
    }
}

void DarkenPixelsBaseline(const FadeFields& fields, std::uint32_t multiplier, FadePicture source,
                          FadePicture work, int columns, int rows) {
    DarkenPixelsWith<Sse2Lanes, Sse2Lanes>(fields, multiplier, source, work, columns, rows);
}

void MixPixelsBaseline(const FadeFields& fields, std::uint32_t newerMultiplier,
                       std::uint32_t olderMultiplier, FadePicture older, FadePicture newer,
                       FadePicture work, int columns, int rows) {
    MixPixelsWith<Sse2Lanes, Sse2Lanes>(fields, newerMultiplier, olderMultiplier, older, newer,
                                        work, columns, rows);
}

}  // namespace cdx
