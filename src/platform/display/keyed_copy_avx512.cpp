// SPDX-License-Identifier: MIT
// The keyed copy in 64-byte masked steps. This file alone is built with the processor's
// AVX-512 instructions allowed (BW for byte and word lanes, BMI2 for the lane masks);
// pixel_blits.cpp calls it only at that level.

#include <immintrin.h>

#include "platform/display/keyed_copy_walk.h"

namespace platform {
namespace {

// The 64-byte masked moves for one pixel size.
struct Bytes8 {
    using Mask = __mmask64;
    static constexpr int kPerVector = 64;
    static __m512i Broadcast(std::uint32_t key) { return _mm512_set1_epi8(static_cast<char>(key)); }
    static Mask Differ(Mask within, __m512i pixels, __m512i keys) {
        return _mm512_mask_cmpneq_epi8_mask(within, pixels, keys);
    }
    static __m512i Load(Mask within, const void* at) { return _mm512_maskz_loadu_epi8(within, at); }
    static void Store(void* at, Mask which, __m512i pixels) {
        _mm512_mask_storeu_epi8(at, which, pixels);
    }
};
struct Bytes16 {
    using Mask = __mmask32;
    static constexpr int kPerVector = 32;
    static __m512i Broadcast(std::uint32_t key) {
        return _mm512_set1_epi16(static_cast<short>(key));
    }
    static Mask Differ(Mask within, __m512i pixels, __m512i keys) {
        return _mm512_mask_cmpneq_epi16_mask(within, pixels, keys);
    }
    static __m512i Load(Mask within, const void* at) {
        return _mm512_maskz_loadu_epi16(within, at);
    }
    static void Store(void* at, Mask which, __m512i pixels) {
        _mm512_mask_storeu_epi16(at, which, pixels);
    }
};
struct Bytes32 {
    using Mask = __mmask16;
    static constexpr int kPerVector = 16;
    static __m512i Broadcast(std::uint32_t key) { return _mm512_set1_epi32(static_cast<int>(key)); }
    static Mask Differ(Mask within, __m512i pixels, __m512i keys) {
        return _mm512_mask_cmpneq_epi32_mask(within, pixels, keys);
    }
    static __m512i Load(Mask within, const void* at) {
        return _mm512_maskz_loadu_epi32(within, at);
    }
    static void Store(void* at, Mask which, __m512i pixels) {
        _mm512_mask_storeu_epi32(at, which, pixels);
    }
};

template <class V>
void CopyRows(ConstPixelSpan source, PixelSpan dest, int width, int height, std::uint32_t key) {
    constexpr int kBytesPerPixel = 64 / V::kPerVector;
    const __m512i keys = V::Broadcast(key);
    const auto all = static_cast<typename V::Mask>(~0ull);
    const int wholeColumns = width - width % V::kPerVector;
    // The row's last pixels, fewer than one vector: only they are loaded and compared.
    const auto tail = static_cast<typename V::Mask>(_bzhi_u64(~0ull, width - wholeColumns));
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* from = source.first + static_cast<std::ptrdiff_t>(row) * source.pitch;
        std::uint8_t* to = dest.first + static_cast<std::ptrdiff_t>(row) * dest.pitch;
        int column = 0;
        for (; column < wholeColumns; column += V::kPerVector) {
            const std::ptrdiff_t offset = static_cast<std::ptrdiff_t>(column) * kBytesPerPixel;
            const __m512i pixels = _mm512_loadu_si512(from + offset);
            V::Store(to + offset, V::Differ(all, pixels, keys), pixels);
        }
        if (tail != 0) {
            const std::ptrdiff_t offset = static_cast<std::ptrdiff_t>(column) * kBytesPerPixel;
            const __m512i pixels = V::Load(tail, from + offset);
            V::Store(to + offset, V::Differ(tail, pixels, keys), pixels);
        }
    }
}

}  // namespace

bool KeyedCopyAvx512(ConstPixelSpan source, PixelSpan dest, int width, int height,
                     int bytesPerPixel, std::uint32_t key) {
    switch (bytesPerPixel) {
        case 1:
            CopyRows<Bytes8>(source, dest, width, height, key);
            return true;
        case 2:
            CopyRows<Bytes16>(source, dest, width, height, key);
            return true;
        case 4:
            CopyRows<Bytes32>(source, dest, width, height, key);
            return true;
        default:
            return false;
    }
}

}  // namespace platform
