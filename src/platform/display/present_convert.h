// SPDX-License-Identifier: MIT
#pragma once

// Turns a presented picture (the primary surface in its own format) into the 32-bit ARGB
// pixels of the host's texture, alpha 255. Channels narrower than eight bits are widened by
// repeating their top bits, so full intensity stays full and black stays black.

#include <cstdint>

#include "platform/host/host.h"

namespace platform {

// The fast conversion: 16 and 15-bit pictures take the widest vector steps the processor has.
void ConvertPictureToArgb(const PresentedPicture& picture, std::uint32_t* out, int outPitchBytes);

// The vector steps for 16 and 15-bit pictures, so tests and benchmarks can hold each one to
// the reference. Pictures of other depths take the plain conversion whichever is named.
enum class ConversionSteps { kSse2, kAvx2 };
bool ConversionStepsAvailable(ConversionSteps steps);
// ConvertPictureToArgb with the given steps; returns false, writing nothing, where the
// processor or the build lacks them.
bool ConvertPictureToArgbWithSteps(ConversionSteps steps, const PresentedPicture& picture,
                                   std::uint32_t* out, int outPitchBytes);
// The plain per-pixel conversion the fast one is tested against.
void ConvertPictureToArgbReference(const PresentedPicture& picture, std::uint32_t* out,
                                   int outPitchBytes);

}  // namespace platform
