// SPDX-License-Identifier: MIT
#include "cdx/surface/cdxsurface.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <optional>

#include "cdx/surface/cdxscreen.h"
#include "platform/display/pixel_blits.h"
#include "platform/display/pixel_format.h"
#include "platform/display/pixel_layout.h"
#include "platform/host/window.h"
#include "platform/text/text_service.h"

using namespace platform;

namespace cdx {

namespace {

// Lock and Unlock restore a lost surface and try again; a display that stays lost after this
// many restores is reported to the caller instead of holding the program forever.
constexpr int kLossRetries = 100;

// The rectangle of source's size whose top-left corner is (x, y), worked out in 64 bits; none
// when an edge lies beyond the 32-bit range, where no surface reaches.
std::optional<RECT> PlacedRect(std::int32_t x, std::int32_t y, const RECT& source) {
    const std::int64_t right = std::int64_t{x} + source.right - source.left;
    const std::int64_t bottom = std::int64_t{y} + source.bottom - source.top;
    if (right < INT32_MIN || right > INT32_MAX || bottom < INT32_MIN || bottom > INT32_MAX) {
        return std::nullopt;
    }
    return RECT{x, y, static_cast<std::int32_t>(right), static_cast<std::int32_t>(bottom)};
}

}  // namespace

DWORD SurfaceCapsForMemoryType(std::int32_t memoryType) {
    switch (memoryType & 0xFF) {
        case 0:
            return DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY;
        case 1:
            return DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
        default:
            return DDSCAPS_OFFSCREENPLAIN;
    }
}

CDXSurface::CDXSurface() = default;

CDXSurface::CDXSurface(CDXScreen* screen, std::int32_t width, std::int32_t height,
                       std::int32_t memoryType)
    : CDXSurface() {
    Create(screen, width, height, memoryType);
}

CDXSurface::~CDXSurface() {
    if (Font != nullptr) DeleteObject(Font);
    Font = nullptr;
    if (DC != nullptr) ReleaseDC();
    Surface.reset();
}

void CDXSurface::SetWholeRects() {
    SrcRect = RECT{0, 0, PixelWidth, PixelHeight};
    DestRect = SrcRect;
    ClipRect = SrcRect;
}

int CDXSurface::Create(CDXScreen* screen, std::int32_t width, std::int32_t height,
                       std::int32_t memoryType) {
    if (screen == nullptr || !screen->DirectDraw) return 0;
    ResetSurfaceDesc(Desc);
    Desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    Desc.dwWidth = static_cast<DWORD>(width);
    Desc.dwHeight = static_cast<DWORD>(height);
    Desc.ddsCaps.dwCaps = SurfaceCapsForMemoryType(memoryType);
    Surface.reset();
    AlphaMap.reset();
    try {
        if (screen->DirectDraw->CreateSurface(&Desc, &Surface) != DD_OK) {
            Surface.reset();
            return 0;
        }
    } catch (const std::bad_alloc&) {
        Surface.reset();
        return 0;
    }
    DC = nullptr;
    Font = nullptr;
    ImageName = nullptr;
    Reloader = nullptr;
    Screen = screen;
    ColorKey = 0xFFFFFFFF;
    PixelWidth = width;
    PixelHeight = height;
    SetWholeRects();
    UpdatePixelFormat();
    return 1;
}

void CDXSurface::UpdatePixelFormat() {
    if (!Surface) return;
    DDPIXELFORMAT description;
    if (Surface->GetPixelFormat(&description) != DD_OK) return;
    DescribePixelFormat(description, PixelFormat);
}

HRESULT CDXSurface::AfterRefusedLock(HRESULT refusal) {
    // A lock that succeeds fills the whole description; a refused one leaves it as it was, so
    // it is cleared here.
    HRESULT result = refusal;
    ResetSurfaceDesc(Desc);
    for (int retry = 0; result == DDERR_SURFACELOST && retry < kLossRetries; ++retry) {
        Restore();
        ResetSurfaceDesc(Desc);
        result = Surface->Lock(nullptr, &Desc, DDLOCK_WAIT, nullptr);
    }
    return result;
}

HRESULT CDXSurface::AfterRefusedUnlock(HRESULT refusal) {
    HRESULT result = refusal;
    for (int retry = 0; result == DDERR_SURFACELOST && retry < kLossRetries; ++retry) {
        Restore();
        result = Surface->Unlock(nullptr);
    }
    return result;
}

void CDXSurface::Restore() {
    if (Screen != nullptr && this == Screen->Back && Screen->FullScreen &&
        Screen->Front != nullptr && Screen->Front != this) {
        // The back buffer is attached to the front one and comes back with it.
        Screen->Front->Restore();
        return;
    }
    if (!Surface) return;
    Surface->Restore();
    // Restored memory holds no picture: a surface made from a bitmap gets it back.
    if (ImageName != nullptr && Reloader != nullptr) Reloader->Reload(*this);
}

void CDXSurface::SetColorKey() {
    if (!Surface) return;
    std::uint32_t key = 0xFFFFFFFF;
    DDSURFACEDESC2 desc;
    desc.dwSize = kSurfaceDescSize;
    HRESULT result = Surface->Lock(nullptr, &desc, 0, nullptr);
    while (result == DDERR_WASSTILLDRAWING) result = Surface->Lock(nullptr, &desc, 0, nullptr);
    if (result == DD_OK) {
        // Only the first pixel's own bytes: a one-pixel surface holds no more.
        const auto* first = static_cast<const std::uint8_t*>(desc.lpSurface);
        const DWORD bitCount = desc.ddpfPixelFormat.dwRGBBitCount;
        const int pixelBytes = std::clamp(BytesPerPixel(bitCount), 1, 4);
        key = 0;
        for (int i = pixelBytes - 1; i >= 0; --i) key = (key << 8) | first[i];
        if (bitCount < 32) key &= (1u << bitCount) - 1u;
        Surface->Unlock(nullptr);
    }
    ColorKey = key;
    DDCOLORKEY range{key, key};
    Surface->SetColorKey(DDCKEY_SRCBLT, &range);
}

void CDXSurface::SetSrcRect(std::int32_t top, std::int32_t left, std::int32_t bottom,
                            std::int32_t right) {
    SrcRect = RECT{left, top, right, bottom};
}

void CDXSurface::SetClipRect(const RECT& rect) {
    ClipRect = rect;
    if (ClipRect.top < 0) ClipRect.top = 0;
    if (ClipRect.left < 0) ClipRect.left = 0;
    if (ClipRect.bottom > PixelHeight) ClipRect.bottom = PixelHeight;
    if (ClipRect.right > PixelWidth) ClipRect.right = PixelWidth;
}

HRESULT CDXSurface::Fill(std::uint32_t value) {
    if (!Surface) return DDERR_NOTINITIALIZED;
    DDBLTFX effects;
    effects.dwFillColor = value;
    return Surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects);
}

HRESULT CDXSurface::FillRect(std::int32_t left, std::int32_t top, std::int32_t right,
                             std::int32_t bottom, std::uint32_t value) {
    if (!Surface) return DDERR_NOTINITIALIZED;
    DDBLTFX effects;
    effects.dwFillColor = value;
    RECT rect{left, top, right, bottom};
    return Surface->Blt(&rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects);
}

void CDXSurface::PutPixel(std::int32_t x, std::int32_t y, std::uint32_t value) {
    if (x < ClipRect.left || x >= ClipRect.right || y < ClipRect.top || y >= ClipRect.bottom) {
        return;
    }
    if (Screen == nullptr || Desc.lpSurface == nullptr) return;
    const std::optional<PixelLayout> layout = LayoutOfDepth(Screen->BPP);
    if (!layout) return;
    std::uint8_t* at = static_cast<std::uint8_t*>(Desc.lpSurface) +
                       static_cast<std::ptrdiff_t>(y) * Desc.lPitch +
                       static_cast<std::ptrdiff_t>(x) * PixelBytes(*layout);
    // A 32-bit pixel's fourth byte is left as it is.
    WritePixel(at, ColourBytes(*layout), value);
}

std::uint32_t CDXSurface::GetPixel(std::int32_t x, std::int32_t y) {
    if (Screen == nullptr || Desc.lpSurface == nullptr) return 0;
    const std::optional<PixelLayout> layout = LayoutOfDepth(Screen->BPP);
    if (!layout) return 0;
    const std::uint8_t* at = static_cast<const std::uint8_t*>(Desc.lpSurface) +
                             static_cast<std::ptrdiff_t>(y) * Desc.lPitch +
                             static_cast<std::ptrdiff_t>(x) * PixelBytes(*layout);
    return ReadPixel(at, PixelBytes(*layout));
}

HRESULT CDXSurface::BlitRect(CDXSurface* dest) {
    if (dest == nullptr || !dest->Surface || !Surface) return DDERR_INVALIDPARAMS;
    return AfterDraw(dest->Surface->Blt(&DestRect, Surface.get(), &SrcRect, DDBLT_WAIT, nullptr));
}

HRESULT CDXSurface::BlitOpaque(std::int32_t x, std::int32_t y, CDXSurface* dest) {
    if (dest == nullptr || !dest->Surface || !Surface) return DDERR_INVALIDPARAMS;
    return AfterDraw(dest->Surface->BltFast(x, y, Surface.get(), &SrcRect,
                                            DDBLTFAST_WAIT | DDBLTFAST_NOCOLORKEY));
}

HRESULT CDXSurface::BlitKeyed(std::int32_t x, std::int32_t y, CDXSurface* dest) {
    if (dest == nullptr || !dest->Surface || !Surface) return DDERR_INVALIDPARAMS;
    return AfterDraw(dest->Surface->BltFast(x, y, Surface.get(), &SrcRect,
                                            DDBLTFAST_WAIT | DDBLTFAST_SRCCOLORKEY));
}

HRESULT CDXSurface::BlitKeyedClipped(std::int32_t x, std::int32_t y, CDXSurface* dest,
                                     const RECT& clip) {
    if (dest == nullptr || !dest->Surface || !Surface) return DDERR_INVALIDPARAMS;
    RECT r = SrcRect;
    if (x + (r.right - r.left) > clip.right) r.right = clip.right - x + r.left;
    if (x < clip.left) {
        r.left = r.left + (clip.left - x);
        x = clip.left;
    }
    if (y < clip.top) {
        r.top = r.top + (clip.top - y);
        y = clip.top;
    }
    if (y + (r.bottom - r.top) > clip.bottom) r.bottom = clip.bottom - y + r.top;
    return AfterDraw(
        dest->Surface->BltFast(x, y, Surface.get(), &r, DDBLTFAST_WAIT | DDBLTFAST_SRCCOLORKEY));
}

HRESULT CDXSurface::BlitToWindow(CDXSurface* dest) {
    if (dest == nullptr || !dest->Surface || !Surface || Screen == nullptr) {
        return DDERR_INVALIDPARAMS;
    }
    RECT window;
    GetClientRect(Screen->Wnd, &window);
    POINT topLeft{window.left, window.top};
    POINT bottomRight{window.right, window.bottom};
    ClientToScreen(Screen->Wnd, &topLeft);
    ClientToScreen(Screen->Wnd, &bottomRight);
    RECT onScreen{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    return AfterDraw(dest->Surface->Blt(&onScreen, Surface.get(), nullptr, DDBLT_WAIT, nullptr));
}

HRESULT CDXSurface::BlitZoomed(std::int32_t x, std::int32_t y, std::int32_t factorX,
                               std::int32_t factorY, CDXSurface* dest) {
    if (dest == nullptr || !dest->Surface || !Surface) return DDERR_INVALIDPARAMS;
    DestRect = RECT{x, y, x + PixelWidth * factorX, y + PixelHeight * factorY};
    return AfterDraw(
        dest->Surface->Blt(&DestRect, Surface.get(), &SrcRect, DDBLT_WAIT | DDBLT_KEYSRC, nullptr));
}

HRESULT CDXSurface::BlitScaled(std::int32_t x, std::int32_t y, float factor, CDXSurface* dest) {
    if (dest == nullptr || !dest->Surface || !Surface) return DDERR_INVALIDPARAMS;
    DestRect = RECT{x, y, x + static_cast<std::int32_t>(PixelWidth * factor),
                    y + static_cast<std::int32_t>(PixelHeight * factor)};
    return AfterDraw(
        dest->Surface->Blt(&DestRect, Surface.get(), &SrcRect, DDBLT_WAIT | DDBLT_KEYSRC, nullptr));
}

HRESULT CDXSurface::BlitMirroredH(std::int32_t x, std::int32_t y, CDXSurface* dest) {
    if (dest == nullptr || !dest->Surface || !Surface) return DDERR_INVALIDPARAMS;
    // A rectangle that cannot be written lies outside the destination: refused as such.
    const std::optional<RECT> to = PlacedRect(x, y, SrcRect);
    if (!to) return DDERR_INVALIDRECT;
    DDBLTFX effects;
    effects.dwDDFX = DDBLTFX_MIRRORLEFTRIGHT;
    return dest->Surface->Blt(&*to, Surface.get(), &SrcRect, DDBLT_WAIT | DDBLT_DDFX, &effects);
}

HRESULT CDXSurface::BlitMirroredV(std::int32_t x, std::int32_t y, CDXSurface* dest) {
    if (dest == nullptr || !dest->Surface || !Surface) return DDERR_INVALIDPARAMS;
    // A rectangle that cannot be written lies outside the destination: refused as such.
    const std::optional<RECT> to = PlacedRect(x, y, SrcRect);
    if (!to) return DDERR_INVALIDRECT;
    DDBLTFX effects;
    effects.dwDDFX = DDBLTFX_MIRRORUPDOWN;
    return dest->Surface->Blt(&*to, Surface.get(), &SrcRect, DDBLT_WAIT | DDBLT_DDFX, &effects);
}

}  // namespace cdx
