// SPDX-License-Identifier: MIT
#pragma once

// CDXSurface: the engine's pixel buffer on the display service, with the rectangles, colour
// key and pixel format that the engine's drawing works with.

#include <cstdint>
#include <memory>

#include "cdx/surface/cdxpixelformat.h"
#include "cdx/surface/image_reloader.h"
#include "platform/display/display_surface.h"
#include "platform/host/display_types.h"
#include "platform/host/win_types.h"

namespace cdx {

class CDXScreen;
struct PixelBlend;

// The creation caps of a memory type (low eight bits): 0 video memory, 1 system memory, any
// other value off-screen memory of the service's choosing.
platform::DWORD SurfaceCapsForMemoryType(std::int32_t memoryType);

class CDXSurface {
public:
    CDXSurface();
    // Creates the surface at once; whether that worked shows in Surface.
    CDXSurface(CDXScreen* screen, std::int32_t width, std::int32_t height, std::int32_t memoryType);
    virtual ~CDXSurface();
    CDXSurface(const CDXSurface&) = delete;
    CDXSurface& operator=(const CDXSurface&) = delete;

    // memoryType (low eight bits): 0 video memory, 1 system memory, other: the service chooses.
    int Create(CDXScreen* screen, std::int32_t width, std::int32_t height, std::int32_t memoryType);
    // Makes the surface from the picture named fileName: a bitmap resource or file, else a PSD
    // file. 1 when made, 0 otherwise (the surface then has no platform surface).
    int CreateFromFile(CDXScreen* screen, const char* fileName, std::int32_t memoryType);
    // Makes the surface from a PSD file at the picture's size, with its fourth channel as
    // AlphaMap. 1 when made and filled, 0 otherwise.
    int LoadPSD(CDXScreen* screen, const char* fileName, std::int32_t memoryType);

    // Inline, as the software draws lock two surfaces for every sprite frame: a lock or unlock
    // that the display service refuses goes on out of line, where a lost surface is restored
    // and the call made again.
    platform::HRESULT Lock() {
        if (!Surface) return platform::DDERR_NOTINITIALIZED;
        const platform::HRESULT result =
            Surface->Lock(nullptr, &Desc, platform::DDLOCK_WAIT, nullptr);
        return result == platform::DD_OK ? result : AfterRefusedLock(result);
    }
    platform::HRESULT Unlock() {
        if (!Surface) return platform::DDERR_NOTINITIALIZED;
        const platform::HRESULT result = Surface->Unlock(nullptr);
        return result == platform::DD_OK ? result : AfterRefusedUnlock(result);
    }
    void Restore();

    // Starts making the fonts ready (the platform's font search) on a thread of its own and
    // returns at once, so that the work overlaps the program's own start; the first MakeFont
    // waits only for what is left. Called once, early, by a program that will write text.
    static void StartTextEarly();
    // Text, in the order GetDC, MakeFont, SelectFont, DrawString per line, ReleaseDC. Colours
    // are the window system's 0x00BBGGRR values, not pixels.
    platform::HDC GetDC();
    void ReleaseDC();
    // Replaces the surface's font; the new handle, or null when none can be made.
    platform::HFONT MakeFont(const char* face, std::int32_t width, std::int32_t height,
                             std::int32_t weight);
    platform::HFONT SelectFont();
    // Draws text up to its first zero byte with a transparent background.
    platform::BOOL DrawString(std::int32_t x, std::int32_t y, std::uint32_t colour,
                              const char* text);
    // The width in pixels DrawString's pen moves by for text in the held context's font (the
    // default font before SelectFont); 0 without a context.
    std::int32_t TextWidth(const char* text);

    // The colour key becomes the surface's top-left pixel.
    void SetColorKey();
    // Arguments in the order top, left, bottom, right; stored without checks.
    void SetSrcRect(std::int32_t top, std::int32_t left, std::int32_t bottom, std::int32_t right);
    void SetClipRect(const platform::RECT& rect);

    platform::HRESULT Fill(std::uint32_t value);
    platform::HRESULT FillRect(std::int32_t left, std::int32_t top, std::int32_t right,
                               std::int32_t bottom, std::uint32_t value);
    // On locked memory only. PutPixel writes inside ClipRect only; GetPixel does not check.
    void PutPixel(std::int32_t x, std::int32_t y, std::uint32_t value);
    std::uint32_t GetPixel(std::int32_t x, std::int32_t y);

    virtual platform::HRESULT BlitRect(CDXSurface* dest);
    virtual platform::HRESULT BlitOpaque(std::int32_t x, std::int32_t y, CDXSurface* dest);
    virtual platform::HRESULT BlitKeyed(std::int32_t x, std::int32_t y, CDXSurface* dest);
    virtual platform::HRESULT BlitKeyedClipped(std::int32_t x, std::int32_t y, CDXSurface* dest,
                                               const platform::RECT& clip);
    virtual platform::HRESULT BlitToWindow(CDXSurface* dest);
    virtual platform::HRESULT BlitZoomed(std::int32_t x, std::int32_t y, std::int32_t factorX,
                                         std::int32_t factorY, CDXSurface* dest);
    virtual platform::HRESULT BlitScaled(std::int32_t x, std::int32_t y, float factor,
                                         CDXSurface* dest);
    virtual platform::HRESULT BlitMirroredH(std::int32_t x, std::int32_t y, CDXSurface* dest);
    virtual platform::HRESULT BlitMirroredV(std::int32_t x, std::int32_t y, CDXSurface* dest);

    // Refills PixelFormat from the platform surface; left as it was when the query fails.
    void UpdatePixelFormat();

    // Cuts rect down to ClipRect; false, with rect untouched, when none of it lies inside.
    // This and ClipBlit are defined inline in cdxclip.h.
    bool ClipToClipRect(platform::RECT& rect) const;
    // Called on the source: cuts srcRect and the position (x, y) where it lands on dest down
    // to the part inside both clip rectangles; false when nothing of it is visible.
    bool ClipBlit(const CDXSurface& dest, std::int32_t& x, std::int32_t& y,
                  platform::RECT& srcRect) const;

    // Draws of srcRect of this surface onto dest through the display service, clipped; each
    // returns DDERR_GENERIC when nothing is visible or a size is out of range, else the
    // service's result. A lost source is restored and the draw not repeated.
    platform::HRESULT DrawCopy(CDXSurface* dest, std::int32_t x, std::int32_t y,
                               platform::RECT srcRect);
    platform::HRESULT DrawCopyKeyed(CDXSurface* dest, std::int32_t x, std::int32_t y,
                                    platform::RECT srcRect);
    // Scaled by factor about the centre of srcRect drawn unscaled at (x, y).
    platform::HRESULT DrawScaled(CDXSurface* dest, std::int32_t x, std::int32_t y,
                                 platform::RECT srcRect, float factor);
    platform::HRESULT DrawScaledKeyed(CDXSurface* dest, std::int32_t x, std::int32_t y,
                                      platform::RECT srcRect, float factor);
    // Stretched to width x height about the same centre.
    platform::HRESULT DrawResized(CDXSurface* dest, std::int32_t x, std::int32_t y,
                                  platform::RECT srcRect, std::uint16_t width,
                                  std::uint16_t height);
    platform::HRESULT DrawResizedKeyed(CDXSurface* dest, std::int32_t x, std::int32_t y,
                                       platform::RECT srcRect, std::uint16_t width,
                                       std::uint16_t height);

    // Software blends of srcRect of this surface onto dest, mixed in locked memory at 15, 16,
    // 24 and 32 bits (other depths draw nothing and return 0). Each returns DDERR_GENERIC
    // when nothing is visible, a failed lock's code with nothing touched, else 0. level is the
    // destination's weight in 256ths; above 256 it acts as 256.
    platform::HRESULT DrawAverage(CDXSurface* dest, std::int32_t x, std::int32_t y,
                                  platform::RECT srcRect);
    platform::HRESULT DrawAverageKeyed(CDXSurface* dest, std::int32_t x, std::int32_t y,
                                       platform::RECT srcRect);
    platform::HRESULT DrawTranslucent(CDXSurface* dest, std::int32_t x, std::int32_t y,
                                      platform::RECT srcRect, std::uint16_t level);
    platform::HRESULT DrawTranslucentKeyed(CDXSurface* dest, std::int32_t x, std::int32_t y,
                                           platform::RECT srcRect, std::uint16_t level);
    // Weighted per pixel by AlphaMap and keyed; without an alpha map it draws as
    // DrawCopyKeyed and returns DDERR_GENERIC.
    platform::HRESULT DrawAlphaMap(CDXSurface* dest, std::int32_t x, std::int32_t y,
                                   platform::RECT srcRect);
    // Shadows darken dest under srcRect's rectangle placed at (x, y), keeping level/256 of
    // the brightness (or one half); the keyed ones only under the non-key source pixels.
    platform::HRESULT DrawShadow(CDXSurface* dest, std::int32_t x, std::int32_t y,
                                 platform::RECT srcRect, std::uint16_t level);
    platform::HRESULT DrawShadowKeyed(CDXSurface* dest, std::int32_t x, std::int32_t y,
                                      platform::RECT srcRect, std::uint16_t level);
    platform::HRESULT DrawHalfShadow(CDXSurface* dest, std::int32_t x, std::int32_t y,
                                     platform::RECT srcRect);
    platform::HRESULT DrawHalfShadowKeyed(CDXSurface* dest, std::int32_t x, std::int32_t y,
                                          platform::RECT srcRect);
    // Mirrored left to right (X) or top to bottom (Y) by the display service, or pixel by
    // pixel when it refuses; DDERR_GENERIC when nothing is visible, else 0.
    platform::HRESULT DrawMirrorX(CDXSurface* dest, std::int32_t x, std::int32_t y,
                                  platform::RECT srcRect);
    platform::HRESULT DrawMirrorXKeyed(CDXSurface* dest, std::int32_t x, std::int32_t y,
                                       platform::RECT srcRect);
    platform::HRESULT DrawMirrorY(CDXSurface* dest, std::int32_t x, std::int32_t y,
                                  platform::RECT srcRect);
    platform::HRESULT DrawMirrorYKeyed(CDXSurface* dest, std::int32_t x, std::int32_t y,
                                       platform::RECT srcRect);

    std::int32_t PixelWidth = 0;
    std::int32_t PixelHeight = 0;
    // The caller's string, not a copy: it must outlive the surface.
    const char* ImageName = nullptr;
    // Brings the picture named ImageName back after a loss; left by whatever loaded it.
    const ImageReloader* Reloader = nullptr;
    platform::HDC DC = nullptr;
    std::uint32_t ColorKey = 0xFFFFFFFF;
    platform::RECT SrcRect;
    platform::RECT DestRect;
    platform::HFONT Font = nullptr;
    platform::DDSURFACEDESC2 Desc;
    std::shared_ptr<platform::DisplaySurface> Surface;
    CDXScreen* Screen = nullptr;
    platform::RECT ClipRect;
    CDXPixelFormat PixelFormat;
    std::unique_ptr<std::uint8_t[]> AlphaMap;

private:
    // The rest of a lock or unlock after the display service's refusal: a lost surface is
    // restored and the call made again, a bounded number of times. A lock that ends refused
    // leaves the description cleared.
    platform::HRESULT AfterRefusedLock(platform::HRESULT refusal);
    platform::HRESULT AfterRefusedUnlock(platform::HRESULT refusal);
    platform::HRESULT DrawFast(CDXSurface* dest, std::int32_t x, std::int32_t y,
                               platform::RECT srcRect, platform::DWORD flags);
    platform::HRESULT DrawScaledWith(CDXSurface* dest, std::int32_t x, std::int32_t y,
                                     platform::RECT srcRect, float factor, platform::DWORD flags);
    platform::HRESULT DrawResizedWith(CDXSurface* dest, std::int32_t x, std::int32_t y,
                                      platform::RECT srcRect, std::uint16_t width,
                                      std::uint16_t height, platform::DWORD flags);
    // The shared walk of the software blends and shadows: clip, lock source then dest, mix,
    // unlock source then dest.
    platform::HRESULT DrawBlended(CDXSurface* dest, std::int32_t x, std::int32_t y,
                                  platform::RECT srcRect, const PixelBlend& blend);
    platform::HRESULT DrawMirrored(CDXSurface* dest, std::int32_t x, std::int32_t y,
                                   platform::RECT srcRect, bool upDown, bool keyed);
    // A draw's result: a lost surface is restored (this, the source) and the code returned.
    platform::HRESULT AfterDraw(platform::HRESULT result) {
        if (result == platform::DDERR_SURFACELOST) Restore();
        return result;
    }
    void SetWholeRects();
};

}  // namespace cdx
