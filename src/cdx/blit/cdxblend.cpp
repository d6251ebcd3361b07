// The software blends: every routine clips once, locks both surfaces and hands the visible
// rectangles to one walk over locked memory (pixel_blend), which the shadows share.

#include <algorithm>

#include "cdxsurface.h"
#include "pixel_blend.h"
#include "pixel_format.h"
#include "surface_lock.h"

using namespace platform;

namespace cdx {

namespace {

// Whether a locked surface's memory holds the rectangle with pixels of that size. A rectangle
// cut to a clip rectangle that was set by hand, or a source whose pixels are not the
// destination's size, would otherwise be walked past the end of the memory.
bool LockedMemoryHolds(const DDSURFACEDESC2& desc, const RECT& rect, int pixelBytes) {
    if (desc.lpSurface == nullptr) return false;
    if (BytesPerPixel(desc.ddpfPixelFormat.dwRGBBitCount) != pixelBytes) return false;
    return rect.left >= 0 && rect.top >= 0 &&
           rect.right <= static_cast<std::int64_t>(desc.dwWidth) &&
           rect.bottom <= static_cast<std::int64_t>(desc.dwHeight);
}

}  // namespace

HRESULT CDXSurface::DrawBlended(CDXSurface* dest, std::int32_t x, std::int32_t y, RECT srcRect,
                                const PixelBlend& blend) {
    if (dest == nullptr || !dest->Surface || !Surface) return DDERR_INVALIDPARAMS;
    if (!ClipBlit(*dest, x, y, srcRect)) return DDERR_GENERIC;
    const int width = srcRect.right - srcRect.left;
    const int height = srcRect.bottom - srcRect.top;

    // A lock that fails leaves nothing locked and nothing touched, and its code is the result.
    SurfaceLock sourceLock(*this);
    if (!sourceLock.locked()) return sourceLock.result();
    SurfaceLock destLock(*dest);
    if (!destLock.locked()) return destLock.result();
    HRESULT result = DD_OK;
    if (const auto layout = LayoutForDepth(dest->PixelFormat.BitDepth)) {
        const int pixelBytes = platform::PixelBytes(*layout);
        const RECT destRect{x, y, x + width, y + height};
        // The alpha map holds PixelWidth x PixelHeight bytes: every load that changes the size
        // makes a new map or none. It is read only while that is the locked memory's own size.
        const bool alphaFits = blend.operation != PixelOperation::AlphaMap ||
                               (AlphaMap && static_cast<std::int64_t>(Desc.dwWidth) == PixelWidth &&
                                static_cast<std::int64_t>(Desc.dwHeight) == PixelHeight &&
                                srcRect.right <= PixelWidth && srcRect.bottom <= PixelHeight);
        if (LockedMemoryHolds(Desc, srcRect, pixelBytes) &&
            LockedMemoryHolds(dest->Desc, destRect, pixelBytes) && alphaFits) {
            BlendRects rects;
            rects.source = static_cast<const std::uint8_t*>(Desc.lpSurface) +
                           static_cast<std::ptrdiff_t>(srcRect.top) * Desc.lPitch +
                           static_cast<std::ptrdiff_t>(srcRect.left) * pixelBytes;
            rects.sourcePitch = Desc.lPitch;
            rects.dest = static_cast<std::uint8_t*>(dest->Desc.lpSurface) +
                         static_cast<std::ptrdiff_t>(y) * dest->Desc.lPitch +
                         static_cast<std::ptrdiff_t>(x) * pixelBytes;
            rects.destPitch = dest->Desc.lPitch;
            if (blend.operation == PixelOperation::AlphaMap) {
                rects.alpha = AlphaMap.get() +
                              static_cast<std::ptrdiff_t>(srcRect.top) * PixelWidth + srcRect.left;
                rects.alphaPitch = PixelWidth;
            }
            rects.width = width;
            rects.height = height;
            BlendPixels(rects, *layout, blend);
        } else {
            result = DDERR_INVALIDRECT;
        }
    }
    sourceLock.Release();
    destLock.Release();
    return result;
}

HRESULT CDXSurface::DrawAverage(CDXSurface* dest, std::int32_t x, std::int32_t y, RECT srcRect) {
    return DrawBlended(dest, x, y, srcRect, PixelBlend{PixelOperation::Average, 0, std::nullopt});
}

HRESULT CDXSurface::DrawAverageKeyed(CDXSurface* dest, std::int32_t x, std::int32_t y,
                                     RECT srcRect) {
    return DrawBlended(dest, x, y, srcRect, PixelBlend{PixelOperation::Average, 0, ColorKey});
}

HRESULT CDXSurface::DrawTranslucent(CDXSurface* dest, std::int32_t x, std::int32_t y, RECT srcRect,
                                    std::uint16_t level) {
    return DrawBlended(dest, x, y, srcRect,
                       PixelBlend{PixelOperation::Translucent, level, std::nullopt});
}

HRESULT CDXSurface::DrawTranslucentKeyed(CDXSurface* dest, std::int32_t x, std::int32_t y,
                                         RECT srcRect, std::uint16_t level) {
    return DrawBlended(dest, x, y, srcRect,
                       PixelBlend{PixelOperation::Translucent, level, ColorKey});
}

HRESULT CDXSurface::DrawAlphaMap(CDXSurface* dest, std::int32_t x, std::int32_t y, RECT srcRect) {
    if (!AlphaMap) {
        // A picture without an alpha channel is drawn as a keyed copy, and the caller is told
        // that the blend did not happen.
        DrawCopyKeyed(dest, x, y, srcRect);
        return DDERR_GENERIC;
    }
    return DrawBlended(dest, x, y, srcRect, PixelBlend{PixelOperation::AlphaMap, 0, ColorKey});
}

}  // namespace cdx
