// SPDX-License-Identifier: MIT
// The conversion of 16-bit pictures in sixteen-pixel steps, each channel widened by one
// multiply (channel_widening.h). This file alone is built with the processor's AVX2
// instructions allowed; present_convert.cpp calls it only at that level. A row's last pixels,
// fewer than sixteen, go through the same step from a small staging buffer, so nothing is read
// or written past the row.

#include <immintrin.h>

#include <cstring>

#include "platform/display/channel_widening.h"
#include "platform/display/present_convert_walk.h"

namespace platform {
namespace {

void ConvertSixteen(const std::uint8_t* from, std::uint32_t* to, const ChannelWidening& widen) {
    __m256i pixels = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from));
    // Quarters 0, 2, 1, 3: the in-lane interleave at the end then yields pixels in order.
    pixels = _mm256_permute4x64_epi64(pixels, 0xD8);
    const __m256i red = _mm256_mulhi_epu16(
        _mm256_and_si256(pixels, _mm256_set1_epi16(static_cast<short>(widen.redMask))),
        _mm256_set1_epi16(static_cast<short>(widen.redFactor)));
    const __m256i green = _mm256_mulhi_epu16(
        _mm256_and_si256(pixels, _mm256_set1_epi16(static_cast<short>(widen.greenMask))),
        _mm256_set1_epi16(static_cast<short>(widen.greenFactor)));
    const __m256i blue = _mm256_mulhi_epu16(
        _mm256_slli_epi16(pixels, 11), _mm256_set1_epi16(static_cast<short>(widen.blueFactor)));
    const __m256i greenBlue = _mm256_or_si256(_mm256_slli_epi16(green, 8), blue);
    const __m256i alphaRed = _mm256_or_si256(red, _mm256_set1_epi16(static_cast<short>(0xFF00)));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(to), _mm256_unpacklo_epi16(greenBlue, alphaRed));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + 8),
                        _mm256_unpackhi_epi16(greenBlue, alphaRed));
}

void ConvertRow(const std::uint8_t* from, std::uint32_t* to, int width,
                const ChannelWidening& widen) {
    int x = 0;
    for (; x + 16 <= width; x += 16) ConvertSixteen(from + 2 * x, to + x, widen);
    const int rest = width - x;
    if (rest <= 0) return;
    std::uint8_t staged[32] = {};
    std::uint32_t converted[16];
    std::memcpy(staged, from + 2 * x, static_cast<std::size_t>(rest) * 2);
    ConvertSixteen(staged, converted, widen);
    std::memcpy(to + x, converted, static_cast<std::size_t>(rest) * 4);
}

}  // namespace

void ConvertRows16Avx2(const std::uint8_t* pixels, std::ptrdiff_t pitch, int width, int height,
                       std::uint32_t* out, std::ptrdiff_t outPitchBytes, bool fiveFiveFive) {
    const ChannelWidening& widen = fiveFiveFive ? kFiveFiveFive : kFiveSixFive;
    for (int y = 0; y < height; ++y) {
        ConvertRow(pixels + y * pitch,
                   reinterpret_cast<std::uint32_t*>(reinterpret_cast<std::uint8_t*>(out) +
                                                    y * outPitchBytes),
                   width, widen);
    }
}

}  // namespace platform
