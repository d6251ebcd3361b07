// SPDX-License-Identifier: MIT
// The fader's sixteen-pixel steps. This file alone is built with the processor's AVX2
// instructions allowed; fader_vector_passes.cpp calls it only when the processor has them. A
// row's last eight to fifteen pixels take one eight-pixel step (the SSE2 lanes, here in their
// AVX encoding).

#include <immintrin.h>

#include "fader_vector_walk.h"

namespace zelto {

namespace {

struct Avx2Lanes {
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
    static Reg Or(Reg a, Reg b) { return _mm256_or_si256(a, b); }
    static Reg Add(Reg a, Reg b) { return _mm256_add_epi16(a, b); }
    static Reg MulHigh(Reg a, Reg b) { return _mm256_mulhi_epu16(a, b); }
};

}  // namespace

int DarkenRowsAvx2(const FaderFields& fields, const FaderLaneLevel& level, FaderPicture source,
                   FaderPicture work, int columns, int rows) {
    return DarkenRowsWith<Avx2Lanes, Sse2Lanes>(fields, level, source, work, columns, rows);
}

int MixRowsAvx2(const FaderFields& fields, const FaderLaneLevel& newerLevel,
                const FaderLaneLevel& olderLevel, FaderPicture older, FaderPicture newer,
                FaderPicture work, int columns, int rows) {
    return MixRowsWith<Avx2Lanes, Sse2Lanes>(fields, newerLevel, olderLevel, older, newer, work,
                                             columns, rows);
}

}  // namespace zelto
