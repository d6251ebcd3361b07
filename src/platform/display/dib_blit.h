// SPDX-License-Identifier: MIT
#pragma once

// The 8-bit display path of the window system's bitmap copy: a top-down 24-bit
// device-independent bitmap (blue, green, red bytes per pixel) copied onto a palettised
// surface, each pixel becoming the palette entry nearest its colour.

#include <cstdint>

#include "platform/display/display_surface.h"
#include "platform/display/pixel_blits.h"
#include "platform/host/display_types.h"

namespace platform {

struct DibImage {
    const std::uint8_t* bits = nullptr;  // the top row first
    int width = 0;
    int height = 0;
    int stride = 0;  // bytes from one row to the next
};

// Writes the image's nearest palette indices (palette: 256 entries) into 8-bit pixels.
void DibToPaletteIndices(const DibImage& image, const PALETTEENTRY* palette, PixelSpan dest);

// Copies the image to (0, 0) of an 8-bit surface, cut at the surface's edges. The surface is
// locked for the copy; a lock failure is returned as it came, a surface that is not 8-bit is
// refused with DDERR_INVALIDPIXELFORMAT.
HRESULT BlitDibToSurface(DisplaySurface& surface, const DibImage& image,
                         const PALETTEENTRY* palette);

}  // namespace platform
