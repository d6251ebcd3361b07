// SPDX-License-Identifier: MIT
#pragma once

// The vector registers of the blend and fade walks as "lanes" types: one per step width, each
// holding 16-bit lanes (one pixel or one channel per lane) and spelling the operations the
// walks need in its own instructions. Sse2Lanes hold eight lanes, Avx2Lanes sixteen and
// Avx512Lanes 32, whose loads and stores take a mask of lanes. A type exists only in files
// built with its instructions allowed: the baseline files see Sse2Lanes alone, the AVX2 files
// Sse2Lanes (in their AVX encoding) and Avx2Lanes, the AVX-512 files all three.
//
// Everything sits in an unnamed namespace: each file that includes this header gets its own
// copy of every operation, built for that file's instruction set, and the linker can never
// hand one file's copy to another. Nothing here instantiates a template of the standard
// library, whose instantiations files do share.

#include <cstdint>
#include <cstring>

#if defined(__AVX2__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace cdx {
namespace {

#if defined(__SSE2__)
// Eight 16-bit lanes in an SSE2 register.
struct Sse2Lanes {
    using Reg = __m128i;
    static constexpr int kPixels = 8;
    static Reg Splat(int value) { return _mm_set1_epi16(static_cast<short>(value)); }
    static Reg Load(const std::uint8_t* at) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    }
    static void Store(std::uint8_t* at, Reg value) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(at), value);
    }
    // Eight weight bytes, each widened to its pixel's lane.
    static Reg LoadWeights(const std::uint8_t* at) {
        return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(at)),
                                 _mm_setzero_si128());
    }
    static bool WeightsAllZero(const std::uint8_t* at) {
        std::uint64_t weights;
        std::memcpy(&weights, at, sizeof weights);
        return weights == 0;
    }
    static Reg And(Reg a, Reg b) { return _mm_and_si128(a, b); }
    static Reg Or(Reg a, Reg b) { return _mm_or_si128(a, b); }
    static Reg Xor(Reg a, Reg b) { return _mm_xor_si128(a, b); }
    static Reg Add(Reg a, Reg b) { return _mm_add_epi16(a, b); }
    static Reg Sub(Reg a, Reg b) { return _mm_sub_epi16(a, b); }
    static Reg MulLow(Reg a, Reg b) { return _mm_mullo_epi16(a, b); }
    // The upper half of the signed 32-bit product: floor(a x b / 65536).
    static Reg MulHighSigned(Reg a, Reg b) { return _mm_mulhi_epi16(a, b); }
    // The same for unsigned lanes.
    static Reg MulHighUnsigned(Reg a, Reg b) { return _mm_mulhi_epu16(a, b); }
    template <int N>
    static Reg ShiftLeft(Reg a) {
        return _mm_slli_epi16(a, N);
    }
    template <int N>
    static Reg ShiftRight(Reg a) {
        return _mm_srli_epi16(a, N);
    }
    // Shifts by a count known only at run time, made once by ShiftCount.
    using Count = __m128i;
    static Count ShiftCount(int bits) { return _mm_cvtsi32_si128(bits); }
    static Reg ShiftLeftBy(Reg a, Count count) { return _mm_sll_epi16(a, count); }
    static Reg ShiftRightBy(Reg a, Count count) { return _mm_srl_epi16(a, count); }
    static Reg Equal(Reg a, Reg b) { return _mm_cmpeq_epi16(a, b); }
    static bool AllSet(Reg mask) { return _mm_movemask_epi8(mask) == 0xFFFF; }
    // Lanes where mask is set from whenSet, the others from otherwise.
    static Reg Select(Reg mask, Reg whenSet, Reg otherwise) {
        return _mm_or_si128(_mm_and_si128(mask, whenSet), _mm_andnot_si128(mask, otherwise));
    }
};
#endif

#if defined(__AVX2__)
// Sixteen 16-bit lanes in an AVX2 register.
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
    static Reg MulHighUnsigned(Reg a, Reg b) { return _mm256_mulhi_epu16(a, b); }
    template <int N>
    static Reg ShiftLeft(Reg a) {
        return _mm256_slli_epi16(a, N);
    }
    template <int N>
    static Reg ShiftRight(Reg a) {
        return _mm256_srli_epi16(a, N);
    }
    using Count = __m128i;
    static Count ShiftCount(int bits) { return _mm_cvtsi32_si128(bits); }
    static Reg ShiftLeftBy(Reg a, Count count) { return _mm256_sll_epi16(a, count); }
    static Reg ShiftRightBy(Reg a, Count count) { return _mm256_srl_epi16(a, count); }
    static Reg Equal(Reg a, Reg b) { return _mm256_cmpeq_epi16(a, b); }
    static bool AllSet(Reg mask) { return _mm256_movemask_epi8(mask) == -1; }
    static Reg Select(Reg mask, Reg whenSet, Reg otherwise) {
        return _mm256_blendv_epi8(otherwise, whenSet, mask);
    }
};
#endif

#if defined(__AVX512BW__) && defined(__AVX512VL__) && defined(__BMI2__)
// 32 16-bit lanes in an AVX-512 register, loaded and stored through a mask of lanes, so that a
// step may take a row's last pixels and leave any lane of the destination unwritten.
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
#endif

}  // namespace
}  // namespace cdx
