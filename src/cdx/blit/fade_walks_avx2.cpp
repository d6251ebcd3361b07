// SPDX-License-Identifier: MIT
// The fade walks in sixteen-pixel steps. This file alone is built with the processor's AVX2
// instructions allowed; fade_walks.cpp calls it only when the processor level in use has them.
// A row's last eight to fifteen pixels take one eight-pixel step (the SSE2 lanes, here in
// their AVX encoding).

#include <immintrin.h>

#include "cdx/blit/fade_walk_steps.h"

namespace cdx {

namespace {

struct FadeAvx2Lanes {
    using Reg = __m256i;
    static constexpr int kPixels = 16;
    static Reg Splat(std::uint16_t value) { return _mm256_set1_epi16(static_cast<short>(value)); }
    static Reg Load(const std::uint8_t* at) {
        return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    }
    static void Store(std::uint8_t* at, Reg value) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), value);
    }
    static Reg And(Reg a, Reg b) { return _mm256_and_si256(a, b); }
    static Reg Add(Reg a, Reg b) { return _mm256_add_epi16(a, b); }
    static Reg MulHigh(Reg a, Reg b) { return _mm256_mulhi_epu16(a, b); }
    static Reg ShiftRight(Reg a, __m128i count) { return _mm256_srl_epi16(a, count); }
    static Reg ShiftLeft(Reg a, __m128i count) { return _mm256_sll_epi16(a, count); }
};

}  // namespace

void DarkenPixelsAvx2(const FadeFields& fields, std::uint32_t multiplier, FadePicture source,
                      FadePicture work, int columns, int rows) {
    DarkenPixelsWith<FadeAvx2Lanes, FadeSse2Lanes>(fields, multiplier, source, work, columns, rows);
}

void MixPixelsAvx2(const FadeFields& fields, std::uint32_t newerMultiplier,
                   std::uint32_t olderMultiplier, FadePicture older, FadePicture newer,
                   FadePicture work, int columns, int rows) {
    MixPixelsWith<FadeAvx2Lanes, FadeSse2Lanes>(fields, newerMultiplier, olderMultiplier, older,
                                                newer, work, columns, rows);
}

}  // namespace cdx
