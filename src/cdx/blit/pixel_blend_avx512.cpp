// SPDX-License-Identifier: MIT
// The 15- and 16-bit walk in 32-pixel masked steps. This file alone is built with the
// processor's AVX-512 instructions allowed (BW and VL for 16- and 8-bit lanes, BMI2 for the
// lane masks); pixel_blend.cpp calls it only when the processor has them. Masked loads and
// stores take each row whole, its last pixels included, and leave every pixel under a key
// pixel unwritten.

#include <immintrin.h>

#include "cdx/blit/pixel_blend_walk.h"

namespace cdx {

namespace {

struct Avx512Lanes {
    using Reg = __m512i;
    using Mask = __mmask32;
    static constexpr int kPixels = 32;
    static Reg Splat(int value) { return _mm512_set1_epi16(static_cast<short>(value)); }
    // The first `left` lanes, or all of them when that many or more are left.
    static Mask FirstLanes(int left) {
        return left >= kPixels ? ~Mask{0}
                               : static_cast<Mask>(_bzhi_u32(~0u, static_cast<unsigned>(left)));
    }
    static Reg LoadMasked(Mask lanes, const std::uint8_t* at) {
        return _mm512_maskz_loadu_epi16(lanes, at);
    }
    static void StoreMasked(std::uint8_t* at, Mask lanes, Reg value) {
        _mm512_mask_storeu_epi16(at, lanes, value);
    }
    // The lanes' weight bytes, each widened to its pixel's lane; lanes outside the mask read 0.
    static Reg LoadWeightsMasked(Mask lanes, const std::uint8_t* at) {
        return _mm512_cvtepu8_epi16(_mm256_maskz_loadu_epi8(lanes, at));
    }
    // The lanes within the mask whose pixels differ from the key's.
    static Mask Differ(Mask within, Reg pixels, Reg keys) {
        return _mm512_mask_cmpneq_epi16_mask(within, pixels, keys);
    }
    static Reg And(Reg a, Reg b) { return _mm512_and_si512(a, b); }
    static Reg Or(Reg a, Reg b) { return _mm512_or_si512(a, b); }
    static Reg Xor(Reg a, Reg b) { return _mm512_xor_si512(a, b); }
    static Reg Add(Reg a, Reg b) { return _mm512_add_epi16(a, b); }
    static Reg Sub(Reg a, Reg b) { return _mm512_sub_epi16(a, b); }
    static Reg MulLow(Reg a, Reg b) { return _mm512_mullo_epi16(a, b); }
    static Reg MulHighSigned(Reg a, Reg b) { return _mm512_mulhi_epi16(a, b); }
    template <int N>
    static Reg ShiftLeft(Reg a) {
        return _mm512_slli_epi16(a, N);
    }
    template <int N>
    static Reg ShiftRight(Reg a) {
        return _mm512_srli_epi16(a, N);
    }
};

}  // namespace

void Blend16Avx512(const BlendRects& rects, PixelLayout layout, PixelOperation operation,
                   int weight, Key16 key) {
    Blend16With<Avx512Lanes>(rects, layout, operation, weight, key);
}

}  // namespace cdx
