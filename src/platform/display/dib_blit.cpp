// SPDX-License-Identifier: MIT
#include "platform/display/dib_blit.h"

#include <algorithm>

#include "platform/display/display_surface_lock.h"
#include "platform/display/nearest_palette.h"

namespace platform {

void DibToPaletteIndices(const DibImage& image, const PALETTEENTRY* palette, PixelSpan dest) {
    for (int row = 0; row < image.height; ++row) {
        const std::uint8_t* from = image.bits + static_cast<std::ptrdiff_t>(row) * image.stride;
        std::uint8_t* to = dest.first + static_cast<std::ptrdiff_t>(row) * dest.pitch;
        for (int column = 0; column < image.width; ++column, from += 3) {
            to[column] = NearestPaletteIndex(palette, from[2], from[1], from[0]);
        }
    }
}

HRESULT BlitDibToSurface(DisplaySurface& surface, const DibImage& image,
                         const PALETTEENTRY* palette) {
    if (surface.format().dwRGBBitCount != 8) return DDERR_INVALIDPIXELFORMAT;
    const DisplaySurfaceLock lock(surface, DDLOCK_WAIT | DDLOCK_WRITEONLY);
    if (!lock.locked()) return lock.result();
    DibImage visible = image;
    visible.width = std::clamp(image.width, 0, static_cast<int>(lock.desc().dwWidth));
    visible.height = std::clamp(image.height, 0, static_cast<int>(lock.desc().dwHeight));
    DibToPaletteIndices(visible, palette, PixelSpan{lock.pixels(), lock.desc().lPitch});
    return DD_OK;
}

}  // namespace platform
