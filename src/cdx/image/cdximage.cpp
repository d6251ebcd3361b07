// SPDX-License-Identifier: MIT
#include "cdx/image/cdximage.h"

#include <cstdint>
#include <new>

#include "platform/bitmap/loaded_bitmap.h"
#include "platform/host/window.h"

using namespace platform;

namespace cdx {

std::shared_ptr<DisplaySurface> LoadBitmapSurface(DisplayDevice& display, const char* name,
                                                  std::int32_t& width, std::int32_t& height,
                                                  DWORD caps, const PALETTEENTRY* palette) {
    const std::unique_ptr<LoadedBitmap> bitmap = LoadedBitmap::Load(name);
    if (!bitmap) return nullptr;
    DDSURFACEDESC2 desc;
    desc.dwSize = kSurfaceDescSize;
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.ddsCaps.dwCaps = caps;
    desc.dwWidth = static_cast<DWORD>(bitmap->width());
    desc.dwHeight = static_cast<DWORD>(bitmap->height());
    std::shared_ptr<DisplaySurface> surface;
    try {
        if (display.CreateSurface(&desc, &surface) != DD_OK) return nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    surface->Restore();
    bitmap->CopyToSurface(*surface, palette);
    width = bitmap->width();
    height = bitmap->height();
    return surface;
}

HRESULT CopyBitmap(DisplaySurface* surface, const Bitmap* bitmap, std::int32_t x, std::int32_t y,
                   std::int32_t dx, std::int32_t dy, const PALETTEENTRY* palette) {
    if (surface == nullptr || bitmap == nullptr) return DDERR_GENERIC;
    surface->Restore();
    return StretchBitmapToSurface(*surface, *bitmap, x, y, dx, dy, palette);
}

HRESULT ReloadBitmap(DisplaySurface* surface, const char* name, const PALETTEENTRY* palette) {
    const std::unique_ptr<LoadedBitmap> bitmap = LoadedBitmap::Load(name);
    if (!bitmap) {
        OutputDebugString("handle is null\n");
        return DDERR_GENERIC;
    }
    HRESULT result = DDERR_GENERIC;
    if (surface != nullptr) {
        surface->Restore();
        result = bitmap->CopyToSurface(*surface, palette);
    }
    if (result != DD_OK) OutputDebugString("ddcopybitmap failed\n");
    return result;
}

}  // namespace cdx
