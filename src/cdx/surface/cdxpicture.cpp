// SPDX-License-Identifier: MIT
// Pictures loaded into surfaces: a bitmap resource or file, else a PSD file, read by the image
// library's readers; a bitmap's surface is left the reloader that brings it back after a loss.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "cdx/image/cdximage.h"
#include "cdx/image/cdxpsd.h"
#include "cdx/surface/cdxscreen.h"
#include "cdx/surface/cdxsurface.h"
#include "platform/bitmap/bitmap_service.h"
#include "platform/host/regular_file.h"

using namespace platform;

namespace cdx {

namespace {

// Copies a surface's bitmap into it again after the display took its memory.
class BitmapReloader final : public ImageReloader {
public:
    HRESULT Reload(CDXSurface& surface) const override {
        return ReloadBitmap(surface.Surface.get(), surface.ImageName,
                            ScreenPalette(surface.Screen));
    }
};

const BitmapReloader bitmapReloader;

}  // namespace

int CDXSurface::CreateFromFile(CDXScreen* screen, const char* fileName, std::int32_t memoryType) {
    if (fileName == nullptr || screen == nullptr || !screen->DirectDraw) return 0;
    Surface.reset();
    // Only a PSD with a fourth channel makes an alpha map; whatever the last picture left
    // would not match this one's size.
    AlphaMap.reset();
    Surface = LoadBitmapSurface(*screen->DirectDraw, fileName, PixelWidth, PixelHeight,
                                SurfaceCapsForMemoryType(memoryType), ScreenPalette(screen));
    if (!Surface) {
        char signature[4] = {};
        if (const FileHandle file = OpenRegularFile(fileName)) {
            const std::size_t got = std::fread(signature, 1, sizeof signature, file.get());
            if (got == sizeof signature && std::memcmp(signature, "8BPS", 4) == 0) {
                // The reader makes the surface itself; whether it did shows in Surface.
                LoadPSD(screen, fileName, memoryType);
            }
        }
    }
    if (!Surface) return 0;
    ImageName = fileName;
    Reloader = &bitmapReloader;
    Screen = screen;
    DC = nullptr;
    Font = nullptr;
    ColorKey = 0;
    SrcRect = RECT{0, 0, PixelWidth, PixelHeight};
    DestRect = SrcRect;
    ClipRect = SrcRect;
    UpdatePixelFormat();
    ResetSurfaceDesc(Desc);
    Desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    Desc.ddsCaps.dwCaps = SurfaceCapsForMemoryType(memoryType);
    Desc.dwWidth = static_cast<DWORD>(PixelWidth);
    Desc.dwHeight = static_cast<DWORD>(PixelHeight);
    return 1;
}

int CDXSurface::LoadPSD(CDXScreen* screen, const char* fileName, std::int32_t memoryType) {
    AlphaMap.reset();
    if (fileName == nullptr) return 0;
    // A folder, a FIFO or a device is no picture: only a regular file is read.
    std::vector<std::uint8_t> bytes;
    if (ReadRegularFile(fileName, UINT64_MAX, bytes) != FileReadResult::Read) return 0;
    const std::unique_ptr<PsdPicture> picture = DecodePsd(bytes.data(), bytes.size());
    if (!picture) return 0;
    const int width = picture->pixels.width;
    const int height = picture->pixels.height;
    if (Create(screen, width, height, memoryType) == 0) return 0;
    if (StretchBitmapToSurface(*Surface, picture->pixels, 0, 0, 0, 0, ScreenPalette(screen)) !=
        DD_OK) {
        return 0;
    }
    if (picture->channels > 3) {
        const std::size_t pixelCount = static_cast<std::size_t>(width) * height;
        AlphaMap.reset(new (std::nothrow) std::uint8_t[pixelCount]);
        if (!AlphaMap) return 0;
        for (std::size_t i = 0; i < pixelCount; ++i)
            AlphaMap[i] = picture->pixels.pixels[i * 4 + 3];
    }
    return 1;
}

}  // namespace cdx
