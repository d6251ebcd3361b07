// SPDX-License-Identifier: MIT
// The fill's walk in 32-byte stores. This file alone is built with the processor's AVX2
// instructions allowed; pixel_fill.cpp calls it only when the processor has them.

#include <immintrin.h>

#include "platform/display/pixel_fill_walk.h"

namespace platform {
namespace {

struct Avx2Lanes {
    using Reg = __m256i;
    static Reg Load(const std::uint8_t* at) {
        return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    }
    static void Store(std::uint8_t* at, Reg value) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), value);
    }
    static void StoreAligned(std::uint8_t* at, Reg value) {
        _mm256_store_si256(reinterpret_cast<__m256i*>(at), value);
    }
};

}  // namespace

void FillRunAvx2(const FillRun& run) {
    FillRunWith<Avx2Lanes>(run);
}

}  // namespace platform
