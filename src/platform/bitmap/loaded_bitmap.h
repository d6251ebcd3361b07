// SPDX-License-Identifier: MIT
#pragma once

// A picture loaded by name to be copied onto display surfaces. The common kinds (unpacked 24-bit
// and 8-bit files, unpacked_bitmap.h) keep their file image and are decoded a few rows at a time
// straight into the surface's format when the surface has the picture's size; every other kind,
// and any other size, goes through a whole 32-bit Bitmap first. A large picture so never needs
// its whole 32-bit copy, whose fresh memory costs more to touch than the decoding itself.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/bitmap/bitmap_header.h"
#include "platform/bitmap/bitmap_service.h"

namespace platform {

class LoadedBitmap {
public:
    // The program's own bitmap resource of that name first, then the file of that name, as
    // LoadBitmapByName finds them; null when neither is a bitmap DecodeBitmap takes.
    static std::unique_ptr<LoadedBitmap> Load(const char* name);

    int width() const { return width_; }
    int height() const { return height_; }

    // Stretches the whole picture over the whole surface, as StretchBitmapToSurface(surface,
    // picture, 0, 0, 0, 0, palette) does, with the same pixels and results; DDERR_OUTOFMEMORY
    // when there is no memory for the decoding.
    HRESULT CopyToSurface(DisplaySurface& surface, const PALETTEENTRY* palette) const;

private:
    LoadedBitmap() = default;
    HRESULT CopyRowsToSurface(DisplaySurface& surface, const PALETTEENTRY* palette) const;

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> file_;       // a file's image; empty for a resource
    const std::uint8_t* image_ = nullptr;  // the unpacked kinds' file image: file_ or a resource
    BitmapHeader header_;
    std::unique_ptr<Bitmap> decoded_;  // every other kind
};

}  // namespace platform
