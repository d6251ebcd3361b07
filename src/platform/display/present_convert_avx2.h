// SPDX-License-Identifier: MIT
#pragma once

// The presented picture's 16-pixel AVX2 steps. present_convert_avx2.cpp alone is built with
// the processor's AVX2 instructions allowed, so it sees plain types only: no header whose
// inline functions it could compile a second time for AVX2.

#include <cstddef>
#include <cstdint>

namespace platform {

// Converts height rows of width 16-bit pixels (5-6-5, or 5-5-5 where fiveFiveFive) into
// opaque ARGB words, widening each channel to eight bits by repeating its top bits. Call only
// on processors that have AVX2.
void ConvertRows16ToArgbAvx2(const std::uint8_t* pixels, std::ptrdiff_t pitch, int width,
                             int height, std::uint32_t* out, std::ptrdiff_t outPitchBytes,
                             bool fiveFiveFive);

}  // namespace platform
