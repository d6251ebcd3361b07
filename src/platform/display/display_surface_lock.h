// SPDX-License-Identifier: MIT
#pragma once

// Holds a display surface locked for as long as it lives, with the description Lock filled
// in: Unlock on every way out.

#include "platform/display/display_surface.h"

namespace platform {

class DisplaySurfaceLock {
public:
    DisplaySurfaceLock(DisplaySurface& surface, DWORD flags) : surface_(&surface) {
        desc_.dwSize = kSurfaceDescSize;
        result_ = surface.Lock(nullptr, &desc_, flags, nullptr);
    }
    ~DisplaySurfaceLock() {
        if (locked()) surface_->Unlock(nullptr);
    }
    DisplaySurfaceLock(const DisplaySurfaceLock&) = delete;
    DisplaySurfaceLock& operator=(const DisplaySurfaceLock&) = delete;

    bool locked() const { return result_ == DD_OK; }
    HRESULT result() const { return result_; }
    const DDSURFACEDESC2& desc() const { return desc_; }
    std::uint8_t* pixels() const { return static_cast<std::uint8_t*>(desc_.lpSurface); }

private:
    DisplaySurface* surface_;
    DDSURFACEDESC2 desc_;
    HRESULT result_;
};

}  // namespace platform
