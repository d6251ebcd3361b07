// SPDX-License-Identifier: MIT
#include "platform/display/display_surface.h"

#include <algorithm>
#include <cstring>

#include "platform/display/display_device.h"
#include "platform/display/pixel_blits.h"
#include "platform/display/pixel_format.h"

namespace platform {
namespace {

// What restored memory holds: its contents are undefined for the program, and a recognisable
// pattern shows any pixel that nobody reloaded. The screen's own buffers come
// back black instead, so a frame that writes straight into the front after a loss never
// shows the pattern.
constexpr std::uint8_t kRestoredMemoryByte = 0xCD;
constexpr std::uint8_t kRestoredScreenByte = 0x00;

bool ValidRect(const RECT& rect) {
    return rect.left < rect.right && rect.top < rect.bottom;
}

RECT WholeRect(const DisplaySurface& surface) {
    return RECT{0, 0, surface.width(), surface.height()};
}

bool RectsOverlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

DisplaySurface::DisplaySurface(std::shared_ptr<DisplayDevice> device, const Shape& shape)
    : device_(std::move(device)),
      width_(shape.width),
      height_(shape.height),
      bytesPerPixel_(BytesPerPixel(shape.format.dwRGBBitCount)),
      pitch_(shape.width * bytesPerPixel_ + shape.rowPadding),
      format_(shape.format),
      caps_(shape.caps),
      memory_(static_cast<std::size_t>(pitch_) * static_cast<std::size_t>(shape.height)) {}

bool DisplaySurface::ContainsRect(const RECT& rect) const {
    return ValidRect(rect) && rect.left >= 0 && rect.top >= 0 && rect.right <= width_ &&
           rect.bottom <= height_;
}

bool DisplaySurface::ChainBusy() const {
    if (locked_) return true;
    return std::any_of(backBuffers_.begin(), backBuffers_.end(),
                       [](const auto& back) { return back->locked_; });
}

void DisplaySurface::AttachBackBuffers(std::vector<std::shared_ptr<DisplaySurface>> backBuffers) {
    backBuffers_ = std::move(backBuffers);
    for (auto& back : backBuffers_) back->chainFront_ = weak_from_this();
}

void DisplaySurface::NoteFrontWritten() {
    device_->NoteFrontWritten();
}

void DisplaySurface::MarkLost() {
    lost_ = true;
    ForgetOpaqueRuns();
}

HRESULT DisplaySurface::Lock(const RECT* rect, DDSURFACEDESC2* desc, DWORD flags, void*) {
    if (rect != nullptr || desc == nullptr) return DDERR_INVALIDPARAMS;
    if (lost_) return DDERR_SURFACELOST;
    if (locked_) return DDERR_SURFACEBUSY;
    if (deviceContext_) return DDERR_DCALREADYCREATED;
    if (FaultHooks* faults = device_->faults()) {
        const HRESULT injected = faults->LockResult();
        if (injected == DDERR_WASSTILLDRAWING && (flags & DDLOCK_WAIT) == 0) return injected;
        if (injected != DD_OK && injected != DDERR_WASSTILLDRAWING) return injected;
    }
    locked_ = true;
    ForgetOpaqueRuns();
    GetSurfaceDesc(desc);
    desc->lpSurface = memory_.data();
    return DD_OK;
}

HRESULT DisplaySurface::Unlock(const RECT*) {
    if (!locked_) return DDERR_NOTLOCKED;
    locked_ = false;
    // Memory lost while locked stays addressable here; the next lock reports the loss.
    if (!lost_) AfterWrite();
    return DD_OK;
}

HRESULT DisplaySurface::Blt(const RECT* destRect, DisplaySurface* source, const RECT* sourceRect,
                            DWORD flags, const DDBLTFX* effects) {
    if (lost_ || (source != nullptr && source->lost_)) return DDERR_SURFACELOST;
    if (locked_ || (source != nullptr && source->locked_)) return DDERR_SURFACEBUSY;
    const RECT to = destRect != nullptr ? *destRect : WholeRect(*this);
    if (!ContainsRect(to)) return DDERR_INVALIDRECT;
    const int toWidth = to.right - to.left;
    const int toHeight = to.bottom - to.top;
    PixelSpan dest{
        memory_.data() + static_cast<std::ptrdiff_t>(to.top) * pitch_ + to.left * bytesPerPixel_,
        pitch_};

    if (flags & DDBLT_COLORFILL) {
        if (effects == nullptr) return DDERR_INVALIDPARAMS;
        FillPixels(dest, toWidth, toHeight, bytesPerPixel_, effects->dwFillColor);
        AfterWrite();
        return DD_OK;
    }

    if (source == nullptr) return DDERR_INVALIDPARAMS;
    if (source->format_.dwRGBBitCount != format_.dwRGBBitCount) return DDERR_INVALIDPIXELFORMAT;
    // The caller's rectangle is read in place: its fields were just written one by one, and a
    // copy of the whole would wait for those writes to reach memory.
    const RECT whole = WholeRect(*source);
    const RECT& from = sourceRect != nullptr ? *sourceRect : whole;
    if (!source->ContainsRect(from)) return DDERR_INVALIDRECT;

    StretchOptions options;
    if ((flags & DDBLT_KEYSRC) && source->colorKey_) options.key = *source->colorKey_;
    if ((flags & DDBLT_DDFX) && effects != nullptr) {
        options.mirrorLeftRight = (effects->dwDDFX & DDBLTFX_MIRRORLEFTRIGHT) != 0;
        options.mirrorUpDown = (effects->dwDDFX & DDBLTFX_MIRRORUPDOWN) != 0;
    }
    if (options.mirrorLeftRight || options.mirrorUpDown) {
        if (Host* host = device_->host()) {
            const HRESULT injected = FaultsOf(*host).MirroredBltResult();
            if (injected != DD_OK) return injected;
        }
    }

    // A copy within one surface whose rectangles overlap reads from a snapshot of the source.
    std::vector<std::uint8_t> snapshot;
    ConstPixelSpan fromSpan{source->memory_.data() +
                                static_cast<std::ptrdiff_t>(from.top) * source->pitch_ +
                                from.left * bytesPerPixel_,
                            source->pitch_};
    if (source == this && RectsOverlap(from, to)) {
        snapshot.assign(memory_.begin(), memory_.end());
        fromSpan.first = snapshot.data() + (fromSpan.first - memory_.data());
    }

    const int fromWidth = from.right - from.left;
    const int fromHeight = from.bottom - from.top;
    const bool sameSize = fromWidth == toWidth && fromHeight == toHeight;
    if (sameSize && !options.mirrorLeftRight && !options.mirrorUpDown) {
        if (options.key) {
            CopyKeyedFrom(*source, from, fromSpan, dest);
        } else {
            CopyPixels(fromSpan, dest, toWidth, toHeight, bytesPerPixel_);
        }
    } else {
        StretchPixels(fromSpan, fromWidth, fromHeight, dest, toWidth, toHeight, bytesPerPixel_,
                      options);
    }
    AfterWrite();
    return DD_OK;
}

HRESULT DisplaySurface::BltFast(int x, int y, DisplaySurface* source, const RECT* sourceRect,
                                DWORD flags) {
    if (source == nullptr) return DDERR_INVALIDPARAMS;
    if (lost_ || source->lost_) return DDERR_SURFACELOST;
    if (locked_ || source->locked_) return DDERR_SURFACEBUSY;
    if (source->format_.dwRGBBitCount != format_.dwRGBBitCount) return DDERR_INVALIDPIXELFORMAT;
    // The caller's rectangle is read in place: its fields were just written one by one, and a
    // copy of the whole would wait for those writes to reach memory.
    const RECT whole = WholeRect(*source);
    const RECT& from = sourceRect != nullptr ? *sourceRect : whole;
    if (!source->ContainsRect(from)) return DDERR_INVALIDRECT;
    const int width = from.right - from.left;
    const int height = from.bottom - from.top;
    // The fast copy does not clip: a destination outside the surface is refused, never written.
    if (x < 0 || y < 0 || x > width_ - width || y > height_ - height) return DDERR_INVALIDRECT;

    std::vector<std::uint8_t> snapshot;
    ConstPixelSpan fromSpan{source->memory_.data() +
                                static_cast<std::ptrdiff_t>(from.top) * source->pitch_ +
                                from.left * bytesPerPixel_,
                            source->pitch_};
    if (source == this && RectsOverlap(from, RECT{x, y, x + width, y + height})) {
        snapshot.assign(memory_.begin(), memory_.end());
        fromSpan.first = snapshot.data() + (fromSpan.first - memory_.data());
    }
    PixelSpan dest{memory_.data() + static_cast<std::ptrdiff_t>(y) * pitch_ + x * bytesPerPixel_,
                   pitch_};
    if ((flags & DDBLTFAST_SRCCOLORKEY) && source->colorKey_) {
        CopyKeyedFrom(*source, from, fromSpan, dest);
    } else {
        CopyPixels(fromSpan, dest, width, height, bytesPerPixel_);
    }
    AfterWrite();
    return DD_OK;
}

HRESULT DisplaySurface::Flip(DisplaySurface*, DWORD flags) {
    if (!isPrimary() || backBuffers_.empty()) return DDERR_NOTFLIPPABLE;
    if (lost_) return DDERR_SURFACELOST;
    if (ChainBusy()) return DDERR_SURFACEBUSY;
    const bool wait = (flags & DDFLIP_NOVSYNC) == 0;
    device_->PresentFlip(*this, wait);
    return lost_ ? DDERR_SURFACELOST : DD_OK;
}

void DisplaySurface::RotateChain() {
    // The front takes the first back buffer's memory, each back buffer the next one's, and the
    // last back buffer what was the front.
    ForgetOpaqueRuns();
    for (auto& back : backBuffers_) {
        memory_.swap(back->memory_);
        back->ForgetOpaqueRuns();
    }
}

HRESULT DisplaySurface::GetAttachedSurface(const DDSCAPS2* caps,
                                           std::shared_ptr<DisplaySurface>* attached) {
    if (caps == nullptr || attached == nullptr) return DDERR_INVALIDPARAMS;
    if ((caps->dwCaps & DDSCAPS_BACKBUFFER) == 0 || backBuffers_.empty()) return DDERR_NOTFOUND;
    *attached = backBuffers_.front();
    return DD_OK;
}

HRESULT DisplaySurface::GetSurfaceDesc(DDSURFACEDESC2* desc) const {
    if (desc == nullptr) return DDERR_INVALIDPARAMS;
    ResetSurfaceDesc(*desc);
    desc->dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc->dwWidth = static_cast<DWORD>(width_);
    desc->dwHeight = static_cast<DWORD>(height_);
    desc->lPitch = pitch_;
    desc->ddpfPixelFormat = format_;
    desc->ddsCaps.dwCaps = caps_;
    desc->dwBackBufferCount = static_cast<DWORD>(backBuffers_.size());
    return DD_OK;
}

HRESULT DisplaySurface::GetPixelFormat(DDPIXELFORMAT* format) const {
    if (format == nullptr) return DDERR_INVALIDPARAMS;
    *format = format_;
    return DD_OK;
}

HRESULT DisplaySurface::SetColorKey(DWORD flags, const DDCOLORKEY* key) {
    if ((flags & DDCKEY_SRCBLT) == 0) return DDERR_UNSUPPORTED;
    if (key == nullptr) {
        colorKey_.reset();
        ForgetOpaqueRuns();
        return DD_OK;
    }
    colorKey_ = key->dwColorSpaceLowValue & PixelValueMask(bytesPerPixel_);
    ForgetOpaqueRuns();
    return DD_OK;
}

HRESULT DisplaySurface::GetColorKey(DWORD flags, DDCOLORKEY* key) const {
    if ((flags & DDCKEY_SRCBLT) == 0 || key == nullptr) return DDERR_INVALIDPARAMS;
    if (!colorKey_) return DDERR_NOCOLORKEY;
    key->dwColorSpaceLowValue = *colorKey_;
    key->dwColorSpaceHighValue = *colorKey_;
    return DD_OK;
}

HRESULT DisplaySurface::IsLost() const {
    return lost_ ? DDERR_SURFACELOST : DD_OK;
}

HRESULT DisplaySurface::Restore() {
    if (auto front = chainFront_.lock()) return front->Restore();
    if (lost_) {
        lost_ = false;
        ForgetOpaqueRuns();
        std::fill(memory_.begin(), memory_.end(),
                  isPrimary() ? kRestoredScreenByte : kRestoredMemoryByte);
    }
    for (auto& back : backBuffers_) {
        if (back->lost_) {
            back->lost_ = false;
            back->ForgetOpaqueRuns();
            std::fill(back->memory_.begin(), back->memory_.end(), kRestoredScreenByte);
        }
    }
    return DD_OK;
}

HRESULT DisplaySurface::GetDC(HDC* context) {
    if (context == nullptr) return DDERR_INVALIDPARAMS;
    if (lost_) return DDERR_SURFACELOST;
    if (locked_) return DDERR_SURFACEBUSY;
    if (deviceContext_) return DDERR_DCALREADYCREATED;
    ForgetOpaqueRuns();
    deviceContext_ = std::make_unique<DeviceContext>();
    deviceContext_->surface = this;
    *context = deviceContext_.get();
    return DD_OK;
}

HRESULT DisplaySurface::ReleaseDC(HDC context) {
    if (!deviceContext_ || context != deviceContext_.get()) return DDERR_NODC;
    deviceContext_.reset();
    if (!lost_) AfterWrite();
    return DD_OK;
}

const OpaqueRuns* DisplaySurface::BuildKeyedRuns() {
    if (!colorKey_ || lost_ || locked_ || deviceContext_) return nullptr;
    opaqueRuns_ = OpaqueRuns::Build(ConstPixelSpan{memory_.data(), pitch_}, width_, height_,
                                    bytesPerPixel_, *colorKey_, PixelValueMask(bytesPerPixel_));
    return opaqueRuns_ ? &*opaqueRuns_ : nullptr;
}

const OpaqueRuns* DisplaySurface::RunsWorthWalking() {
    // Sprite frames average about eleven pixels a run, where vector compares win; a run of
    // this many pixels or more is copied faster whole.
    constexpr int kLongRun = 64;
    if (bytesPerPixel_ == 3) return KeyedRuns();
    if (keyedCopiesSinceWrite_ < 2) ++keyedCopiesSinceWrite_;
    if (keyedCopiesSinceWrite_ < 2) return nullptr;
    const OpaqueRuns* runs = KeyedRuns();
    return runs != nullptr && runs->averageRunLength() >= kLongRun ? runs : nullptr;
}

void DisplaySurface::CopyKeyedFrom(DisplaySurface& source, const RECT& from,
                                   ConstPixelSpan fromSpan, PixelSpan dest) {
    const int width = from.right - from.left;
    const int height = from.bottom - from.top;
    if (const OpaqueRuns* runs = source.RunsWorthWalking()) {
        if (CopyOpaqueRuns(*runs, RunWindow{from.left, from.top, width, height}, fromSpan, dest)) {
            return;
        }
    }
    CopyPixelsKeyed(fromSpan, dest, width, height, bytesPerPixel_, *source.colorKey_);
}

const DisplayPalette* DisplaySurface::effectivePalette() const {
    if (palette_) return palette_.get();
    if (auto front = chainFront_.lock()) return front->palette();
    return device_->primaryPalette();
}

HRESULT DisplaySurface::SetPalette(std::shared_ptr<DisplayPalette> palette) {
    palette_ = std::move(palette);
    return DD_OK;
}

}  // namespace platform
