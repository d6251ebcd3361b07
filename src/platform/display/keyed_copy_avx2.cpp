// SPDX-License-Identifier: MIT
// The keyed copy in 32-byte steps. This file alone is built with the processor's AVX2
// instructions allowed; pixel_blits.cpp calls it only at that level.

#include <immintrin.h>

#include "platform/display/keyed_copy_walk.h"

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

// One step of kPerStep pixels at offset bytes into both rows: pixels equal to the key keep
// the destination's bytes, every other pixel takes the source's. A step of key pixels alone
// neither reads nor writes the destination.
template <int kBytesPerPixel>
void CopyStep(const std::uint8_t* from, std::uint8_t* to, std::ptrdiff_t offset, __m256i keys) {
    auto* at = reinterpret_cast<__m256i*>(to + offset);
    const __m256i pixels = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + offset));
    const __m256i keep = EqualToKey<kBytesPerPixel>(pixels, keys);
    if (_mm256_movemask_epi8(keep) == -1) return;
    _mm256_storeu_si256(at, _mm256_blendv_epi8(pixels, _mm256_loadu_si256(at), keep));
}

// Rows of one or two steps (a sprite frame's): the row's first step and a step that ends at
// the row's end, overlapping the first in rows narrower than two steps. A row whose steps hold
// nothing but key pixels (a quarter of a sprite frame's rows) neither reads nor writes the
// destination, for one branch a row; otherwise both steps are mixed with the destination
// before either is stored, so that no read waits on an overlapping write, and the overlap is
// written twice with the same pixels.
template <int kBytesPerPixel>
void CopyNarrowRows(ConstPixelSpan source, PixelSpan dest, std::ptrdiff_t lastStep, int height,
                    __m256i keys) {
    const std::uint8_t* from = source.first;
    std::uint8_t* to = dest.first;
    for (int row = 0; row < height; ++row, from += source.pitch, to += dest.pitch) {
        const __m256i first = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from));
        const __m256i last = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + lastStep));
        const __m256i keepFirst = EqualToKey<kBytesPerPixel>(first, keys);
        const __m256i keepLast = EqualToKey<kBytesPerPixel>(last, keys);
        if (_mm256_movemask_epi8(_mm256_and_si256(keepFirst, keepLast)) == -1) continue;
        auto* atFirst = reinterpret_cast<__m256i*>(to);
        auto* atLast = reinterpret_cast<__m256i*>(to + lastStep);
        const __m256i mixedFirst =
            _mm256_blendv_epi8(first, _mm256_loadu_si256(atFirst), keepFirst);
        const __m256i mixedLast = _mm256_blendv_epi8(last, _mm256_loadu_si256(atLast), keepLast);
        _mm256_storeu_si256(atFirst, mixedFirst);
        _mm256_storeu_si256(atLast, mixedLast);
    }
}

// A step is idempotent: taken again over pixels it has already copied, it writes each of them
// as it already is (a source pixel, or the destination's own under a key pixel). So a row's
// last pixels, fewer than a step, are covered by one more step that ends at the row's end and
// overlaps the one before it, instead of a plain loop.
template <int kBytesPerPixel>
void CopyRows(ConstPixelSpan source, PixelSpan dest, int width, int height, std::uint32_t key) {
    constexpr int kPerStep = 32 / kBytesPerPixel;
    const __m256i keys = Broadcast<kBytesPerPixel>(key);
    const std::ptrdiff_t lastStep = static_cast<std::ptrdiff_t>(width - kPerStep) * kBytesPerPixel;
    if (lastStep <= 32) return CopyNarrowRows<kBytesPerPixel>(source, dest, lastStep, height, keys);
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* from = source.first + static_cast<std::ptrdiff_t>(row) * source.pitch;
        std::uint8_t* to = dest.first + static_cast<std::ptrdiff_t>(row) * dest.pitch;
        for (std::ptrdiff_t offset = 0; offset < lastStep; offset += 32) {
            CopyStep<kBytesPerPixel>(from, to, offset, keys);
        }
        CopyStep<kBytesPerPixel>(from, to, lastStep, keys);
    }
}

}  // namespace

bool KeyedCopyAvx2(ConstPixelSpan source, PixelSpan dest, int width, int height, int bytesPerPixel,
                   std::uint32_t key) {
    if (width * bytesPerPixel < 32) return false;
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
