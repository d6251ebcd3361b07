// SPDX-License-Identifier: MIT
// The software blends: every routine clips once, locks both surfaces and hands the visible
// rectangles to one walk over locked memory (pixel_blend), which the shadows share.

#include "cdx/blit/pixel_blend.h"
#include "cdx/surface/cdxclip.h"
#include "cdx/surface/cdxsurface.h"
#include "cdx/surface/surface_lock.h"
#include "platform/display/pixel_format.h"

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

// The address of the pixel at (x, y) of locked memory.
std::uint8_t* PixelAt(const DDSURFACEDESC2& desc, std::int32_t x, std::int32_t y, int pixelBytes) {
    return static_cast<std::uint8_t*>(desc.lpSurface) +
           static_cast<std::ptrdiff_t>(y) * desc.lPitch +
           static_cast<std::ptrdiff_t>(x) * pixelBytes;
}

// Blends srcRect of the locked source onto the locked destination at (x, y), the rectangle
// already clipped: DDERR_INVALIDRECT, with nothing touched, where the locked memory does not
// hold it.
HRESULT BlendLockedMemory(const CDXSurface& source, const RECT& srcRect, const CDXSurface& dest,
                          std::int32_t x, std::int32_t y, PixelLayout layout,
                          const PixelBlend& blend) {
    const int pixelBytes = platform::PixelBytes(layout);
    BlendRects rects;
    rects.width = srcRect.right - srcRect.left;
    rects.height = srcRect.bottom - srcRect.top;
    const RECT destRect{x, y, x + rects.width, y + rects.height};
    if (!LockedMemoryHolds(source.Desc, srcRect, pixelBytes) ||
        !LockedMemoryHolds(dest.Desc, destRect, pixelBytes)) {
        return DDERR_INVALIDRECT;
    }
    rects.source = PixelAt(source.Desc, srcRect.left, srcRect.top, pixelBytes);
    rects.sourcePitch = source.Desc.lPitch;
    rects.dest = PixelAt(dest.Desc, x, y, pixelBytes);
    rects.destPitch = dest.Desc.lPitch;
    if (blend.operation == PixelOperation::AlphaMap) {
        // The alpha map holds PixelWidth x PixelHeight bytes: every load that changes the size
        // makes a new map or none. It is read only while that is the locked memory's own size.
        if (!source.AlphaMap ||
            static_cast<std::int64_t>(source.Desc.dwWidth) != source.PixelWidth ||
            static_cast<std::int64_t>(source.Desc.dwHeight) != source.PixelHeight ||
            srcRect.right > source.PixelWidth || srcRect.bottom > source.PixelHeight) {
            return DDERR_INVALIDRECT;
        }
        rects.alpha = source.AlphaMap.get() +
                      static_cast<std::ptrdiff_t>(srcRect.top) * source.PixelWidth + srcRect.left;
        rects.alphaPitch = source.PixelWidth;
    }
    BlendPixels(rects, layout, blend);
    return DD_OK;
}

}  // namespace

HRESULT CDXSurface::DrawBlended(CDXSurface* dest, std::int32_t x, std::int32_t y, RECT srcRect,
                                const PixelBlend& blend) {
    if (dest == nullptr || !dest->Surface || !Surface) return DDERR_INVALIDPARAMS;
    if (!ClipBlit(*dest, x, y, srcRect)) return DDERR_GENERIC;
    // Found once, before the locks: the depths without colour arithmetic still take and
    // release both locks, and report a lock's refusal, before drawing nothing.
    const std::optional<PixelLayout> layout = LayoutForDepth(dest->PixelFormat.BitDepth);

    // A lock that fails leaves nothing locked and nothing touched, and its code is the result.
    SurfaceLock sourceLock(*this);
    if (!sourceLock.locked()) return sourceLock.result();
    SurfaceLock destLock(*dest);
    if (!destLock.locked()) return destLock.result();
    const HRESULT result =
        layout ? BlendLockedMemory(*this, srcRect, *dest, x, y, *layout, blend) : DD_OK;
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
