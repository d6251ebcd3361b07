// SPDX-License-Identifier: MIT
#pragma once

// A display surface: a rectangle of pixels in plain memory owned by this layer, with its
// operations: lock, copies (plain, keyed, stretched, mirrored), colour fills, colour keys,
// palettes and loss. Rows may be padded: every user goes by the pitch that Lock reports.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/display/device_context.h"
#include "platform/display/opaque_runs.h"
#include "platform/display/pixel_memory.h"
#include "platform/host/display_types.h"

namespace platform {

class DisplayDevice;
class DisplayPalette;

class DisplaySurface : public std::enable_shared_from_this<DisplaySurface> {
public:
    struct Shape {
        int width = 0;
        int height = 0;
        DDPIXELFORMAT format;
        DWORD caps = 0;
        int rowPadding = 0;
    };
    DisplaySurface(std::shared_ptr<DisplayDevice> device, const Shape& shape);
    DisplaySurface(const DisplaySurface&) = delete;
    DisplaySurface& operator=(const DisplaySurface&) = delete;

    // Only the whole surface is ever locked: rect must be null.
    HRESULT Lock(const RECT* rect, DDSURFACEDESC2* desc, DWORD flags, void* event);
    HRESULT Unlock(const RECT* rect);
    HRESULT Blt(const RECT* destRect, DisplaySurface* source, const RECT* sourceRect, DWORD flags,
                const DDBLTFX* effects);
    HRESULT BltFast(int x, int y, DisplaySurface* source, const RECT* sourceRect, DWORD flags);
    HRESULT Flip(DisplaySurface* target, DWORD flags);
    HRESULT GetAttachedSurface(const DDSCAPS2* caps, std::shared_ptr<DisplaySurface>* attached);
    HRESULT GetSurfaceDesc(DDSURFACEDESC2* desc) const;
    HRESULT GetPixelFormat(DDPIXELFORMAT* format) const;
    HRESULT SetColorKey(DWORD flags, const DDCOLORKEY* key);
    HRESULT GetColorKey(DWORD flags, DDCOLORKEY* key) const;
    HRESULT IsLost() const;
    HRESULT Restore();
    HRESULT SetPalette(std::shared_ptr<DisplayPalette> palette);
    // A device context for text. While it is held the surface cannot be locked or given a
    // second one; releasing it counts as a write of the surface.
    HRESULT GetDC(HDC* context);
    HRESULT ReleaseDC(HDC context);

    // Layer-internal.
    int width() const { return width_; }
    int height() const { return height_; }
    int pitch() const { return pitch_; }
    int bytesPerPixel() const { return bytesPerPixel_; }
    const DDPIXELFORMAT& format() const { return format_; }
    DWORD caps() const { return caps_; }
    const std::uint8_t* pixels() const { return memory_.data(); }
    std::uint8_t* pixels() { return memory_.data(); }
    const DisplayPalette* palette() const { return palette_.get(); }
    bool isPrimary() const { return (caps_ & DDSCAPS_PRIMARYSURFACE) != 0; }
    bool inVideoMemory() const { return (caps_ & DDSCAPS_VIDEOMEMORY) != 0; }
    bool isLocked() const { return locked_; }
    // The palette that 8-bit pixels of this surface mean: its own, else the primary's.
    const DisplayPalette* effectivePalette() const;
    void MarkLost();
    // The runs of the whole surface's pixels that differ from the source colour key: built
    // from the pixels as they are on the first call after any write into the surface (a copy
    // or fill into it, a lock, a device context, a restore, a flip or a new key) and kept
    // until the next one. Null without a key, while the surface is locked, holds a device
    // context or is lost, and when it is wider than a table holds. Inline while the table is
    // kept: every write, lock, device context, loss and new key drops it.
    const OpaqueRuns* KeyedRuns() { return opaqueRuns_ ? &*opaqueRuns_ : BuildKeyedRuns(); }
    // Moves each buffer of the flipping chain one place towards the front.
    void RotateChain();
    // The primary surface's back buffers, front to back of the flipping chain.
    void AttachBackBuffers(std::vector<std::shared_ptr<DisplaySurface>> backBuffers);

private:
    bool ChainBusy() const;
    bool ContainsRect(const RECT& rect) const;
    // Inline, as every draw into the surface ends here.
    void AfterWrite() {
        ForgetOpaqueRuns();
        if (isPrimary()) NoteFrontWritten();
    }
    void NoteFrontWritten();
    const OpaqueRuns* BuildKeyedRuns();
    // A keyed copy of the rectangle from of source (whose pixels fromSpan points at) to dest:
    // along the source's opaque runs where they pay, else a vector or a pixel at a time.
    void CopyKeyedFrom(DisplaySurface& source, const RECT& from, ConstPixelSpan fromSpan,
                       PixelSpan dest);
    // The source's runs when a keyed copy from it should walk them: always for three-byte
    // pixels, which have no vector compare; for other sizes only when the runs are long (a
    // panel with a few holes: each run is one block copy) and from the second keyed copy after
    // a write on, so that a surface written between its keyed copies never builds a table.
    const OpaqueRuns* RunsWorthWalking();
    void ForgetOpaqueRuns() {
        opaqueRuns_.reset();
        keyedCopiesSinceWrite_ = 0;
    }

    std::shared_ptr<DisplayDevice> device_;
    int width_;
    int height_;
    int bytesPerPixel_;
    int pitch_;
    DDPIXELFORMAT format_;
    DWORD caps_;
    PixelMemory memory_;
    std::optional<DWORD> colorKey_;
    std::shared_ptr<DisplayPalette> palette_;
    bool lost_ = false;
    bool locked_ = false;
    // The runs for colorKey_, dropped at every write.
    std::optional<OpaqueRuns> opaqueRuns_;
    int keyedCopiesSinceWrite_ = 0;
    std::vector<std::shared_ptr<DisplaySurface>> backBuffers_;
    // The primary of a back buffer's chain; a back buffer's restore restores the whole chain.
    std::weak_ptr<DisplaySurface> chainFront_;
    std::unique_ptr<DeviceContext> deviceContext_;
};

}  // namespace platform
