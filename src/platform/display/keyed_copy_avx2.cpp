// SPDX-License-Identifier: MIT
#include "keyed_copy_avx2.h"

#include <immintrin.h>

namespace platform {
namespace {

template <int kBytesPerPixel>
__m256i EqualToKey(__m256i pixels, __m256i keys) {
    if constexpr (kBytesPerPixel == 1) return _mm256_cmpeq_epi8(pixels, keys);
    if constexpr (kBytesPerPixel == 2) return _mm256_cmpeq_epi16(pixels, keys);
    return _mm256_cmpeq_epi32(pixels, keys);
}

template <int kBytesPerPixel>
__m256i Broadcast(std::uint32_t key) {
    if constexpr (kBytesPerPixel == 1) return _mm256_set1_epi8(static_cast<char>(key));
    if constexpr (kBytesPerPixel == 2) return _mm256_set1_epi16(static_cast<short>(key));
    return _mm256_set1_epi32(static_cast<int>(key));
}

template <int kBytesPerPixel>
void CopyRows(ConstPixelSpan source, PixelSpan dest, int width, int height, std::uint32_t key) {
    constexpr int kPerStep = 32 / kBytesPerPixel;
    const __m256i keys = Broadcast<kBytesPerPixel>(key);
    const int stepColumns = width - width % kPerStep;
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* from = source.first + static_cast<std::ptrdiff_t>(row) * source.pitch;
        std::uint8_t* to = dest.first + static_cast<std::ptrdiff_t>(row) * dest.pitch;
        int column = 0;
        for (; column < stepColumns; column += kPerStep) {
            const std::ptrdiff_t offset = static_cast<std::ptrdiff_t>(column) * kBytesPerPixel;
            auto* at = reinterpret_cast<__m256i*>(to + offset);
            const __m256i pixels =
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + offset));
            const __m256i keep = EqualToKey<kBytesPerPixel>(pixels, keys);
            _mm256_storeu_si256(at, _mm256_blendv_epi8(pixels, _mm256_loadu_si256(at), keep));
        }
        if (column < width) {
            CopyPixelsKeyedReference(
                ConstPixelSpan{from + static_cast<std::ptrdiff_t>(column) * kBytesPerPixel, 0},
                PixelSpan{to + static_cast<std::ptrdiff_t>(column) * kBytesPerPixel, 0},
                width - column, 1, kBytesPerPixel, key);
        }
    }
}

}  // namespace

bool KeyedCopyAvx2(ConstPixelSpan source, PixelSpan dest, int width, int height, int bytesPerPixel,
                   std::uint32_t key) {
    switch (bytesPerPixel) {
        case 1:
            CopyRows<1>(source, dest, width, height, key);
            return true;
        case 2:
            CopyRows<2>(source, dest, width, height, key);
            return true;
        case 4:
            CopyRows<4>(source, dest, width, height, key);
            return true;
        default:
            return false;
    }
}

}  // namespace platform
