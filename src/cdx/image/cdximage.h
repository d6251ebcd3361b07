// SPDX-License-Identifier: MIT
#pragma once

// Pictures for surfaces: bitmaps by name (a resource of the program first, then a file) made
// into display surfaces or copied into them again after a loss. Plain code over the platform's
// display and bitmap services: CDXSurface::CreateFromFile (the surface library) ties them to
// the engine's surfaces and leaves each surface the reloader that brings its bitmap back.

#include <cstdint>
#include <memory>

#include "platform/bitmap/bitmap_service.h"
#include "platform/display/display_device.h"
#include "platform/display/display_palette.h"
#include "platform/display/display_surface.h"

namespace cdx {

// A new surface with the creation caps given, of the bitmap's own size, holding the bitmap
// named name, with width and height written out; null when there is no such bitmap or the
// service refuses the surface.
std::shared_ptr<platform::DisplaySurface> LoadBitmapSurface(
    platform::DisplayDevice& display, const char* name, std::int32_t& width, std::int32_t& height,
    platform::DWORD caps, const platform::PALETTEENTRY* palette = nullptr);

// Stretches bitmap, or its part at (x, y) of size dx x dy (0: the rest of the width or
// height), over the whole surface. 0 when copied, the surface's refusal, or DDERR_GENERIC when
// the bitmap or the surface is missing.
platform::HRESULT CopyBitmap(platform::DisplaySurface* surface, const platform::Bitmap* bitmap,
                             std::int32_t x, std::int32_t y, std::int32_t dx, std::int32_t dy,
                             const platform::PALETTEENTRY* palette = nullptr);

// Loads the bitmap named name again into surface: 0 on success, the copy's result, or
// DDERR_GENERIC when there is no such bitmap. Failures are noted on the debugger output.
platform::HRESULT ReloadBitmap(platform::DisplaySurface* surface, const char* name,
                               const platform::PALETTEENTRY* palette = nullptr);

}  // namespace cdx
