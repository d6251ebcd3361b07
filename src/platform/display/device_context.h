// SPDX-License-Identifier: MIT
#pragma once

// A device context: drawing state for text on one display surface, held between a surface's
// GetDC and ReleaseDC.

#include "platform/host/display_types.h"
#include "platform/host/win_types.h"

namespace platform {

class DisplaySurface;

struct DeviceContext {
    DisplaySurface* surface = nullptr;
    HFONT font = nullptr;    // null: the context's default font
    int backgroundMode = 2;  // OPAQUE until set
    COLORREF textColour = 0;
};

}  // namespace platform
