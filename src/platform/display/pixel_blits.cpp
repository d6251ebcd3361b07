// SPDX-License-Identifier: MIT
#include "platform/display/pixel_blits.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/display/keyed_copy_walk.h"
#include "platform/host/processor_features.h"

namespace platform {

std::uint32_t ReadPixel(const std::uint8_t* at, int bytesPerPixel) {
    switch (bytesPerPixel) {
        case 1:
            return at[0];
        case 2:
            return static_cast<std::uint32_t>(at[0] | (at[1] << 8));
        case 3:
            return static_cast<std::uint32_t>(at[0] | (at[1] << 8) | (at[2] << 16));
        default: {
            std::uint32_t value;
            std::memcpy(&value, at, 4);
            return value;
        }
    }
}

void WritePixel(std::uint8_t* at, int bytesPerPixel, std::uint32_t value) {
    switch (bytesPerPixel) {
        case 1:
            at[0] = static_cast<std::uint8_t>(value);
            break;
        case 2:
            at[0] = static_cast<std::uint8_t>(value);
            at[1] = static_cast<std::uint8_t>(value >> 8);
            break;
        case 3:
            at[0] = static_cast<std::uint8_t>(value);
            at[1] = static_cast<std::uint8_t>(value >> 8);
            at[2] = static_cast<std::uint8_t>(value >> 16);
            break;
        default:
            std::memcpy(at, &value, 4);
            break;
    }
}

std::uint32_t PixelValueMask(int bytesPerPixel) {
    return bytesPerPixel >= 4 ? 0xFFFFFFFFu : (1u << (8 * bytesPerPixel)) - 1u;
}

void CopyPixels(ConstPixelSpan source, PixelSpan dest, int width, int height, int bytesPerPixel) {
    const std::size_t rowBytes = static_cast<std::size_t>(width) * bytesPerPixel;
    for (int row = 0; row < height; ++row) {
        std::memmove(dest.first + static_cast<std::ptrdiff_t>(row) * dest.pitch,
                     source.first + static_cast<std::ptrdiff_t>(row) * source.pitch, rowBytes);
    }
}

void CopyPixelsKeyedReference(ConstPixelSpan source, PixelSpan dest, int width, int height,
                              int bytesPerPixel, std::uint32_t key) {
    key &= PixelValueMask(bytesPerPixel);
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* from = source.first + static_cast<std::ptrdiff_t>(row) * source.pitch;
        std::uint8_t* to = dest.first + static_cast<std::ptrdiff_t>(row) * dest.pitch;
        for (int column = 0; column < width; ++column) {
            const std::uint32_t pixel = ReadPixel(from + column * bytesPerPixel, bytesPerPixel);
            if (pixel != key) WritePixel(to + column * bytesPerPixel, bytesPerPixel, pixel);
        }
    }
}

#if defined(__SSE2__)
namespace {

// Vector compare and select, 16 bytes at a time: pixels equal to the key keep the
// destination's bytes, every other pixel takes the source's. Pixel is the pixel's integer type
// (1, 2 or 4 bytes).
template <typename Pixel>
__m128i EqualToKey(__m128i pixels, __m128i key) {
    if constexpr (sizeof(Pixel) == 1) return _mm_cmpeq_epi8(pixels, key);
    if constexpr (sizeof(Pixel) == 2) return _mm_cmpeq_epi16(pixels, key);
    return _mm_cmpeq_epi32(pixels, key);
}

template <typename Pixel>
__m128i Broadcast(std::uint32_t key) {
    if constexpr (sizeof(Pixel) == 1) return _mm_set1_epi8(static_cast<char>(key));
    if constexpr (sizeof(Pixel) == 2) return _mm_set1_epi16(static_cast<short>(key));
    return _mm_set1_epi32(static_cast<int>(key));
}

// The destination's pixels where keep is set (the key pixels), the source's elsewhere.
inline __m128i MixUnderKey(__m128i keep, __m128i under, __m128i pixels) {
    return _mm_or_si128(_mm_and_si128(keep, under), _mm_andnot_si128(keep, pixels));
}

// One step at offset bytes into both rows; a step of key pixels alone neither reads nor writes
// the destination.
template <typename Pixel>
void CopyKeyedStep(const std::uint8_t* from, std::uint8_t* to, std::ptrdiff_t offset,
                   __m128i keys) {
    const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + offset));
    const __m128i keep = EqualToKey<Pixel>(pixels, keys);
    if (_mm_movemask_epi8(keep) == 0xFFFF) return;
    const __m128i under = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to + offset));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + offset), MixUnderKey(keep, under, pixels));
}

// Rows of 64 bytes or fewer (a sprite frame's): four steps a row, at 0, 16 and 32 bytes and one
// that ends at the row's end, each held at that last one where the row is narrower. A row
// whose steps hold nothing but key pixels neither reads nor writes the destination, for one
// branch a row; otherwise every step is mixed with the destination before any is stored, so
// the steps that overlap write the same pixels. One branch a row rather than one a step keeps
// the copy's speed from hanging on where a build happens to place its instructions.
template <typename Pixel>
void CopyNarrowRows(ConstPixelSpan source, PixelSpan dest, std::ptrdiff_t lastStep, int height,
                    __m128i keys) {
    const std::ptrdiff_t offsets[4] = {0, std::min<std::ptrdiff_t>(16, lastStep),
                                       std::min<std::ptrdiff_t>(32, lastStep), lastStep};
    const std::uint8_t* from = source.first;
    std::uint8_t* to = dest.first;
    for (int row = 0; row < height; ++row, from += source.pitch, to += dest.pitch) {
        __m128i pixels[4];
        __m128i keep[4];
        for (int i = 0; i < 4; ++i) {
            pixels[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + offsets[i]));
            keep[i] = EqualToKey<Pixel>(pixels[i], keys);
        }
        const __m128i allKept =
            _mm_and_si128(_mm_and_si128(keep[0], keep[1]), _mm_and_si128(keep[2], keep[3]));
        if (_mm_movemask_epi8(allKept) == 0xFFFF) continue;
        __m128i mixed[4];
        for (int i = 0; i < 4; ++i) {
            const __m128i under =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(to + offsets[i]));
            mixed[i] = MixUnderKey(keep[i], under, pixels[i]);
        }
        for (int i = 0; i < 4; ++i) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to + offsets[i]), mixed[i]);
        }
    }
}

// A step taken again over pixels it has copied writes each as it already is, so a row's last
// pixels, fewer than a vector, take one more step that ends at the row's end and overlaps the
// one before. Rows narrower than a vector go through the plain loop.
template <typename Pixel>
void CopyPixelsKeyedVector(ConstPixelSpan source, PixelSpan dest, int width, int height,
                           std::uint32_t key) {
    constexpr int kPerVector = 16 / sizeof(Pixel);
    if (width < kPerVector) {
        CopyPixelsKeyedReference(source, dest, width, height, sizeof(Pixel), key);
        return;
    }
    const __m128i keys = Broadcast<Pixel>(key);
    const std::ptrdiff_t lastStep = static_cast<std::ptrdiff_t>(width - kPerVector) * sizeof(Pixel);
    if (lastStep <= 48) return CopyNarrowRows<Pixel>(source, dest, lastStep, height, keys);
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* from = source.first + static_cast<std::ptrdiff_t>(row) * source.pitch;
        std::uint8_t* to = dest.first + static_cast<std::ptrdiff_t>(row) * dest.pitch;
        for (std::ptrdiff_t offset = 0; offset < lastStep; offset += 16) {
            CopyKeyedStep<Pixel>(from, to, offset, keys);
        }
        CopyKeyedStep<Pixel>(from, to, lastStep, keys);
    }
}

}  // namespace
#endif

void CopyPixelsKeyed(ConstPixelSpan source, PixelSpan dest, int width, int height,
                     int bytesPerPixel, std::uint32_t key) {
    key &= PixelValueMask(bytesPerPixel);
    // The steps of the level in use, where this build compiled them; what a level refuses
    // (3-byte pixels, rows narrower than AVX2's step) the next level down takes.
    switch (ProcessorLevelInUse()) {
#if defined(ZELTO_WIDER_STEPS)
        case ProcessorLevel::kAvx512:
            if (KeyedCopyAvx512(source, dest, width, height, bytesPerPixel, key)) return;
            [[fallthrough]];
        case ProcessorLevel::kAvx2:
            if (KeyedCopyAvx2(source, dest, width, height, bytesPerPixel, key)) return;
            [[fallthrough]];
#endif
        default:
            KeyedCopyBaseline(source, dest, width, height, bytesPerPixel, key);
    }
}

bool KeyedCopyBaseline(ConstPixelSpan source, PixelSpan dest, int width, int height,
                       int bytesPerPixel, std::uint32_t key) {
#if defined(__SSE2__)
    switch (bytesPerPixel) {
        case 1:
            CopyPixelsKeyedVector<std::uint8_t>(source, dest, width, height, key);
            return true;
        case 2:
            CopyPixelsKeyedVector<std::uint16_t>(source, dest, width, height, key);
            return true;
        case 4:
            CopyPixelsKeyedVector<std::uint32_t>(source, dest, width, height, key);
            return true;
        default:
            break;
    }
#endif
    CopyPixelsKeyedReference(source, dest, width, height, bytesPerPixel, key);
    return true;
}

void StretchPixelsReference(ConstPixelSpan source, int sourceWidth, int sourceHeight,
                            PixelSpan dest, int destWidth, int destHeight, int bytesPerPixel,
                            const StretchOptions& options) {
    const std::uint32_t key = options.key.value_or(0) & PixelValueMask(bytesPerPixel);
    for (int row = 0; row < destHeight; ++row) {
        const int destRow = options.mirrorUpDown ? destHeight - 1 - row : row;
        const int sourceRow =
            static_cast<int>(static_cast<std::int64_t>(row) * sourceHeight / destHeight);
        const std::uint8_t* from =
            source.first + static_cast<std::ptrdiff_t>(sourceRow) * source.pitch;
        std::uint8_t* to = dest.first + static_cast<std::ptrdiff_t>(destRow) * dest.pitch;
        for (int column = 0; column < destWidth; ++column) {
            const int destColumn = options.mirrorLeftRight ? destWidth - 1 - column : column;
            const int sourceColumn =
                static_cast<int>(static_cast<std::int64_t>(column) * sourceWidth / destWidth);
            const std::uint32_t pixel =
                ReadPixel(from + sourceColumn * bytesPerPixel, bytesPerPixel);
            if (options.key && pixel == key) continue;
            WritePixel(to + destColumn * bytesPerPixel, bytesPerPixel, pixel);
        }
    }
}

namespace {

// The stretch for one pixel size, keyed or not: source columns are stepped by whole and
// fractional parts (an exact integer walk of column x sourceWidth / destWidth, with no
// division per pixel), and each pixel is a typed load, an optional key test and a store.
// Loads and stores go through memcpy: rows may start at any byte.
template <typename Pixel, bool Keyed>
void StretchTyped(ConstPixelSpan source, int sourceWidth, int sourceHeight, PixelSpan dest,
                  int destWidth, int destHeight, const StretchOptions& options) {
    const Pixel key = static_cast<Pixel>(options.key.value_or(0));
    const int wholeStep = sourceWidth / destWidth;
    const int fractionStep = sourceWidth % destWidth;
    const std::ptrdiff_t destStep = options.mirrorLeftRight ? -1 : 1;
    for (int row = 0; row < destHeight; ++row) {
        const int destRow = options.mirrorUpDown ? destHeight - 1 - row : row;
        const int sourceRow =
            static_cast<int>(static_cast<std::int64_t>(row) * sourceHeight / destHeight);
        const std::uint8_t* from =
            source.first + static_cast<std::ptrdiff_t>(sourceRow) * source.pitch;
        std::uint8_t* to = dest.first + static_cast<std::ptrdiff_t>(destRow) * dest.pitch;
        std::ptrdiff_t destColumn = options.mirrorLeftRight ? destWidth - 1 : 0;
        int sourceColumn = 0;
        int fraction = 0;
        for (int column = 0; column < destWidth; ++column) {
            Pixel pixel;
            std::memcpy(&pixel, from + static_cast<std::ptrdiff_t>(sourceColumn) * sizeof(Pixel),
                        sizeof(Pixel));
            if (!Keyed || pixel != key) {
                std::memcpy(to + destColumn * static_cast<std::ptrdiff_t>(sizeof(Pixel)), &pixel,
                            sizeof(Pixel));
            }
            destColumn += destStep;
            sourceColumn += wholeStep;
            fraction += fractionStep;
            if (fraction >= destWidth) {
                fraction -= destWidth;
                ++sourceColumn;
            }
        }
    }
}

template <typename Pixel>
void StretchSized(ConstPixelSpan source, int sourceWidth, int sourceHeight, PixelSpan dest,
                  int destWidth, int destHeight, const StretchOptions& options) {
    if (options.key) {
        StretchTyped<Pixel, true>(source, sourceWidth, sourceHeight, dest, destWidth, destHeight,
                                  options);
    } else {
        StretchTyped<Pixel, false>(source, sourceWidth, sourceHeight, dest, destWidth, destHeight,
                                   options);
    }
}

}  // namespace

void StretchPixels(ConstPixelSpan source, int sourceWidth, int sourceHeight, PixelSpan dest,
                   int destWidth, int destHeight, int bytesPerPixel,
                   const StretchOptions& options) {
    StretchOptions masked = options;
    if (masked.key) *masked.key &= PixelValueMask(bytesPerPixel);
    switch (bytesPerPixel) {
        case 1:
            return StretchSized<std::uint8_t>(source, sourceWidth, sourceHeight, dest, destWidth,
                                              destHeight, masked);
        case 2:
            return StretchSized<std::uint16_t>(source, sourceWidth, sourceHeight, dest, destWidth,
                                               destHeight, masked);
        case 4:
            return StretchSized<std::uint32_t>(source, sourceWidth, sourceHeight, dest, destWidth,
                                               destHeight, masked);
        default:
            return StretchPixelsReference(source, sourceWidth, sourceHeight, dest, destWidth,
                                          destHeight, bytesPerPixel, options);
    }
}

}  // namespace platform
