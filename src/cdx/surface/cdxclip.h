// SPDX-License-Identifier: MIT
#pragma once

// Blit clipping: the part of a source rectangle and its destination position that lies
// inside both surfaces' clip rectangles, worked out in 64 bits, so that a position plus a size
// never overflows before the clip rectangle brings it back into the 32-bit range. Inline, as
// every sprite frame's draw starts here.

#include <algorithm>
#include <cstdint>

#include "cdx/surface/cdxsurface.h"
#include "platform/host/win_types.h"

namespace cdx {

struct Rect64 {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t right = 0;
    std::int64_t bottom = 0;
};

// Rejects rect (false, untouched) when it lies wholly outside clip, tested top, left, bottom,
// right; otherwise cuts each edge down to clip. An empty or inverted rect that overlaps clip
// comes back empty or inverted.
inline bool ClipRect64(Rect64& rect, const platform::RECT& clip) {
    if (rect.top >= clip.bottom || rect.left >= clip.right || rect.bottom <= clip.top ||
        rect.right <= clip.left) {
        return false;
    }
    rect.top = std::max<std::int64_t>(rect.top, clip.top);
    rect.left = std::max<std::int64_t>(rect.left, clip.left);
    rect.bottom = std::min<std::int64_t>(rect.bottom, clip.bottom);
    rect.right = std::min<std::int64_t>(rect.right, clip.right);
    return true;
}

inline bool CDXSurface::ClipToClipRect(platform::RECT& rect) const {
    Rect64 wide{rect.left, rect.top, rect.right, rect.bottom};
    if (!ClipRect64(wide, ClipRect)) return false;
    // Every edge now lies inside the clip rectangle's range or kept its own value.
    rect = platform::RECT{static_cast<std::int32_t>(wide.left), static_cast<std::int32_t>(wide.top),
                          static_cast<std::int32_t>(wide.right),
                          static_cast<std::int32_t>(wide.bottom)};
    return true;
}

inline bool CDXSurface::ClipBlit(const CDXSurface& dest, std::int32_t& x, std::int32_t& y,
                                 platform::RECT& srcRect) const {
    if (!ClipToClipRect(srcRect)) return false;
    const std::int64_t width = std::int64_t{srcRect.right} - srcRect.left;
    const std::int64_t height = std::int64_t{srcRect.bottom} - srcRect.top;
    const Rect64 placed{x, y, x + width, y + height};
    Rect64 visible = placed;
    if (!ClipRect64(visible, dest.ClipRect)) return false;
    const Rect64 cut{srcRect.left + (visible.left - placed.left),
                     srcRect.top + (visible.top - placed.top),
                     srcRect.right + (visible.right - placed.right),
                     srcRect.bottom + (visible.bottom - placed.bottom)};
    // An inverted clip rectangle (SetClipRect does not order its edges) can let an empty or
    // inverted rectangle through the tests above; nothing of it is drawn.
    if (cut.right <= cut.left || cut.bottom <= cut.top) return false;
    srcRect =
        platform::RECT{static_cast<std::int32_t>(cut.left), static_cast<std::int32_t>(cut.top),
                       static_cast<std::int32_t>(cut.right), static_cast<std::int32_t>(cut.bottom)};
    x = static_cast<std::int32_t>(visible.left);
    y = static_cast<std::int32_t>(visible.top);
    return true;
}

}  // namespace cdx
