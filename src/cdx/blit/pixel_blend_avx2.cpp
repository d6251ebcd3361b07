// SPDX-License-Identifier: MIT
// The 15- and 16-bit walk in sixteen-pixel steps. This file alone is built with the
// processor's AVX2 instructions allowed; pixel_blend.cpp calls it only when the processor has
// them. A rectangle narrower than sixteen pixels (a frame cut by an edge) takes eight-pixel
// steps (the same SSE2 lanes, here in their AVX encoding) or pairs.

#include <immintrin.h>

#include "cdx/blit/pixel_blend_walk.h"

namespace cdx {

namespace {

struct Avx2Lanes {
    using Reg = __m256i;
    static constexpr int kPixels = 16;
    static Reg Splat(int value) { return _mm256_set1_epi16(static_cast<short>(value)); }
    static Reg Load(const std::uint8_t* at) {
        return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    }
    static void Store(std::uint8_t* at, Reg value) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), value);
    }
    // Sixteen weight bytes, each widened to its pixel's lane.
    static Reg LoadWeights(const std::uint8_t* at) {
        return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)));
    }
    static bool WeightsAllZero(const std::uint8_t* at) {
        const __m128i weights = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        return _mm_testz_si128(weights, weights) != 0;
    }
    static Reg And(Reg a, Reg b) { return _mm256_and_si256(a, b); }
    static Reg Or(Reg a, Reg b) { return _mm256_or_si256(a, b); }
    static Reg Xor(Reg a, Reg b) { return _mm256_xor_si256(a, b); }
    static Reg Add(Reg a, Reg b) { return _mm256_add_epi16(a, b); }
    static Reg Sub(Reg a, Reg b) { return _mm256_sub_epi16(a, b); }
    static Reg MulLow(Reg a, Reg b) { return _mm256_mullo_epi16(a, b); }
    static Reg MulHighSigned(Reg a, Reg b) { return _mm256_mulhi_epi16(a, b); }
    template <int N>
    static Reg ShiftLeft(Reg a) {
        return _mm256_slli_epi16(a, N);
    }
    template <int N>
    static Reg ShiftRight(Reg a) {
        return _mm256_srli_epi16(a, N);
    }
    static Reg Equal(Reg a, Reg b) { return _mm256_cmpeq_epi16(a, b); }
    static bool AllSet(Reg mask) { return _mm256_movemask_epi8(mask) == -1; }
    static Reg Select(Reg mask, Reg whenSet, Reg otherwise) {
        return _mm256_blendv_epi8(otherwise, whenSet, mask);
    }
};

}  // namespace

void Blend16Avx2(const BlendRects& rects, PixelLayout layout, PixelOperation operation, int weight,
                 Key16 key) {
    Blend16With<Avx2Lanes, Sse2Lanes>(rects, layout, operation, weight, key);
}

}  // namespace cdx
