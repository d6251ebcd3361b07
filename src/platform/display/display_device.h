// SPDX-License-Identifier: MIT
#pragma once

// The display service: one display object per device, its modes and cooperative level, the
// surfaces made through it, and the 60 Hz picture of the primary surface.

#include <memory>
#include <vector>

#include "platform/display/display_palette.h"
#include "platform/display/display_surface.h"
#include "platform/host/display_types.h"
#include "platform/host/host.h"
#include "platform/host/platform_context.h"

namespace platform {

using EnumModesCallback = HRESULT (*)(DDSURFACEDESC2* mode, void* context);
using EnumDevicesCallback = BOOL (*)(GUID* guid, const char* description, const char* driverName,
                                     void* context, void* monitor);
inline constexpr HRESULT DDENUMRET_CANCEL = 0;
inline constexpr HRESULT DDENUMRET_OK = 1;

class DisplayDevice final : public std::enable_shared_from_this<DisplayDevice>,
                            public VideoMemoryUser {
public:
    explicit DisplayDevice(Host& host);
    ~DisplayDevice();
    DisplayDevice(const DisplayDevice&) = delete;
    DisplayDevice& operator=(const DisplayDevice&) = delete;

    HRESULT GetCaps(DDCAPS* driverCaps, DDCAPS* emulationCaps);
    HRESULT SetCooperativeLevel(HWND window, DWORD flags);
    HRESULT EnumDisplayModes(DWORD flags, DDSURFACEDESC2* filter, void* context,
                             EnumModesCallback callback);
    HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                           DWORD flags);
    HRESULT RestoreDisplayMode();
    HRESULT CreateSurface(DDSURFACEDESC2* desc, std::shared_ptr<DisplaySurface>* surface);
    HRESULT CreatePalette(DWORD flags, const PALETTEENTRY* entries,
                          std::shared_ptr<DisplayPalette>* palette);
    HRESULT WaitForVerticalBlank(DWORD flags, void* event);
    HRESULT FlipToGDISurface();

    // Layer-internal: the host took the display away, so video memory is gone.
    void LoseVideoMemory() override;
    void HostGone() override {
        host_ = nullptr;
        context_ = nullptr;
    }

    // Layer-internal: presentation of the primary surface (see display_device.cpp).
    void NoteFrontWritten();
    void PresentFlip(DisplaySurface& primary, bool waitForBlank);
    Host* host() const { return host_; }
    // The host's fault hooks, or null when it injects none or is gone: read through the
    // host's context kept at hand, so that a surface lock asks without a look-up.
    FaultHooks* faults() const { return context_ != nullptr ? context_->faults : nullptr; }
    const DisplayPalette* primaryPalette() const;

private:
    DDPIXELFORMAT CurrentFormat() const;
    void PresentFront(const DisplaySurface& primary);

    Host* host_;
    // The host's context, which lives until the host goes (HostGone clears it first).
    PlatformContext* context_;
    HWND cooperativeWindow_ = nullptr;
    DWORD cooperativeFlags_ = 0;
    bool modeSet_ = false;
    DisplayMode mode_;
    std::vector<std::weak_ptr<DisplaySurface>> surfaces_;
    std::weak_ptr<DisplaySurface> primary_;
    // A direct write into the front buffer that no picture has shown yet.
    bool frontWrittenUnshown_ = false;
};

// Creates the display object of the default device (guid null).
HRESULT DirectDrawCreate(const GUID* guid, std::shared_ptr<DisplayDevice>* device);
HRESULT DirectDrawEnumerateEx(EnumDevicesCallback callback, void* context, DWORD flags);

}  // namespace platform
