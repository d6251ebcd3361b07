// SPDX-License-Identifier: MIT
#pragma once

// The pixel work of the software blitters (blends and shadows) as plain functions over two
// rectangles of pixels in memory, each given by its top-left pixel and its pitch. One walk
// serves every operation: 15- and 16-bit rows go in vector steps (sixteen pixels where the
// processor has AVX2, eight where it has SSE2, the last step of a row ending at its end) and
// rows narrower than a step in pairs, or, where the processor has AVX-512, in masked 32-pixel
// steps; 24- and 32-bit rows go pixel by pixel over the three colour bytes. Nothing here checks
// rectangles: the callers clip first.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/display/pixel_layout.h"

using platform::PixelLayout;

namespace cdx {

// The layout of a CDXPixelFormat::BitDepth; nothing for the depths that are not drawn (8-bit
// palettised surfaces have no colour arithmetic).
inline std::optional<PixelLayout> LayoutForDepth(std::uint32_t bitDepth) {
    if (bitDepth == 8) return std::nullopt;
    return platform::LayoutOfDepth(static_cast<int>(bitDepth));
}

enum class PixelOperation {
    Average,      // each channel floor(d / 2) + floor(s / 2)
    Translucent,  // s + floor((d - s) x level / 256): level is the destination's weight
    AlphaMap,     // d + floor((s - d) x a / 256), a the source pixel's alpha byte
    Shadow,       // floor(d x level / 256): the source only masks
    HalfShadow,   // floor(d / 2)
};

struct BlendRects {
    const std::uint8_t* source = nullptr;  // the source rectangle's top-left pixel
    std::ptrdiff_t sourcePitch = 0;
    std::uint8_t* dest = nullptr;  // where that pixel lands
    std::ptrdiff_t destPitch = 0;
    const std::uint8_t* alpha = nullptr;  // the top-left pixel's weight (alpha map only)
    std::ptrdiff_t alphaPitch = 0;
    int width = 0;
    int height = 0;
};

struct PixelBlend {
    PixelOperation operation = PixelOperation::Average;
    // The weight of Translucent and Shadow; values above 256 act as 256.
    std::uint16_t level = 0;
    // Source pixels equal to the key keep their destination pixel exactly. The key is the
    // 16-bit pixel value at 15 and 16 bits and the colour bytes' value at 24 and 32; a key
    // with bits above the pixel's width never matches.
    std::optional<std::uint32_t> key;
};

// Takes the widest steps the processor level in use allows (see processor_features.h): 32
// pixels with masked moves (AVX-512), sixteen (AVX2), or eight (SSE2).
void BlendPixels(const BlendRects& rects, PixelLayout layout, const PixelBlend& blend);

}  // namespace cdx
