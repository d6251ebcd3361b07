// SPDX-License-Identifier: MIT
#pragma once

// The bitmap service: Windows bitmaps found by name among the program's own resources or as
// files, decoded (the common unpacked kinds directly, the rest by SDL's bitmap loader), and
// 32-bit pictures stretched onto display surfaces in the surface's own pixel format.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/display/pixel_blits.h"
#include "platform/host/display_types.h"
#include "platform/host/win_types.h"

namespace platform {

class DisplaySurface;

// A picture as 32-bit pixels: rows from the top, bytes blue, green, red, alpha (the layout of
// a 32-bit device-independent bitmap).
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // width x height x 4 bytes

    const std::uint8_t* PixelAt(int x, int y) const {
        return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4;
    }
};

// Decodes a Windows bitmap file image held in memory (1, 4, 8, 16, 24 and 32 bits, RLE too);
// null when it is no bitmap, its header is refused (bitmap_header.h) or its pixels cannot be
// had.
std::unique_ptr<Bitmap> DecodeBitmap(const std::uint8_t* bytes, std::size_t size);

// The same through SDL's loader whatever the kind of file: DecodeBitmap's way for the kinds it
// does not decode itself, and what its own decoding is held to.
std::unique_ptr<Bitmap> DecodeBitmapWithSdl(const std::uint8_t* bytes, std::size_t size);

// The whole file of that name, when it is a regular file that can be read and held and is no
// larger than a bitmap of the largest sides can be; nothing otherwise.
std::optional<std::vector<std::uint8_t>> ReadBitmapFile(const char* name);

// The program's own bitmap resource of that name first, then the file of that name; null when
// neither is a bitmap DecodeBitmap takes.
std::unique_ptr<Bitmap> LoadBitmapByName(const char* name);

// Nearest-pixel stretch of the part `part` of bitmap over a width x height rectangle of pixels
// in the given format. 8-bit targets take the nearest entry of palette (256 entries); without
// a palette they take the 3-3-2 colour cube index. Colour channels of 16-bit targets keep
// their top bits. part must lie inside the bitmap and be at least one pixel wide and high.
void StretchBitmapPixels(const Bitmap& bitmap, const RECT& part, PixelSpan dest, int width,
                         int height, const DDPIXELFORMAT& format, const PALETTEENTRY* palette);
// StretchBitmapPixels's two ways: a rectangle of the part's own size is copied row by row
// without scaling, the 16-bit layouts encoded whole; any other size is stretched pixel by
// pixel, the plain loop the copy is held to bit for bit.
void CopyBitmapPixels(const Bitmap& bitmap, const RECT& part, PixelSpan dest,
                      const DDPIXELFORMAT& format, const PALETTEENTRY* palette);
void StretchBitmapPixelsPerPixel(const Bitmap& bitmap, const RECT& part, PixelSpan dest, int width,
                                 int height, const DDPIXELFORMAT& format,
                                 const PALETTEENTRY* palette);

// Stretches the part (x, y, partWidth, partHeight) of bitmap over the whole surface; a part
// size of 0 means the rest of the bitmap's width or height. 8-bit surfaces take the nearest
// entry of their own palette, else of palette. Returns the surface lock's result (0 = copied),
// or DDERR_INVALIDRECT when the part does not lie inside the bitmap.
HRESULT StretchBitmapToSurface(DisplaySurface& surface, const Bitmap& bitmap, int x, int y,
                               int partWidth, int partHeight, const PALETTEENTRY* palette);

}  // namespace platform
