// SPDX-License-Identifier: MIT
#include "cdx/blit/pixel_blend.h"

#include <algorithm>
#include <bit>

#include "cdx/blit/pixel_blend_walk.h"
#include "platform/host/processor_features.h"

namespace cdx {

// Pairs of 16-bit pixels are read as one 32-bit word with the left pixel in its low half.
static_assert(std::endian::native == std::endian::little);

namespace {

// The walk over 24- or 32-bit rows, one pixel at a time over its three colour bytes.
template <bool Keyed, class Op>
void WalkBytes(const BlendRects& rects, const Op& op, int bytesPerPixel, std::uint32_t key) {
    const std::uint8_t* sourceRow = rects.source;
    std::uint8_t* destRow = rects.dest;
    const std::uint8_t* alphaRow = rects.alpha;
    for (int row = 0; row < rects.height; ++row) {
        const std::uint8_t* s = sourceRow;
        std::uint8_t* d = destRow;
        for (int column = 0; column < rects.width; ++column) {
            const unsigned weight = Op::kUsesAlpha ? alphaRow[column] : 0;
            const bool keyed =
                Keyed && (static_cast<std::uint32_t>(s[0]) | (s[1] << 8) | (s[2] << 16)) == key;
            if (!keyed) op.Bytes(s, d, weight);
            s += bytesPerPixel;
            d += bytesPerPixel;
        }
        sourceRow += rects.sourcePitch;
        destRow += rects.destPitch;
        if constexpr (Op::kUsesAlpha) alphaRow += rects.alphaPitch;
    }
}

template <class Op>
void WalkBytesKeyed(const BlendRects& rects, PixelLayout layout, const Op& op,
                    std::optional<std::uint32_t> key) {
    // A key wider than the colour bytes never matches: the walk then runs unkeyed.
    if (key && *key <= 0xFFFFFFu)
        return WalkBytes<true>(rects, op, platform::PixelBytes(layout), *key);
    return WalkBytes<false>(rects, op, platform::PixelBytes(layout), 0);
}

}  // namespace

void BlendPixels(const BlendRects& rects, PixelLayout layout, const PixelBlend& blend) {
    if (rects.width <= 0 || rects.height <= 0) return;
    const int level = std::min<int>(blend.level, 256);
    PixelOperation operation = blend.operation;
    if (operation == PixelOperation::Translucent && level == 256) {
        // The destination's full share keeps every destination channel as it is, which the
        // vector blend's weights (at most 255) cannot express. Only 5-5-5 pixels change: a
        // computed pixel has bit 15 clear, exactly as a full-strength shadow leaves it.
        if (layout != PixelLayout::Rgb555) return;
        operation = PixelOperation::Shadow;
    }

    if (layout == PixelLayout::Rgb555 || layout == PixelLayout::Rgb565) {
        // A key wider than the pixel never matches: the walk then runs unkeyed.
        const bool keyed = blend.key.has_value() && *blend.key <= 0xFFFFu;
        const Key16 key{keyed, static_cast<std::uint16_t>(keyed ? *blend.key : 0)};
        // The steps of the level in use, where this build compiled them.
        switch (platform::ProcessorLevelInUse()) {
#if defined(ZELTO_WIDER_STEPS)
            case platform::ProcessorLevel::kAvx512:
                return Blend16Avx512(rects, layout, operation, level, key);
            case platform::ProcessorLevel::kAvx2:
                return Blend16Avx2(rects, layout, operation, level, key);
#endif
            default:
                return Blend16Baseline(rects, layout, operation, level, key);
        }
    }
    switch (blend.operation) {
        case PixelOperation::Average:
            return WalkBytesKeyed(rects, layout, AverageOp{}, blend.key);
        case PixelOperation::Translucent:
            return WalkBytesKeyed(rects, layout, TranslucentOp{level}, blend.key);
        case PixelOperation::AlphaMap:
            return WalkBytesKeyed(rects, layout, AlphaMapOp{}, blend.key);
        case PixelOperation::Shadow:
            return WalkBytesKeyed(rects, layout, ShadowOp{level}, blend.key);
        case PixelOperation::HalfShadow:
            return WalkBytesKeyed(rects, layout, HalfShadowOp{}, blend.key);
    }
}

void Blend16Baseline(const BlendRects& rects, PixelLayout layout, PixelOperation operation,
                     int weight, Key16 key) {
#if defined(__SSE2__)
    Blend16With<Sse2Lanes>(rects, layout, operation, weight, key);
#else
    Blend16With<>(rects, layout, operation, weight, key);
#endif
}

}  // namespace cdx
