// SPDX-License-Identifier: MIT
// The software shadows: the destination under the frame's rectangle darkened in place, by the
// blends' walk; the keyed ones only under the frame's non-key pixels.

#include "cdx/blit/pixel_blend.h"
#include "cdx/surface/cdxsurface.h"

using namespace platform;

namespace cdx {

HRESULT CDXSurface::DrawShadow(CDXSurface* dest, std::int32_t x, std::int32_t y, RECT srcRect,
                               std::uint16_t level) {
    return DrawBlended(dest, x, y, srcRect,
                       PixelBlend{PixelOperation::Shadow, level, std::nullopt});
}

HRESULT CDXSurface::DrawShadowKeyed(CDXSurface* dest, std::int32_t x, std::int32_t y, RECT srcRect,
                                    std::uint16_t level) {
    return DrawBlended(dest, x, y, srcRect, PixelBlend{PixelOperation::Shadow, level, ColorKey});
}

HRESULT CDXSurface::DrawHalfShadow(CDXSurface* dest, std::int32_t x, std::int32_t y, RECT srcRect) {
    return DrawBlended(dest, x, y, srcRect,
                       PixelBlend{PixelOperation::HalfShadow, 0, std::nullopt});
}

HRESULT CDXSurface::DrawHalfShadowKeyed(CDXSurface* dest, std::int32_t x, std::int32_t y,
                                        RECT srcRect) {
    return DrawBlended(dest, x, y, srcRect, PixelBlend{PixelOperation::HalfShadow, 0, ColorKey});
}

}  // namespace cdx
