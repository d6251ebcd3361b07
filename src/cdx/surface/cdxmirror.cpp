// SPDX-License-Identifier: MIT
// The mirrored draws: one display-service copy with a mirror effect, or, when the service
// refuses, the frame mirrored pixel by pixel through GetPixel and PutPixel.

#include "cdx/surface/cdxclip.h"
#include "cdx/surface/cdxsurface.h"
#include "cdx/surface/surface_lock.h"

using namespace platform;

namespace cdx {

namespace {

// After the blit clipping has cut pixels from the destination's near edge (left or top) and
// from its far edge, the mirrored image must lose source pixels on the opposite sides: the
// near cut comes off the source's far edge and the far cut off its near edge. `moved` is how
// far the near cut moved the position, `farEdge` the source's far edge before clipping.
void MirrorCorrection(std::int32_t moved, std::int32_t farEdge, std::int32_t& nearSide,
                      std::int32_t& farSide) {
    if (moved != 0) {
        nearSide -= moved;
        farSide -= moved;
        farEdge -= moved;
    }
    if (farSide != farEdge) {
        nearSide += farEdge - farSide;
        farSide = farEdge;
    }
}

}  // namespace

HRESULT CDXSurface::DrawMirrored(CDXSurface* dest, std::int32_t x, std::int32_t y, RECT srcRect,
                                 bool upDown, bool keyed) {
    if (dest == nullptr || !dest->Surface || !Surface) return DDERR_INVALIDPARAMS;
    // The correction below answers the destination's cuts only, so the frame is first cut to
    // the source's clip rectangle; a frame that lies within its sheet, as every sprite's does,
    // is not changed by it, and one that overhangs the sheet is mirrored as far as it exists
    // instead of being shifted past the sheet's edge.
    if (!ClipToClipRect(srcRect)) return DDERR_GENERIC;
    const std::int32_t startX = x;
    const std::int32_t startY = y;
    const std::int32_t farEdge = upDown ? srcRect.bottom : srcRect.right;
    if (!ClipBlit(*dest, x, y, srcRect)) return DDERR_GENERIC;
    if (upDown) {
        MirrorCorrection(y - startY, farEdge, srcRect.top, srcRect.bottom);
    } else {
        MirrorCorrection(x - startX, farEdge, srcRect.left, srcRect.right);
    }
    const std::int32_t width = srcRect.right - srcRect.left;
    const std::int32_t height = srcRect.bottom - srcRect.top;

    RECT target{x, y, x + width, y + height};
    DDBLTFX effects;
    effects.dwDDFX = upDown ? DDBLTFX_MIRRORUPDOWN : DDBLTFX_MIRRORLEFTRIGHT;
    const DWORD flags = DDBLT_WAIT | DDBLT_DDFX | (keyed ? DDBLT_KEYSRC : 0);
    if (dest->Surface->Blt(&target, Surface.get(), &srcRect, flags, &effects) == DD_OK)
        return DD_OK;

    // The service refused, whatever the reason: mirror in software. GetPixel and PutPixel work
    // on locked memory, so both surfaces are locked for the copy; a lock that fails leaves
    // nothing locked and nothing drawn, and its code is the result.
    SurfaceLock sourceLock(*this);
    if (!sourceLock.locked()) return sourceLock.result();
    SurfaceLock destLock(*dest);
    if (!destLock.locked()) return destLock.result();
    HRESULT result = DD_OK;
    // GetPixel does not check its point: the source rectangle must lie in the locked memory.
    if (srcRect.left < 0 || srcRect.top < 0 ||
        srcRect.right > static_cast<std::int64_t>(Desc.dwWidth) ||
        srcRect.bottom > static_cast<std::int64_t>(Desc.dwHeight)) {
        result = DDERR_INVALIDRECT;
    } else {
        for (std::int32_t row = 0; row < height; ++row) {
            for (std::int32_t column = 0; column < width; ++column) {
                const std::uint32_t pixel = GetPixel(srcRect.left + column, srcRect.top + row);
                if (keyed && pixel == ColorKey) continue;
                if (upDown) {
                    dest->PutPixel(x + column, y + height - 1 - row, pixel);
                } else {
                    dest->PutPixel(x + width - 1 - column, y + row, pixel);
                }
            }
        }
    }
    sourceLock.Release();
    destLock.Release();
    return result;
}

HRESULT CDXSurface::DrawMirrorX(CDXSurface* dest, std::int32_t x, std::int32_t y, RECT srcRect) {
    return DrawMirrored(dest, x, y, srcRect, false, false);
}

HRESULT CDXSurface::DrawMirrorXKeyed(CDXSurface* dest, std::int32_t x, std::int32_t y,
                                     RECT srcRect) {
    return DrawMirrored(dest, x, y, srcRect, false, true);
}

HRESULT CDXSurface::DrawMirrorY(CDXSurface* dest, std::int32_t x, std::int32_t y, RECT srcRect) {
    return DrawMirrored(dest, x, y, srcRect, true, false);
}

HRESULT CDXSurface::DrawMirrorYKeyed(CDXSurface* dest, std::int32_t x, std::int32_t y,
                                     RECT srcRect) {
    return DrawMirrored(dest, x, y, srcRect, true, true);
}

}  // namespace cdx
