// SPDX-License-Identifier: MIT
#pragma once

// The conversion of 16-bit pictures at each processor level: present_convert.cpp picks one by
// the level in use. Each converts height rows of width 16-bit pixels (5-6-5, or 5-5-5 where
// fiveFiveFive) into opaque ARGB words, widening each channel to eight bits by repeating its
// top bits. The file of each level is built with that level's instructions allowed, so this
// header holds plain types only: no inline function that file could compile a second time for
// its instructions.

#include <cstddef>
#include <cstdint>

namespace platform {

// Eight-pixel SSE2 steps (present_convert.cpp; only builds with SSE2 have them).
void ConvertRows16Baseline(const std::uint8_t* pixels, std::ptrdiff_t pitch, int width, int height,
                           std::uint32_t* out, std::ptrdiff_t outPitchBytes, bool fiveFiveFive);
// Sixteen-pixel AVX2 steps (present_convert_avx2.cpp).
void ConvertRows16Avx2(const std::uint8_t* pixels, std::ptrdiff_t pitch, int width, int height,
                       std::uint32_t* out, std::ptrdiff_t outPitchBytes, bool fiveFiveFive);

}  // namespace platform
