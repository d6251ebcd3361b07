#include "dib_blit.h"

#include <algorithm>

#include "nearest_palette.h"

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
    DDSURFACEDESC2 desc;
    desc.dwSize = kSurfaceDescSize;
    const HRESULT locked = surface.Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr);
    if (locked != DD_OK) return locked;
    DibImage visible = image;
    visible.width = std::clamp(image.width, 0, static_cast<int>(desc.dwWidth));
    visible.height = std::clamp(image.height, 0, static_cast<int>(desc.dwHeight));
    DibToPaletteIndices(visible, palette,
                        PixelSpan{static_cast<std::uint8_t*>(desc.lpSurface), desc.lPitch});
    surface.Unlock(nullptr);
    return DD_OK;
}

}  // namespace platform
