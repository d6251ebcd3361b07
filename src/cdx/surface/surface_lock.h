// SPDX-License-Identifier: MIT
#pragma once

// Holds a CDXSurface locked for as long as it lives: Lock when made, Unlock on every way out.
// Routines that lock two surfaces make two and can release them in the order they need.

#include "cdx/surface/cdxsurface.h"

namespace cdx {

class SurfaceLock {
public:
    explicit SurfaceLock(CDXSurface& surface) : surface_(&surface), result_(surface.Lock()) {}
    ~SurfaceLock() { Release(); }
    SurfaceLock(const SurfaceLock&) = delete;
    SurfaceLock& operator=(const SurfaceLock&) = delete;

    bool locked() const { return result_ == platform::DD_OK && surface_ != nullptr; }
    // The lock's result: DD_OK, or the code of the refusal (nothing is then locked).
    platform::HRESULT result() const { return result_; }

    // Unlocks now rather than at the end of the scope.
    void Release() {
        if (locked()) surface_->Unlock();
        surface_ = nullptr;
    }

private:
    CDXSurface* surface_;
    platform::HRESULT result_;
};

}  // namespace cdx
