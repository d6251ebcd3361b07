// SPDX-License-Identifier: MIT
#pragma once

// The PSD reader: flattened 8-bit RGB pictures, raw or run-length packed, as a 32-bit working
// picture. Plain code over bytes: CDXSurface::LoadPSD reads the file and hands it here.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/bitmap/bitmap_service.h"

namespace cdx {

struct PsdPicture {
    // Blue, green, red, alpha bytes per pixel; channels the file lacks hold 0 (colours) and
    // 255 (alpha).
    platform::Bitmap pixels;
    // The header's channel count: above 3 the fourth plane is the picture's alpha.
    int channels = 0;
};

// Null when the bytes are no PSD picture this reader takes: a broken header rule, a length
// or count that passes the end of the data, planes that end early, or a size whose working
// picture cannot be had.
std::unique_ptr<PsdPicture> DecodePsd(const std::uint8_t* bytes, std::size_t size);

}  // namespace cdx
