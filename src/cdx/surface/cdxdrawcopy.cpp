// SPDX-License-Identifier: MIT
// The draws that leave the pixel work to the display service: plain and colour-keyed copies,
// and copies stretched by a factor or to a size about the frame's centre.

#include <cmath>
#include <optional>

#include "cdx/surface/cdxclip.h"
#include "cdx/surface/cdxsurface.h"

using namespace platform;

namespace cdx {

namespace {

// Positions beyond this are nowhere near any surface; keeping to it keeps the 64-bit clip
// arithmetic exact.
constexpr double kFarthestPosition = 1e15;

std::optional<std::int64_t> Truncated(double value) {
    if (!(std::fabs(value) <= kFarthestPosition)) return std::nullopt;
    return static_cast<std::int64_t>(std::trunc(value));
}

// How far a source edge moves with a target edge that clipping moved by `moved` pixels.
std::int64_t SourceShift(std::int64_t moved, double ratio) {
    if (moved == 0 || !(ratio > 0)) return 0;
    return static_cast<std::int64_t>(std::trunc(static_cast<double>(moved) / ratio));
}

std::int32_t Narrowed(std::int64_t value) {
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

double WidthOf(const RECT& rect) {
    return static_cast<double>(std::int64_t{rect.right} - rect.left);
}
double HeightOf(const RECT& rect) {
    return static_cast<double>(std::int64_t{rect.bottom} - rect.top);
}

struct StretchedRects {
    RECT source;
    RECT target;
};

// srcRect (already inside the source's clip rectangle) stretched to targetWidth x
// targetHeight about the centre it has when drawn unscaled at (x, y), then cut to destClip;
// each source edge moves with its target edge by the cut divided by that axis's ratio of
// target to source size. Nothing when no part of the target is visible.
std::optional<StretchedRects> Stretch(const RECT& srcRect, std::int32_t x, std::int32_t y,
                                      double targetWidth, double targetHeight, double ratioX,
                                      double ratioY, const RECT& destClip) {
    const auto top = Truncated(HeightOf(srcRect) * 0.5 + y - targetHeight * 0.5);
    const auto left = Truncated(WidthOf(srcRect) * 0.5 + x - targetWidth * 0.5);
    const auto tall = Truncated(targetHeight);
    const auto wide = Truncated(targetWidth);
    if (!top || !left || !tall || !wide) return std::nullopt;
    const Rect64 placed{*left, *top, *left + *wide, *top + *tall};
    Rect64 target = placed;
    if (!ClipRect64(target, destClip)) return std::nullopt;
    const Rect64 source{srcRect.left + SourceShift(target.left - placed.left, ratioX),
                        srcRect.top + SourceShift(target.top - placed.top, ratioY),
                        srcRect.right + SourceShift(target.right - placed.right, ratioX),
                        srcRect.bottom + SourceShift(target.bottom - placed.bottom, ratioY)};
    // The clipped target lies within the destination's range; a source edge pushed out of
    // range by an extreme ratio is held at the range's end, and the service refuses it.
    return StretchedRects{RECT{Narrowed(source.left), Narrowed(source.top), Narrowed(source.right),
                               Narrowed(source.bottom)},
                          RECT{Narrowed(target.left), Narrowed(target.top), Narrowed(target.right),
                               Narrowed(target.bottom)}};
}

}  // namespace

HRESULT CDXSurface::DrawFast(CDXSurface* dest, std::int32_t x, std::int32_t y, RECT srcRect,
                             DWORD flags) {
    if (dest == nullptr || !dest->Surface || !Surface) return DDERR_INVALIDPARAMS;
    if (!ClipBlit(*dest, x, y, srcRect)) return DDERR_GENERIC;
    return AfterDraw(dest->Surface->BltFast(x, y, Surface.get(), &srcRect, flags));
}

HRESULT CDXSurface::DrawCopy(CDXSurface* dest, std::int32_t x, std::int32_t y, RECT srcRect) {
    return DrawFast(dest, x, y, srcRect, DDBLTFAST_WAIT);
}

HRESULT CDXSurface::DrawCopyKeyed(CDXSurface* dest, std::int32_t x, std::int32_t y, RECT srcRect) {
    return DrawFast(dest, x, y, srcRect, DDBLTFAST_WAIT | DDBLTFAST_SRCCOLORKEY);
}

HRESULT CDXSurface::DrawScaledWith(CDXSurface* dest, std::int32_t x, std::int32_t y, RECT srcRect,
                                   float factor, DWORD flags) {
    if (dest == nullptr || !dest->Surface || !Surface) return DDERR_INVALIDPARAMS;
    if (!ClipToClipRect(srcRect)) return DDERR_GENERIC;
    // A negative factor, or one that is not a number, scales to nothing.
    const double scale = factor >= 0 ? factor : 0.0;
    const auto rects = Stretch(srcRect, x, y, WidthOf(srcRect) * scale, HeightOf(srcRect) * scale,
                               scale, scale, dest->ClipRect);
    if (!rects) return DDERR_GENERIC;
    return AfterDraw(
        dest->Surface->Blt(&rects->target, Surface.get(), &rects->source, flags, nullptr));
}

HRESULT CDXSurface::DrawResizedWith(CDXSurface* dest, std::int32_t x, std::int32_t y, RECT srcRect,
                                    std::uint16_t width, std::uint16_t height, DWORD flags) {
    if (dest == nullptr || !dest->Surface || !Surface) return DDERR_INVALIDPARAMS;
    if (!ClipToClipRect(srcRect)) return DDERR_GENERIC;
    if (width < 1 || height < 1) return DDERR_GENERIC;
    const auto rects = Stretch(srcRect, x, y, width, height, width / WidthOf(srcRect),
                               height / HeightOf(srcRect), dest->ClipRect);
    if (!rects) return DDERR_GENERIC;
    return AfterDraw(
        dest->Surface->Blt(&rects->target, Surface.get(), &rects->source, flags, nullptr));
}

HRESULT CDXSurface::DrawScaled(CDXSurface* dest, std::int32_t x, std::int32_t y, RECT srcRect,
                               float factor) {
    return DrawScaledWith(dest, x, y, srcRect, factor, DDBLT_WAIT);
}

HRESULT CDXSurface::DrawScaledKeyed(CDXSurface* dest, std::int32_t x, std::int32_t y, RECT srcRect,
                                    float factor) {
    return DrawScaledWith(dest, x, y, srcRect, factor, DDBLT_WAIT | DDBLT_KEYSRC);
}

HRESULT CDXSurface::DrawResized(CDXSurface* dest, std::int32_t x, std::int32_t y, RECT srcRect,
                                std::uint16_t width, std::uint16_t height) {
    return DrawResizedWith(dest, x, y, srcRect, width, height, DDBLT_WAIT);
}

HRESULT CDXSurface::DrawResizedKeyed(CDXSurface* dest, std::int32_t x, std::int32_t y, RECT srcRect,
                                     std::uint16_t width, std::uint16_t height) {
    return DrawResizedWith(dest, x, y, srcRect, width, height, DDBLT_WAIT | DDBLT_KEYSRC);
}

}  // namespace cdx
