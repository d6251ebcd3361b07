// SPDX-License-Identifier: MIT
#include "platform/display/present_convert.h"

#include "platform/display/channel_widening.h"
#include "platform/display/pixel_blits.h"
#include "platform/display/pixel_format.h"
#include "platform/display/pixel_layout.h"
#include "platform/display/present_convert_walk.h"
#include "platform/host/processor_features.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform {
namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

// The channel of pixel under mask widened to eight bits by repeating its top bits.
std::uint32_t WidenChannel(std::uint32_t pixel, std::uint32_t mask) {
    const ChannelPlace place = PlaceOfMask(mask);
    const std::uint32_t value = (pixel & mask) >> place.shift;
    return (value << (8 - place.bits)) | (value >> (2 * place.bits - 8));
}

std::uint32_t WidenLayout(std::uint32_t pixel, PixelLayout layout) {
    const ChannelMasks masks = MasksOfLayout(layout);
    return kOpaque | (WidenChannel(pixel, masks.red) << 16) |
           (WidenChannel(pixel, masks.green) << 8) | WidenChannel(pixel, masks.blue);
}

std::uint32_t Argb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return kOpaque | (r << 16) | (g << 8) | b;
}

std::uint32_t ConvertPixel(std::uint32_t pixel, int depth, const PALETTEENTRY* palette) {
    switch (depth) {
        case 8:
            if (palette == nullptr) return Argb(pixel & 0xFF, pixel & 0xFF, pixel & 0xFF);
            return Argb(palette[pixel & 0xFF].peRed, palette[pixel & 0xFF].peGreen,
                        palette[pixel & 0xFF].peBlue);
        case 15:
            return WidenLayout(pixel, PixelLayout::Rgb555);
        case 16:
            return WidenLayout(pixel, PixelLayout::Rgb565);
        default:
            return kOpaque | (pixel & 0x00FFFFFF);
    }
}

void ConvertRowReference(const std::uint8_t* from, std::uint32_t* to, int width, int depth,
                         const PALETTEENTRY* palette) {
    const int bytes = BytesPerPixel(depth == 15 ? 16 : static_cast<DWORD>(depth));
    for (int x = 0; x < width; ++x) {
        to[x] = ConvertPixel(ReadPixel(from + x * bytes, bytes), depth, palette);
    }
}

#if defined(__SSE2__)
// Eight 16-bit pixels at a time, each channel widened by one multiply (channel_widening.h), then
// interleaved into two groups of four ARGB words.
void ConvertRow16Sse2(const std::uint8_t* from, std::uint32_t* to, int width, bool fiveFiveFive) {
    const ChannelWidening& widen = fiveFiveFive ? kFiveFiveFive : kFiveSixFive;
    const __m128i redMask = _mm_set1_epi16(static_cast<short>(widen.redMask));
    const __m128i redFactor = _mm_set1_epi16(static_cast<short>(widen.redFactor));
    const __m128i greenMask = _mm_set1_epi16(static_cast<short>(widen.greenMask));
    const __m128i greenFactor = _mm_set1_epi16(static_cast<short>(widen.greenFactor));
    const __m128i blueFactor = _mm_set1_epi16(static_cast<short>(widen.blueFactor));
    const __m128i alpha = _mm_set1_epi16(static_cast<short>(0xFF00));
    const auto convertEight = [&](int at) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 2 * at));
        const __m128i r = _mm_mulhi_epu16(_mm_and_si128(p, redMask), redFactor);
        const __m128i g = _mm_mulhi_epu16(_mm_and_si128(p, greenMask), greenFactor);
        const __m128i b = _mm_mulhi_epu16(_mm_slli_epi16(p, 11), blueFactor);
        const __m128i greenBlue = _mm_or_si128(_mm_slli_epi16(g, 8), b);
        const __m128i alphaRed = _mm_or_si128(alpha, r);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + at),
                         _mm_unpacklo_epi16(greenBlue, alphaRed));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + at + 4),
                         _mm_unpackhi_epi16(greenBlue, alphaRed));
    };
    // Two steps an iteration: with one, the loop's speed hangs on where a build happens to
    // place its instructions; with two, it runs alike wherever it lands.
    int x = 0;
    for (; x + 16 <= width; x += 16) {
        convertEight(x);
        convertEight(x + 8);
    }
    if (x + 8 <= width) {
        convertEight(x);
        x += 8;
    }
    ConvertRowReference(from + 2 * x, to + x, width - x, fiveFiveFive ? 15 : 16, nullptr);
}
#endif

template <typename RowConverter>
void ConvertRows(const PresentedPicture& picture, std::uint32_t* out, int outPitchBytes,
                 RowConverter convertRow) {
    for (int y = 0; y < picture.height; ++y) {
        const std::uint8_t* from = picture.pixels + static_cast<std::ptrdiff_t>(y) * picture.pitch;
        auto* to = reinterpret_cast<std::uint32_t*>(reinterpret_cast<std::uint8_t*>(out) +
                                                    static_cast<std::ptrdiff_t>(y) * outPitchBytes);
        convertRow(from, to);
    }
}

// The widest steps of the level in use, where this build compiled them.
ConversionSteps WidestSteps() {
    switch (ProcessorLevelInUse()) {
#if defined(ZELTO_WIDER_STEPS)
        case ProcessorLevel::kAvx512:
        case ProcessorLevel::kAvx2:
            return ConversionSteps::kAvx2;
#endif
        default:
            return ConversionSteps::kSse2;
    }
}

}  // namespace

void ConvertPictureToArgbReference(const PresentedPicture& picture, std::uint32_t* out,
                                   int outPitchBytes) {
    const int depth = DepthOfPixelFormat(picture.format);
    ConvertRows(picture, out, outPitchBytes, [&](const std::uint8_t* from, std::uint32_t* to) {
        ConvertRowReference(from, to, picture.width, depth, picture.palette);
    });
}

bool ConversionStepsAvailable(ConversionSteps steps) {
#if defined(__SSE2__)
    return steps <= WidestSteps();
#else
    return false;
#endif
}

bool ConvertPictureToArgbWithSteps(ConversionSteps steps, const PresentedPicture& picture,
                                   std::uint32_t* out, int outPitchBytes) {
    if (!ConversionStepsAvailable(steps)) return false;
    const int depth = DepthOfPixelFormat(picture.format);
    if (depth != 16 && depth != 15) {
        ConvertPictureToArgbReference(picture, out, outPitchBytes);
        return true;
    }
    switch (steps) {
#if defined(ZELTO_WIDER_STEPS)
        case ConversionSteps::kAvx2:
            ConvertRows16Avx2(picture.pixels, picture.pitch, picture.width, picture.height, out,
                              outPitchBytes, depth == 15);
            break;
#endif
        default:
#if defined(__SSE2__)
            ConvertRows16Baseline(picture.pixels, picture.pitch, picture.width, picture.height, out,
                                  outPitchBytes, depth == 15);
#endif
            break;
    }
    return true;
}

void ConvertPictureToArgb(const PresentedPicture& picture, std::uint32_t* out, int outPitchBytes) {
    if (ConvertPictureToArgbWithSteps(WidestSteps(), picture, out, outPitchBytes)) return;
    ConvertPictureToArgbReference(picture, out, outPitchBytes);
}

#if defined(__SSE2__)
void ConvertRows16Baseline(const std::uint8_t* pixels, std::ptrdiff_t pitch, int width, int height,
                           std::uint32_t* out, std::ptrdiff_t outPitchBytes, bool fiveFiveFive) {
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = pixels + y * pitch;
        auto* to = reinterpret_cast<std::uint32_t*>(reinterpret_cast<std::uint8_t*>(out) +
                                                    y * outPitchBytes);
        if (fiveFiveFive) {
            ConvertRow16Sse2(from, to, width, true);
        } else {
            ConvertRow16Sse2(from, to, width, false);
        }
    }
}
#endif

}  // namespace platform
