// SPDX-License-Identifier: MIT
#include "platform/display/display_device.h"

#include <algorithm>
#include <cstring>

#include "platform/display/pixel_format.h"
#include "platform/display/surface_limits.h"

namespace platform {

// What the screen shows, and when. The display refreshes at 60 Hz and shows one picture per
// vertical blank. A flip with wait waits for the next blank and shows the swapped picture
// there. Direct writes into the front buffer (an Unlock of the primary surface, or a copy or
// fill onto it) are shown too: each such write marks the front as written; a write that finds
// an earlier one still unshown first waits for the next blank and shows the front as it is
// then; and a flip that finds a write unshown shows that front, write included, at its blank
// in place of the swapped picture. Loops that write the front directly so run at the refresh
// rate and each of their steps reaches the screen.

DisplayDevice::DisplayDevice(Host& host) : host_(&host), context_(&ContextOf(host)) {
    RegisterVideoMemoryUser(host, this);
}

DisplayDevice::~DisplayDevice() {
    if (host_ != nullptr) UnregisterVideoMemoryUser(*host_, this);
}

HRESULT DirectDrawCreate(const GUID*, std::shared_ptr<DisplayDevice>* device) {
    if (device == nullptr) return DDERR_INVALIDPARAMS;
    Host& host = CurrentHost();
    const HRESULT refused = FaultsOf(host).DisplayCreationResult();
    if (refused != DD_OK) return refused;
    *device = std::make_shared<DisplayDevice>(host);
    return DD_OK;
}

HRESULT DirectDrawEnumerateEx(EnumDevicesCallback callback, void* context, DWORD) {
    if (callback == nullptr) return DDERR_INVALIDPARAMS;
    // One device: the default display driver, which has no GUID of its own.
    callback(nullptr, "Primary Display Driver", "display", context, nullptr);
    return DD_OK;
}

HRESULT DisplayDevice::GetCaps(DDCAPS* driverCaps, DDCAPS* emulationCaps) {
    for (DDCAPS* caps : {driverCaps, emulationCaps}) {
        if (caps == nullptr) continue;
        if (caps->dwSize != sizeof(DDCAPS)) return DDERR_INVALIDPARAMS;
        std::memset(caps->data, 0, sizeof(caps->data));
    }
    return DD_OK;
}

HRESULT DisplayDevice::SetCooperativeLevel(HWND window, DWORD flags) {
    if (host_ == nullptr) return DDERR_NOTINITIALIZED;
    if ((flags & DDSCL_EXCLUSIVE) && window == nullptr) return DDERR_INVALIDPARAMS;
    const HRESULT refused = FaultsOf(*host_).CooperativeLevelResult();
    if (refused != DD_OK) return refused;
    cooperativeWindow_ = window;
    cooperativeFlags_ = flags;
    return DD_OK;
}

HRESULT DisplayDevice::EnumDisplayModes(DWORD, DDSURFACEDESC2*, void* context,
                                        EnumModesCallback callback) {
    if (callback == nullptr) return DDERR_INVALIDPARAMS;
    if (host_ == nullptr) return DDERR_NOTINITIALIZED;
    for (const DisplayMode& mode : host_->DisplayModes()) {
        DDSURFACEDESC2 desc;
        desc.dwSize = kSurfaceDescSize;
        desc.dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        desc.dwWidth = static_cast<DWORD>(mode.width);
        desc.dwHeight = static_cast<DWORD>(mode.height);
        desc.ddpfPixelFormat = PixelFormatForDepth(mode.bitsPerPixel);
        // A mode is named by its depth, which sets 5-5-5 modes (15) apart from 5-6-5 ones.
        desc.ddpfPixelFormat.dwRGBBitCount = static_cast<DWORD>(mode.bitsPerPixel);
        if (callback(&desc, context) == DDENUMRET_CANCEL) break;
    }
    return DD_OK;
}

HRESULT DisplayDevice::SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD, DWORD) {
    if (host_ == nullptr) return DDERR_NOTINITIALIZED;
    if ((cooperativeFlags_ & DDSCL_EXCLUSIVE) == 0) return DDERR_NOEXCLUSIVEMODE;
    const auto modes = host_->DisplayModes();
    const DisplayMode wanted{static_cast<int>(width), static_cast<int>(height),
                             static_cast<int>(bitsPerPixel)};
    const bool offered = std::any_of(modes.begin(), modes.end(), [&](const DisplayMode& m) {
        return m.width == wanted.width && m.height == wanted.height &&
               m.bitsPerPixel == wanted.bitsPerPixel;
    });
    if (!offered) return DDERR_INVALIDMODE;
    if (!host_->SetDisplayMode(wanted)) return DDERR_UNSUPPORTEDMODE;
    mode_ = wanted;
    modeSet_ = true;
    return DD_OK;
}

HRESULT DisplayDevice::RestoreDisplayMode() {
    if (host_ != nullptr && modeSet_) host_->RestoreDisplayMode();
    modeSet_ = false;
    return DD_OK;
}

DDPIXELFORMAT DisplayDevice::CurrentFormat() const {
    // Before a mode is set, surfaces take the desktop's format: 32-bit.
    return PixelFormatForDepth(modeSet_ ? mode_.bitsPerPixel : 32);
}

HRESULT DisplayDevice::CreateSurface(DDSURFACEDESC2* desc,
                                     std::shared_ptr<DisplaySurface>* surface) {
    if (desc == nullptr || surface == nullptr) return DDERR_INVALIDPARAMS;
    if (host_ == nullptr) return DDERR_NOTINITIALIZED;
    const DWORD caps = (desc->dwFlags & DDSD_CAPS) ? desc->ddsCaps.dwCaps : 0;
    const bool primary = (caps & DDSCAPS_PRIMARYSURFACE) != 0;

    SurfaceRequest request;
    request.caps = caps;
    if (primary) {
        if (!modeSet_ && (cooperativeFlags_ & DDSCL_EXCLUSIVE)) return DDERR_NOEXCLUSIVEMODE;
        if (!primary_.expired()) return DDERR_PRIMARYSURFACEALREADYEXISTS;
        request.width = modeSet_ ? mode_.width : host_->DesktopSize().x;
        request.height = modeSet_ ? mode_.height : host_->DesktopSize().y;
        if (desc->dwFlags & DDSD_BACKBUFFERCOUNT) {
            request.backBufferCount = static_cast<int>(desc->dwBackBufferCount);
        }
        if (request.backBufferCount > 0 && (cooperativeFlags_ & DDSCL_EXCLUSIVE) == 0) {
            return DDERR_NOEXCLUSIVEMODE;
        }
        if (request.backBufferCount > 3) return DDERR_INVALIDPARAMS;
    } else {
        if ((desc->dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT)) {
            return DDERR_INVALIDPARAMS;
        }
        request.width = static_cast<int>(desc->dwWidth);
        request.height = static_cast<int>(desc->dwHeight);
        if (request.width <= 0 || request.height <= 0 || request.width > kLargestSurfaceSide ||
            request.height > kLargestSurfaceSide) {
            return DDERR_INVALIDPARAMS;
        }
    }
    const HRESULT refused = FaultsOf(*host_).SurfaceCreationResult(request);
    if (refused != DD_OK) return refused;

    DisplaySurface::Shape shape;
    shape.width = request.width;
    shape.height = request.height;
    shape.format =
        (!primary && (desc->dwFlags & DDSD_PIXELFORMAT)) ? desc->ddpfPixelFormat : CurrentFormat();
    if (BytesPerPixel(shape.format.dwRGBBitCount) < 1 ||
        BytesPerPixel(shape.format.dwRGBBitCount) > 4) {
        return DDERR_INVALIDPIXELFORMAT;
    }
    shape.rowPadding = FaultsOf(*host_).RowPadding();
    // Memory of the service's choosing is video memory on this platform, so such surfaces
    // are lost with the display like every other surface in video memory.
    shape.caps = caps;
    if ((caps & DDSCAPS_SYSTEMMEMORY) == 0) shape.caps |= DDSCAPS_VIDEOMEMORY;

    auto made = std::make_shared<DisplaySurface>(shared_from_this(), shape);
    surfaces_.push_back(made);
    if (primary) {
        std::vector<std::shared_ptr<DisplaySurface>> backBuffers;
        for (int i = 0; i < request.backBufferCount; ++i) {
            DisplaySurface::Shape backShape = shape;
            backShape.caps =
                (shape.caps & ~(DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP)) | DDSCAPS_BACKBUFFER;
            backBuffers.push_back(std::make_shared<DisplaySurface>(shared_from_this(), backShape));
            surfaces_.push_back(backBuffers.back());
        }
        made->AttachBackBuffers(std::move(backBuffers));
        primary_ = made;
        frontWrittenUnshown_ = false;
    }
    std::erase_if(surfaces_, [](const auto& weak) { return weak.expired(); });
    *surface = std::move(made);
    return DD_OK;
}

HRESULT DisplayDevice::CreatePalette(DWORD, const PALETTEENTRY* entries,
                                     std::shared_ptr<DisplayPalette>* palette) {
    if (palette == nullptr) return DDERR_INVALIDPARAMS;
    *palette = std::make_shared<DisplayPalette>(entries);
    return DD_OK;
}

HRESULT DisplayDevice::WaitForVerticalBlank(DWORD, void*) {
    if (host_ == nullptr) return DDERR_NOTINITIALIZED;
    host_->WaitForVerticalBlank();
    // The display shows the front buffer at every refresh: a write into it that is still
    // unshown is seen at this blank.
    if (auto primary = primary_.lock(); frontWrittenUnshown_ && primary && !primary->IsLost()) {
        PresentFront(*primary);
        frontWrittenUnshown_ = false;
    }
    return DD_OK;
}

HRESULT DisplayDevice::FlipToGDISurface() {
    // The front buffer is what the window system draws over: show it as it is now.
    if (auto primary = primary_.lock(); primary && host_ != nullptr && !primary->IsLost()) {
        PresentFront(*primary);
    }
    return DD_OK;
}

const DisplayPalette* DisplayDevice::primaryPalette() const {
    auto primary = primary_.lock();
    return primary ? primary->palette() : nullptr;
}

void DisplayDevice::LoseVideoMemory() {
    for (const auto& weak : surfaces_) {
        if (auto surface = weak.lock(); surface && surface->inVideoMemory()) surface->MarkLost();
    }
    frontWrittenUnshown_ = false;
}

void DisplayDevice::PresentFront(const DisplaySurface& primary) {
    PresentedPicture picture;
    picture.pixels = primary.pixels();
    picture.width = primary.width();
    picture.height = primary.height();
    picture.pitch = primary.pitch();
    picture.format = primary.format();
    picture.palette = primary.palette() != nullptr ? primary.palette()->Entries() : nullptr;
    host_->Present(picture);
}

void DisplayDevice::NoteFrontWritten() {
    auto primary = primary_.lock();
    if (!primary || host_ == nullptr) return;
    if (frontWrittenUnshown_) {
        host_->WaitForVerticalBlank();
        PresentFront(*primary);
    }
    frontWrittenUnshown_ = true;
}

void DisplayDevice::PresentFlip(DisplaySurface& primary, bool waitForBlank) {
    if (host_ == nullptr) return;
    if (waitForBlank) host_->WaitForVerticalBlank();
    // The display may be taken away while the flip waits: then nothing is shown.
    if (primary.IsLost() != DD_OK) return;
    if (frontWrittenUnshown_) {
        PresentFront(primary);
        primary.RotateChain();
    } else {
        primary.RotateChain();
        PresentFront(primary);
    }
    frontWrittenUnshown_ = false;
}

}  // namespace platform
