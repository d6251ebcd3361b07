// SPDX-License-Identifier: MIT
#pragma once

// How a surface gets its picture back after the display took its memory away. The code that
// loaded the picture leaves a reloader on the surface, so the surface never calls the loaders
// itself and the picture code can build on the surface without a circle between them.

#include "platform/host/display_types.h"

namespace cdx {

class CDXSurface;

class ImageReloader {
public:
    // Copies the surface's picture into its restored memory: 0 when done, else the failure.
    virtual platform::HRESULT Reload(CDXSurface& surface) const = 0;

protected:
    ~ImageReloader() = default;
};

}  // namespace cdx
